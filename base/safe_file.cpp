// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/safe_file.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kuvar {

namespace {

const char* const kNotRegular = "not a regular file";
constexpr int kMaxLinkHops = 40;
// Room left in a name of at most 255 bytes for the temporary's dot, tag and suffix.
constexpr int kMaxBaseName = 200;

QString NotRegular() {
    return QString::fromLatin1(kNotRegular);
}

QByteArray FolderOf(const QByteArray& path) {
    const int slash = path.lastIndexOf('/');
    if (slash < 0) {
        return QByteArrayLiteral(".");
    }
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray NameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

int OpenRetrying(const char* name, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(name, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Closes the descriptor when the scope ends.
class TFdCloser {
public:
    explicit TFdCloser(int fd) : fd_(fd) {}
    ~TFdCloser() { ::close(fd_); }
    TFdCloser(const TFdCloser&) = delete;
    TFdCloser& operator=(const TFdCloser&) = delete;

private:
    int fd_;
};

} // namespace

QString FileErrorMessage(TFileAction action, const QString& path, const QString& why) {
    const char* verb = "open";
    switch (action) {
    case TFileAction::Open:
        verb = "open";
        break;
    case TFileAction::Read:
        verb = "read";
        break;
    case TFileAction::Create:
        verb = "create";
        break;
    case TFileAction::Write:
        verb = "write";
        break;
    }
    return QStringLiteral("Cannot %1 %2: %3").arg(QLatin1String(verb), path, why);
}

QString ErrnoText(int error) {
    return QString::fromLocal8Bit(std::generic_category().message(error));
}

EFileError::EFileError(TFileAction action, const QString& path, const QString& why)
    : std::runtime_error(FileErrorMessage(action, path, why).toStdString()), action_(action),
      path_(path), why_(why) {}

TSafeFileWriter::TSafeFileWriter(const QString& path) : path_(path) {
    // Follow the links by hand, so that a link to a file not yet there names where to create it.
    QByteArray target = QFile::encodeName(path);
    struct stat st {};
    bool exists = false;
    for (int hop = 0;; ++hop) {
        if (::lstat(target.constData(), &st) != 0) {
            if (errno != ENOENT) {
                FailErrno(errno);
            }
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            break;
        }
        if (hop == kMaxLinkHops) {
            FailErrno(ELOOP);
        }
        QByteArray link(st.st_size > 0 ? st.st_size + 1 : 4096, '\0');
        const ssize_t n = ::readlink(target.constData(), link.data(), link.size());
        if (n < 0) {
            FailErrno(errno);
        }
        link.truncate(n);
        target = link.startsWith('/') ? link : FolderOf(target) + '/' + link;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        Fail(NotRegular());
    }
    // A write-protected file stays protected, as an in-place rewrite would leave it.
    if (exists && ::access(target.constData(), W_OK) != 0) {
        FailErrno(errno);
    }
    target_ = QFile::decodeName(target);

    const QByteArray stem = FolderOf(target) + "/." + NameOf(target).left(kMaxBaseName) + '.';
    const mode_t mode = exists ? (st.st_mode & 07777) : 0666;
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temporary_ = stem + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        fd_ = OpenRetrying(temporary_.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, mode);
        if (fd_ < 0 && (errno != EEXIST || attempt == 100)) {
            const int error = errno;
            temporary_.clear();
            FailErrno(error);
        }
    }
    if (exists) {
        // The new file keeps the old one's permissions (open() applied the umask) and, where
        // allowed, its owner.
        ::fchmod(fd_, mode);
        if (::geteuid() == 0 && (st.st_uid != ::getuid() || st.st_gid != ::getgid())) {
            [[maybe_unused]] const int ignored = ::fchown(fd_, st.st_uid, st.st_gid);
        }
    }
}

TSafeFileWriter::~TSafeFileWriter() {
    Cancel();
}

void TSafeFileWriter::Write(const char* data, qint64 size) {
    if (fd_ < 0) {
        throw std::logic_error("TSafeFileWriter::Write after Commit or Cancel");
    }
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, static_cast<size_t>(std::min<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            FailErrno(errno);
        }
        if (n == 0) {
            FailErrno(EIO);
        }
        data += n;
        size -= n;
    }
}

void TSafeFileWriter::Commit() {
    if (fd_ < 0) {
        throw std::logic_error("TSafeFileWriter::Commit after Commit or Cancel");
    }
    // A file system that defers allocation reports a full disk here at the latest.
    int result = 0;
    do {
        result = ::fsync(fd_);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        FailErrno(errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        FailErrno(errno);
    }
    // The target may have changed since the check in the constructor: never rename over a node.
    const QByteArray target = QFile::encodeName(target_);
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        Fail(NotRegular());
    }
    if (::rename(temporary_.constData(), target.constData()) != 0) {
        FailErrno(errno);
    }
    temporary_.clear();
    // Make the rename itself durable; a folder that cannot be synced is no failure of the file.
    const int folder =
        OpenRetrying(FolderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void TSafeFileWriter::Cancel() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.isEmpty()) {
        ::unlink(temporary_.constData());
        temporary_.clear();
    }
}

void TSafeFileWriter::Fail(const QString& why) {
    Cancel();
    throw EFileError(TFileAction::Write, path_, why);
}

TStreamFileWriter::TStreamFileWriter(const QString& path) : path_(path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    // Looked at through its links before it is opened: a FIFO or a device is never opened.
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        throw EFileError(TFileAction::Write, path_, NotRegular());
    }
    fd_ = OpenRetrying(name.constData(),
                       O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd_ < 0) {
        FailErrno(errno);
    }
    // What was opened may have been swapped in after the look.
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw EFileError(TFileAction::Write, path_, NotRegular());
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

TStreamFileWriter::~TStreamFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void TStreamFileWriter::Write(const char* data, qint64 size) {
    if (fd_ < 0 || failed_) {
        throw std::logic_error("TStreamFileWriter::Write after Close or a failure");
    }
    qint64 done = 0;
    while (done < size) {
        const ssize_t n =
            ::write(fd_, data + done, static_cast<size_t>(std::min<qint64>(size - done, 1 << 30)));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            // The part of this write that went out is cut off again.
            if (done > 0) {
                [[maybe_unused]] const int ignored = ::ftruncate(fd_, size_);
            }
            FailErrno(error);
        }
        done += n;
    }
    size_ += size;
}

