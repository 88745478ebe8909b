// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace kuvar {

enum class TFileAction { Open, Read, Create, Write };

// The one place where a failed file operation becomes a message: "Cannot <action> <path>: <why>".
QString FileErrorMessage(TFileAction action, const QString& path, const QString& why);
// The system's text for an errno value, for instance "No space left on device".
QString ErrnoText(int error);

// A failed file operation, on the path as the caller named it.
class EFileError : public std::runtime_error {
public:
    EFileError(TFileAction action, const QString& path, const QString& why);
    TFileAction Action() const { return action_; }
    const QString& Path() const { return path_; }
    const QString& Why() const { return why_; }

private:
    TFileAction action_;
    QString path_;
    QString why_;
};

// Writes a file whole or not at all. The bytes go to a temporary file beside the target, every
// write is checked, and Commit() syncs it and renames it over the target; a failure, Cancel() or
// destruction without Commit() removes the temporary and leaves the target as it was.
// A target that exists and is not a regular file (a device, FIFO or folder) is refused before
// anything is opened; a symbolic link is followed, so its regular target is replaced and the
// link stays. Every failure throws EFileError with TFileAction::Write and the caller's path.
class TSafeFileWriter {
public:
    explicit TSafeFileWriter(const QString& path);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    void Write(const char* data, qint64 size);
    void Write(const QByteArray& data) { Write(data.constData(), data.size()); }
    void Commit();
    // Drops what was written; the target is left as it was. Safe to call more than once.
    void Cancel() noexcept;

    // The regular file that Commit() replaces or creates (the link's target for a link).
    const QString& TargetPath() const { return target_; }

private:
    [[noreturn]] void Fail(const QString& why);
    [[noreturn]] void FailErrno(int error) { Fail(ErrnoText(error)); }

    QString path_;   // as the caller named it, for messages
    QString target_; // the symbolic links resolved
    QByteArray temporary_;
    int fd_ = -1;
};

// A file written as it grows, under its own name from the start, for a recording that must be
// readable after a crash. The target is refused like TSafeFileWriter's when it exists and is not
// a regular file; otherwise it is created or emptied. Every write is checked: a write that fails
// part way cuts the file back to where that write began, so that the file holds only whole
// writes. Every failure throws EFileError with TFileAction::Write and the caller's path; the file
// stays open until Close() or destruction (a failed one takes no more writes).
class TStreamFileWriter {
public:
    explicit TStreamFileWriter(const QString& path);
    ~TStreamFileWriter();
    TStreamFileWriter(const TStreamFileWriter&) = delete;
    TStreamFileWriter& operator=(const TStreamFileWriter&) = delete;

    void Write(const char* data, qint64 size);
    void Write(const QByteArray& data) { Write(data.constData(), data.size()); }
    // Makes what was written durable (a power cut keeps it).
    void Sync();
    // Syncs and closes; safe to call more than once.
    void Close();
    qint64 Size() const { return size_; }

private:
    [[noreturn]] void FailErrno(int error);

    QString path_;
    int fd_ = -1;
    qint64 size_ = 0;
    bool failed_ = false;
};

// Writes data through a TSafeFileWriter in one go.
void WriteFileSafely(const QString& path, const QByteArray& data);

enum class TReadAccess { ReadOnly, ReadWrite };

// The first `limit` bytes of a regular file; anything else (a device, FIFO or folder, also
// through a link) is refused without being opened, so that nothing blocks or reads without end.
// ReadWrite opens the file for writing too, without truncating it, so that a file the program
// could not write back fails here. Throws EFileError (Open when the file cannot be had, Read when
// reading fails).
QByteArray ReadRegularFile(const QString& path, qint64 limit,
                           TReadAccess access = TReadAccess::ReadOnly);

} // namespace kuvar
