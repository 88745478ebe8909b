// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/safe_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

using namespace kuvar;

namespace {

QByteArray Name(const QString& path) {
    return QFile::encodeName(path);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

mode_t TypeOf(const QString& path) {
    struct stat st {};
    return ::lstat(Name(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

class SafeFile : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Every entry of the folder, hidden ones included: a temporary left behind shows here.
    QStringList Entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SafeFile, ChunksBecomeTheFileOnlyAtCommit) {
    const QString path = Path("out.csv");
    WriteAll(path, "old");
    {
        TSafeFileWriter writer(path);
        writer.Write("first,");
        writer.Write(QByteArray(100000, 'x'));
        EXPECT_EQ(ReadAll(path), "old") << "the target is untouched until the commit";
        writer.Commit();
    }
    EXPECT_EQ(ReadAll(path), "first," + QByteArray(100000, 'x'));
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("out.csv")});
}

TEST_F(SafeFile, CancelAndDestructionLeaveTheTargetAndNoTemporary) {
    const QString path = Path("out.txt");
    {
        TSafeFileWriter writer(path);
        writer.Write("never");
    }
    EXPECT_TRUE(Entries().isEmpty()) << Entries().join(' ').toStdString();
    WriteAll(path, "old");
    TSafeFileWriter writer(path);
    writer.Write("never");
    writer.Cancel();
    writer.Cancel();
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("out.txt")});
    EXPECT_THROW(writer.Write("late"), std::logic_error);
}