void TStreamFileWriter::Sync() {
    if (fd_ < 0 || failed_) {
        return;
    }
    int result = 0;
    do {
        result = ::fdatasync(fd_);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        FailErrno(errno);
    }
}

void TStreamFileWriter::Close() {
    if (fd_ < 0) {
        return;
    }
    Sync();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        failed_ = true;
        throw EFileError(TFileAction::Write, path_, ErrnoText(errno));
    }
}

void TStreamFileWriter::FailErrno(int error) {
    failed_ = true;
    throw EFileError(TFileAction::Write, path_, ErrnoText(error));
}

void WriteFileSafely(const QString& path, const QByteArray& data) {
    TSafeFileWriter writer(path);
    writer.Write(data);
    writer.Commit();
}

QByteArray ReadRegularFile(const QString& path, qint64 limit, TReadAccess access) {
    const QByteArray name = QFile::encodeName(path);
    // Looked at before it is opened: opening a FIFO or a device can block or act on hardware.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        throw EFileError(TFileAction::Open, path, ErrnoText(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        throw EFileError(TFileAction::Open, path, NotRegular());
    }
    const int flags =
        (access == TReadAccess::ReadWrite ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    const int fd = OpenRetrying(name.constData(), flags);
    if (fd < 0) {
        throw EFileError(TFileAction::Open, path, ErrnoText(errno));
    }
    TFdCloser closer(fd);
    // What was opened may have been swapped in after the look.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        throw EFileError(TFileAction::Open, path, NotRegular());
    }
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray data;
    while (data.size() < limit) {
        const qint64 offset = data.size();
        const qint64 want = std::min(kChunk, limit - offset);
        data.resize(offset + want);
        const ssize_t n = ::read(fd, data.data() + offset, static_cast<size_t>(want));
        if (n < 0 && errno == EINTR) {
            data.truncate(offset);
            continue;
        }
        if (n < 0) {
            throw EFileError(TFileAction::Read, path, ErrnoText(errno));
        }
        data.truncate(offset + n);
        if (n == 0) {
            break;
        }
    }
    return data;
}

} // namespace kuvar
