// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/safe_file.h"
#include "base/time_text.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kuvar {

// One line of a recording, as the UI thread hands it over; the worker writes it out.
struct TRecordRow {
    // Lost: rows the queue could not take; raw holds their count.
    enum class TKind : std::uint8_t { Frame, Reply, Sent, Lost };
    TKind kind = TKind::Reply;
    bool gy = false; // the page: KUVAR-GY, else KUVAR-AC
    qint64 unixMs = 0;
    // Frames only: the values as the displays hold them, with their decimals and unit.
    std::array<double, 3> values{};
    int precision = 1;
    const char* unit = "";
    std::string raw; // the reply's bytes as received, or the frame's as sent
};

// The file of one recording: rows go into a bounded queue on the UI thread, which never waits on
// the disk; a worker thread writes them as CSV every kWriteEveryMs and makes them durable
// (fdatasync) at least once a second, so that a crash or a power cut loses at most the last
// second. A full queue drops the row and counts it; the file then gets a "lost" row with the
// count where they went missing. A failing write (a full disk, a removed stick) ends the worker:
// the file keeps every whole line written before, and Failure() tells why.
class TRecordingFile {
public:
    static constexpr int kWriteEveryMs = 100;
    static constexpr int kSyncEveryMs = 1000;
    // 77 s of the fastest line (850 frames a second) while the disk stands still.
    static constexpr std::size_t kCapacity = 1 << 16;

    // Creates the file (throws EFileError) and writes header, a text of whole lines, at once.
    TRecordingFile(const QString& path, const QByteArray& header, std::size_t capacity = kCapacity);
    // Finishes and waits for the worker: the file ends with the last row handed over.
    ~TRecordingFile();
    TRecordingFile(const TRecordingFile&) = delete;
    TRecordingFile& operator=(const TRecordingFile&) = delete;

    // False when the queue was full: the row is lost (and counted).
    bool Push(TRecordRow&& row);
    // No more rows: the worker writes what is queued, syncs and closes, without being waited for.
    void Finish();

    const QString& Path() const { return path_; }
    // The worker has ended: finished, or stopped by a failure.
    bool Done() const { return done_; }
    // Why the file stopped taking rows ("No space left on device"), or empty.
    QString Failure() const;
    qint64 RowsLost() const { return lostTotal_; }

    // One row as the file holds it, with its line end (also for tests).
    static void AppendRow(const TRecordRow& row, QByteArray& out, TIsoTimeText& times);
    // The CSV field of a reply's bytes: quoted when it holds a comma, a quote, CR, LF or another
    // control byte, a quote inside written twice; the bytes themselves as they are.
    static void AppendRaw(const std::string& raw, QByteArray& out);

private:
    void Run();

    QString path_;
    std::size_t capacity_;
    std::unique_ptr<TStreamFileWriter> file_;
    mutable std::mutex mutex_; // the fields up to failure_
    std::condition_variable wake_;
    std::vector<TRecordRow> pending_;
    qint64 lostSinceTaken_ = 0;
    qint64 firstLostMs_ = 0;
    bool finishing_ = false;
    QString failure_;
    std::atomic<qint64> lostTotal_{0};
    std::atomic<bool> done_{false};
    std::thread worker_;
};

} // namespace kuvar