TEST_F(SafeFile, ReplacingKeepsThePermissions) {
    const QString path = Path("p.dat");
    WriteAll(path, "old");
    ::chmod(Name(path).constData(), 0640);
    WriteFileSafely(path, "new");
    struct stat st {};
    ASSERT_EQ(::stat(Name(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// A link is followed: its regular target is written and the link stays a link; a link to a file
// not yet there creates that file.
TEST_F(SafeFile, LinksAreFollowedToTheirTarget) {
    ::mkdir(Name(Path("real")).constData(), 0755);
    const QString target = Path("real/target.png");
    WriteAll(target, "old");
    ASSERT_EQ(::symlink("real/target.png", Name(Path("link")).constData()), 0);
    ASSERT_EQ(::symlink("link", Name(Path("link2")).constData()), 0);
    ASSERT_EQ(::symlink("real/later.png", Name(Path("dangling")).constData()), 0);
    WriteFileSafely(Path("link2"), "new");
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(TypeOf(Path("link")), S_IFLNK);
    EXPECT_EQ(TypeOf(Path("link2")), S_IFLNK);
    WriteFileSafely(Path("dangling"), "created");
    EXPECT_EQ(TypeOf(Path("dangling")), S_IFLNK);
    EXPECT_EQ(ReadAll(Path("real/later.png")), "created");
    EXPECT_EQ(QDir(Path("real")).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral("later.png"), QStringLiteral("target.png")}));

    ASSERT_EQ(::symlink("loop", Name(Path("loop")).constData()), 0);
    EXPECT_THROW(WriteFileSafely(Path("loop"), "x"), EFileError);
}

// Devices, FIFOs and folders, directly or through a link: refused for writing before anything
// is opened (a FIFO's open would block), refused for reading without a read, and left as they
// were.
TEST_F(SafeFile, NodesThatAreNotRegularFilesAreRefused) {
    ASSERT_EQ(::mkfifo(Name(Path("fifo")).constData(), 0600), 0);
    ASSERT_EQ(::mkdir(Name(Path("folder")).constData(), 0755), 0);
    ASSERT_EQ(::symlink("fifo", Name(Path("to-fifo")).constData()), 0);
    ASSERT_EQ(::symlink("/dev/zero", Name(Path("to-zero")).constData()), 0);
    struct Node {
        QString path;
        bool write; // never for the system's device: a fault in the writer would replace it
    };
    std::vector<Node> nodes = {{Path("fifo"), true},
                               {Path("folder"), true},
                               {Path("to-fifo"), true},
                               {Path("to-zero"), false}};
    if (::mknod(Name(Path("device")).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0) {
        nodes.push_back({Path("device"), true});
    }
    for (const Node& node : nodes) {
        const std::string name = node.path.toStdString();
        const mode_t type = TypeOf(node.path);
        if (node.write) {
            try {
                WriteFileSafely(node.path, "x");
                ADD_FAILURE() << "written: " << name;
            } catch (const EFileError& e) {
                EXPECT_EQ(std::string(e.what()), "Cannot write " + name + ": not a regular file");
            }
        }
        try {
            ReadRegularFile(node.path, 1000);
            ADD_FAILURE() << "read: " << name;
        } catch (const EFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open " + name + ": not a regular file");
        }
        EXPECT_EQ(TypeOf(node.path), type) << name;
    }
    EXPECT_EQ(TypeOf(Path("to-fifo")), S_IFLNK);
}

TEST_F(SafeFile, ReadsStopAtTheLimit) {
    const QString path = Path("big");
    WriteAll(path, QByteArray(200000, 'a'));
    EXPECT_EQ(ReadRegularFile(path, 150001).size(), 150001);
    EXPECT_EQ(ReadRegularFile(path, 300000).size(), 200000);
    // A sparse file of a gigabyte costs what the limit allows, not its size.
    ASSERT_EQ(::truncate(Name(path).constData(), 1LL << 30), 0);
    EXPECT_EQ(ReadRegularFile(path, 66000).size(), 66000);
    try {
        ReadRegularFile(Path("missing"), 10);
        ADD_FAILURE();
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Action(), TFileAction::Open);
        EXPECT_EQ(e.Why(), QStringLiteral("No such file or directory"));
    }
}

// A write past the file-size limit (as on a full disk) fails with the system's reason and leaves
// the old file and no temporary.
TEST_F(SafeFile, AWriteThatFailsLeavesTheOldFileAndSaysWhy) {
    const QString path = Path("full.pdf");
    WriteAll(path, "old");
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limited{4096, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limited);
    QString why;
    try {
        TSafeFileWriter writer(path);
        for (int i = 0; i < 10; ++i) {
            writer.Write(QByteArray(1000, 'y'));
        }
        writer.Commit();
    } catch (const EFileError& e) {
        why = e.Why();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(why, QStringLiteral("File too large"));
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("full.pdf")});
}

// A recording's file: written under its own name as it grows, readable at any moment, and after a
// write past the file-size limit (a full disk) it holds exactly the writes that went through.
TEST_F(SafeFile, AStreamFileHoldsEveryWholeWriteAndNoPartOfAFailedOne) {
    const QString path = Path("recording.csv");
    WriteAll(path, "an older recording that is longer than the new one");
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    QString why;
    QByteArray afterTwo;
    qint64 sizeAtFailure = -1;
    {
        TStreamFileWriter writer(path);
        EXPECT_EQ(ReadAll(path), QByteArray());
        writer.Write("line 1\r\n");
        writer.Write(QByteArray(1000, 'x') + "\r\n");
        writer.Sync();
        afterTwo = ReadAll(path);
        const rlimit limited{1500, saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
        try {
            writer.Write(QByteArray(1000, 'y') + "\r\n");
        } catch (const EFileError& e) {
            why = e.Why();
            sizeAtFailure = writer.Size();
        }
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_THROW(writer.Write("more"), std::logic_error);
        EXPECT_NO_THROW(writer.Close());
    }
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(afterTwo, QByteArray("line 1\r\n") + QByteArray(1000, 'x') + "\r\n");
    EXPECT_EQ(why, QStringLiteral("File too large"));
    EXPECT_EQ(sizeAtFailure, afterTwo.size());
    EXPECT_EQ(ReadAll(path), afterTwo);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("recording.csv")});
}

// What a recording may not be started on, and where it cannot be made.
TEST_F(SafeFile, AStreamFileRefusesNodesAndUnwritablePlaces) {
    ASSERT_EQ(::mkfifo(Name(Path("fifo")).constData(), 0600), 0);
    ASSERT_EQ(::mkdir(Name(Path("folder")).constData(), 0755), 0);
    ASSERT_EQ(::symlink("fifo", Name(Path("to-fifo")).constData()), 0);
    WriteAll(Path("plain"), "x");
    const struct {
        QString path;
        QString why;
    } cases[] = {
        {Path("fifo"), QStringLiteral("not a regular file")},
        {Path("folder"), QStringLiteral("not a regular file")},
        {Path("to-fifo"), QStringLiteral("not a regular file")},
        {Path("missing/out.csv"), QStringLiteral("No such file or directory")},
        {Path("plain/out.csv"), QStringLiteral("Not a directory")},
    };
    for (const auto& c : cases) {
        try {
            TStreamFileWriter writer(c.path);
            ADD_FAILURE() << "opened: " << c.path.toStdString();
        } catch (const EFileError& e) {
            EXPECT_EQ(e.Why(), c.why) << c.path.toStdString();
            EXPECT_EQ(e.Path(), c.path);
        }
    }
    EXPECT_EQ(TypeOf(Path("fifo")), S_IFIFO);
    EXPECT_EQ(TypeOf(Path("to-fifo")), S_IFLNK);
}
