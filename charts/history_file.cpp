// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/history_file.h"

#include "base/guard.h"
#include "base/safe_file.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

namespace kuvar::charts {

namespace {

int OpenUnlinked(const QString& folder, int& error) {
    const QByteArray name = QFile::encodeName(folder);
    int fd = -1;
#ifdef O_TMPFILE
    fd = ::open(name.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        return fd;
    }
#endif
    // File systems without unnamed files: a named one, unlinked at once.
    QByteArray pattern = name + "/kuvar-history-XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    ::unlink(pattern.constData());
    return fd;
}

} // namespace

THistoryChunk::THistoryChunk(std::shared_ptr<THistoryFile> file, double* data, qint64 offset)
    : file_(std::move(file)), data_(data), offset_(offset) {}

THistoryChunk::~THistoryChunk() {
    file_->Release(data_, offset_);
}

std::shared_ptr<THistoryFile> THistoryFile::Shared() {
    static const std::shared_ptr<THistoryFile> file =
        Open(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    return file;
}

std::shared_ptr<THistoryFile> THistoryFile::Open(const QString& folder, std::size_t chunkValues) {
    return std::shared_ptr<THistoryFile>(new THistoryFile(folder, chunkValues));
}

THistoryFile::THistoryFile(const QString& folder, std::size_t chunkValues)
    : folder_(folder), chunkValues_(chunkValues), chunkBytes_(chunkValues * sizeof(double)) {
    if (chunkValues == 0 || (chunkValues & (chunkValues - 1)) != 0 ||
        chunkBytes_ % static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) != 0) {
        throw std::logic_error("history chunks must be a power of two of whole pages");
    }
    int error = 0;
    if (folder_.isEmpty() || !QDir().mkpath(folder_)) {
        openFailure_ = FileErrorMessage(TFileAction::Create, folder_, ErrnoText(EACCES));
    } else if ((fd_ = OpenUnlinked(folder_, error)) < 0) {
        openFailure_ = FileErrorMessage(TFileAction::Create, folder_, ErrnoText(error));
    }
}

THistoryFile::~THistoryFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

qint64 THistoryFile::TakeRoom(QString& why) {
    if (fd_ < 0) {
        why = openFailure_;
        return -1;
    }
    std::lock_guard lock(mutex_);
    const bool reuse = !free_.empty();
    const qint64 offset = reuse ? free_.back() : end_;
    // Room that cannot be taken beforehand (no space, a size limit, a file system without
    // fallocate) is never written: a store into a mapping without room ends the program.
    if (::fallocate(fd_, 0, offset, static_cast<off_t>(chunkBytes_)) != 0) {
        why = FileErrorMessage(TFileAction::Write, folder_, ErrnoText(errno));
        return -1;
    }
    if (reuse) {
        free_.pop_back();
    } else {
        end_ += static_cast<qint64>(chunkBytes_);
    }
    return offset;
}

std::shared_ptr<THistoryChunk> THistoryFile::NewChunk() {
    QString why;
    const qint64 offset = TakeRoom(why);
    void* data = MAP_FAILED;
    if (offset >= 0) {
        data = ::mmap(nullptr, chunkBytes_, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, offset);
        if (data == MAP_FAILED) {
            why = FileErrorMessage(TFileAction::Write, folder_, ErrnoText(errno));
            Release(nullptr, offset);
        }
    }
    if (data == MAP_FAILED) {
        data = ::mmap(nullptr, chunkBytes_, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (data == MAP_FAILED) {
            throw std::bad_alloc();
        }
        ReportOnce(why);
        std::lock_guard lock(mutex_);
        ++memoryChunks_;
        return std::shared_ptr<THistoryChunk>(
            new THistoryChunk(shared_from_this(), static_cast<double*>(data), -1));
    }
    {
        std::lock_guard lock(mutex_);
        inUse_ += static_cast<qint64>(chunkBytes_);
    }
    return std::shared_ptr<THistoryChunk>(
        new THistoryChunk(shared_from_this(), static_cast<double*>(data), offset));
}

void THistoryFile::Release(double* data, qint64 offset) {
    if (data) {
        ::munmap(data, chunkBytes_);
    }
    std::lock_guard lock(mutex_);
    if (offset < 0) {
        --memoryChunks_;
        return;
    }
    if (data) {
        inUse_ -= static_cast<qint64>(chunkBytes_);
    }
    // The disk room goes back at once; the offset is used again by the next chunk.
    ::fallocate(fd_, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, offset,
                static_cast<off_t>(chunkBytes_));
    free_.push_back(offset);
}

void THistoryFile::ReportOnce(const QString& why) {
    if (reported_) {
        return;
    }
    reported_ = true;
    HandleAppException(std::runtime_error(
        QStringLiteral("Chart history kept in memory: %1").arg(why).toStdString()));
}

qint64 THistoryFile::FileBytesInUse() const {
    std::lock_guard lock(mutex_);
    return inUse_;
}

int THistoryFile::MemoryChunks() const {
    std::lock_guard lock(mutex_);
    return memoryChunks_;
}

} // namespace kuvar::charts
