// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace kuvar::charts {

class THistoryFile;

// One piece of a chart line's history: a fixed number of doubles, mapped from the run's history
// file or, where the file could not grow, in memory of its own. When the last holder lets go,
// the mapping goes and its room in the file is given back.
class THistoryChunk {
public:
    ~THistoryChunk();
    THistoryChunk(const THistoryChunk&) = delete;
    THistoryChunk& operator=(const THistoryChunk&) = delete;

    double* Data() const { return data_; }
    bool InFile() const { return offset_ >= 0; }

private:
    friend class THistoryFile;
    THistoryChunk(std::shared_ptr<THistoryFile> file, double* data, qint64 offset);

    std::shared_ptr<THistoryFile> file_;
    double* data_;
    qint64 offset_; // in the file; -1 in memory
};

// The history file of the run: the charts' points live here instead of in the program's own
// memory, so that a day of streaming costs disk (the cache folder) and not resident memory.
// The file is unlinked as soon as it is made, so that it goes with the program however it ends;
// its room is taken chunk by chunk before use (a full disk is known before a byte is stored).
// Where the file cannot be made or grow, chunks are kept in memory and the first such failure is
// reported once through the application's error line. Chunks are made on the UI thread; the last
// holder of one may let go of it on any thread.
class THistoryFile : public std::enable_shared_from_this<THistoryFile> {
public:
    static constexpr std::size_t kDefaultChunkValues = std::size_t(1) << 20;

    // The run's file in the cache folder (QStandardPaths::CacheLocation), made on first use.
    static std::shared_ptr<THistoryFile> Shared();
    // A file of its own in folder; chunkValues is a power of two.
    static std::shared_ptr<THistoryFile> Open(const QString& folder,
                                              std::size_t chunkValues = kDefaultChunkValues);
    ~THistoryFile();
    THistoryFile(const THistoryFile&) = delete;
    THistoryFile& operator=(const THistoryFile&) = delete;

    std::size_t ChunkValues() const { return chunkValues_; }
    std::shared_ptr<THistoryChunk> NewChunk();

    // What the chunks take now: bytes of the file in use, chunks in memory.
    qint64 FileBytesInUse() const;
    int MemoryChunks() const;

private:
    THistoryFile(const QString& folder, std::size_t chunkValues);
    friend class THistoryChunk;
    void Release(double* data, qint64 offset);
    qint64 TakeRoom(QString& why);
    void ReportOnce(const QString& why);

    QString folder_;
    std::size_t chunkValues_;
    std::size_t chunkBytes_;
    int fd_ = -1;
    QString openFailure_;
    bool reported_ = false;
    mutable std::mutex mutex_; // the fields below
    std::vector<qint64> free_; // offsets of given-back chunks
    qint64 end_ = 0;
    qint64 inUse_ = 0;
    int memoryChunks_ = 0;
};

} // namespace kuvar::charts
