// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/user_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kuvar;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

class UserSetFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("UserSet.dat"));
};

} // namespace

TEST_F(UserSetFile, NewFileHoldsTheDefaultsByteForByte) {
    TUserSetRecord record;
    LoadUserSet(path, record);
    const QByteArray data = ReadAll(path);
    ASSERT_EQ(data.size(), kUserSetSize);
    const QByteArray first63 = QByteArray::fromHex("04434F4D310000"
                                                   "0631313532303000"
                                                   "0131000000"
                                                   "0131000000"
                                                   "0631313532303000"
                                                   "0131"
                                                   "0331303000"
                                                   "0130000000"
                                                   "043230303000"
                                                   "052D31303030"
                                                   "033330300000");
    EXPECT_EQ(data.left(63), first63);
    // The manual lines are empty, the GY fields follow at their offsets.
    EXPECT_EQ(data.mid(63, 603), QByteArray(603, '\0'));
    EXPECT_EQ(data.mid(666, 5), QByteArray::fromHex("0131000000"));
    EXPECT_EQ(data.mid(676, 8), QByteArray::fromHex("0631313532303000"));
    EXPECT_EQ(static_cast<uint8_t>(data[696]), 1);
    EXPECT_EQ(data.mid(697, 18), QByteArray::fromHex("043230303000052D31303030033330300000"));
    EXPECT_EQ(record.Text(UserSetField::AcScale), QStringLiteral("1"));
}

TEST_F(UserSetFile, ExistingFileIsReadNotRewritten) {
    TUserSetRecord record;
    record.SetDefaults();
    record.SetText(UserSetField::Send2, QStringLiteral("<1 VER>"));
    SaveUserSet(path, record);
    TUserSetRecord read;
    LoadUserSet(path, read);
    EXPECT_EQ(read.Text(UserSetField::Send2), QStringLiteral("<1 VER>"));
    EXPECT_EQ(read.Bytes(), record.Bytes());
}

struct CutCase {
    UserSetField field;
    QString text;
    QString stored;
};

TEST(UserSetRecordCut, TextsAreCutToTheirFieldAndTo255) {
    const CutCase cases[] = {
        {UserSetField::PortNo, QStringLiteral("COM1234"), QStringLiteral("COM123")},
        {UserSetField::AcId, QStringLiteral("12345"), QStringLiteral("1234")},
        {UserSetField::AcScale, QStringLiteral("16"), QStringLiteral("1")},
        {UserSetField::Send1, QString(250, QLatin1Char('x')), QString(200, QLatin1Char('x'))},
        // A two-byte character is never cut in half: "가" takes two of the four bytes.
        {UserSetField::GyId, QStringLiteral("1가가"), QStringLiteral("1가")},
    };
    for (const CutCase& c : cases) {
        TUserSetRecord record;
        record.SetText(c.field, c.text);
        const UserSetFieldInfo& info = FieldInfo(c.field);
        if (c.field != UserSetField::PortNo) {
            EXPECT_EQ(record.Text(c.field), c.stored) << info.control;
        }
        EXPECT_EQ(record.Bytes()[info.offset], EncodeFieldText(c.stored, 255).size())
            << info.control;
    }
}

TEST(UserSetRecordCut, ShorterTextLeavesTheOldBytesBehindIt) {
    TUserSetRecord record;
    record.SetText(UserSetField::PortNo, QStringLiteral("COM10"));
    record.SetText(UserSetField::PortNo, QStringLiteral("COM1"));
    EXPECT_EQ(record.Bytes()[0], 4);
    EXPECT_EQ(record.Bytes()[5], '0');
    EXPECT_EQ(record.Text(UserSetField::PortNo), QStringLiteral("COM1"));
}

TEST(UserSetRecordCut, DamagedLengthByteIsReadWithinTheField) {
    TUserSetRecord record;
    record.SetText(UserSetField::AcId, QStringLiteral("12"));
    record.SetText(UserSetField::AcNewId, QStringLiteral("77"));
    record.Bytes()[15] = 200;
    EXPECT_EQ(record.Text(UserSetField::AcId).toLatin1(), QByteArray("12\0\0", 4));
}

TEST_F(UserSetFile, KoreanTextSurvivesInCodePage949) {
    TUserSetRecord record;
    record.SetDefaults();
    record.SetText(UserSetField::Send3, QStringLiteral("<1 VER> 각도값"));
    SaveUserSet(path, record);
    const QByteArray data = ReadAll(path);
    // "각" is B0 A2 in code page 949.
    EXPECT_EQ(data.mid(466 + 8, 2), QByteArray::fromHex("B0A2"));
    TUserSetRecord read;
    LoadUserSet(path, read);
    EXPECT_EQ(read.Text(UserSetField::Send3), QStringLiteral("<1 VER> 각도값"));
}

TEST_F(UserSetFile, LongPortNameIsKeptWholeAfterTheRecord) {
    TUserSetRecord record;
    record.SetDefaults();
    const QString link = QStringLiteral("/run/user/1000/kuvar-sim/ac");
    record.SetText(UserSetField::PortNo, link);
    SaveUserSet(path, record);
    const QByteArray data = ReadAll(path);
    EXPECT_GT(data.size(), kUserSetSize);
    EXPECT_EQ(data.mid(0, 7), QByteArray("\x06/run/u", 7));
    TUserSetRecord read;
    LoadUserSet(path, read);
    EXPECT_EQ(read.Text(UserSetField::PortNo), link);

    // A block whose start disagrees with the field (the field was edited by an older writer)
    // is ignored; so is a damaged one.
    QByteArray edited = data;
    edited[1] = 'X';
    WriteAll(path, edited);
    LoadUserSet(path, read);
    EXPECT_EQ(read.Text(UserSetField::PortNo), QStringLiteral("Xrun/u"));
    QByteArray damaged = data;
    damaged[data.size() - 3] = '?';
    WriteAll(path, damaged);
    LoadUserSet(path, read);
    EXPECT_EQ(read.Text(UserSetField::PortNo), QStringLiteral("/run/u"));

    // Back to a short name: the file is exactly 715 bytes again.
    read.SetText(UserSetField::PortNo, QStringLiteral("COM3"));
    SaveUserSet(path, read);
    EXPECT_EQ(ReadAll(path).size(), kUserSetSize);
}

TEST_F(UserSetFile, ShortFileFailsAndLeavesTheRecordAlone) {
    for (int size : {0, 1, 714}) {
        WriteAll(path, QByteArray(size, '\x01'));
        TUserSetRecord record;
        EXPECT_THROW(LoadUserSet(path, record), EInOutError) << size;
        EXPECT_EQ(record.Bytes()[0], 0) << size;
        EXPECT_EQ(ReadAll(path).size(), size) << "a failed read must not change the file";
    }
}

TEST_F(UserSetFile, LongerFilesAreReadForTheir715Bytes) {
    for (int size : {716, 1000000}) {
        QByteArray data(size, '\0');
        data[0] = 4;
        data.replace(1, 4, "COM7");
        WriteAll(path, data);
        TUserSetRecord record;
        LoadUserSet(path, record);
        EXPECT_EQ(record.Text(UserSetField::PortNo), QStringLiteral("COM7")) << size;
    }
}

// Runs a check in a child process without root's override of file permissions, and with a file
// size limit when asked, so that the failures of a real user's machine can be made here.
bool InChild(const std::function<bool()>& check, rlim_t fileSizeLimit = RLIM_INFINITY) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Throws(const std::function<void()>& body) {
    try {
        body();
    } catch (const EInOutError&) {
        return true;
    }
    return false;
}

class UserSetPermissions : public UserSetFile {
protected:
    void SetUp() override {
        // The child runs as "nobody" when the tests run as root.
        Own(dir.path());
        record.SetDefaults();
    }
    // Fails, harmlessly, when the tests do not run as root: the child then runs as their user.
    void Own(const QString& path) {
        [[maybe_unused]] const int ignored =
            ::chown(QFile::encodeName(path).constData(), 65534, 65534);
    }
    TUserSetRecord record;
};

TEST_F(UserSetPermissions, ReadOnlyFileFailsToLoadAndToSave) {
    SaveUserSet(path, record);
    Own(path);
    ::chmod(QFile::encodeName(path).constData(), 0444);
    EXPECT_TRUE(InChild([&] {
        TUserSetRecord read;
        return Throws([&] { LoadUserSet(path, read); }) &&
               Throws([&] { SaveUserSet(path, record); });
    }));
    EXPECT_EQ(ReadAll(path).size(), kUserSetSize);
}

TEST_F(UserSetPermissions, ReadOnlyFolderFailsToCreateAndToSave) {
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    EXPECT_TRUE(InChild([&] {
        TUserSetRecord read;
        return Throws([&] { LoadUserSet(path, read); }) &&
               Throws([&] { SaveUserSet(path, record); });
    }));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(UserSetPermissions, SaveThatFailsHalfWayLeavesTheOldFileWhole) {
    record.SetText(UserSetField::Send1, QStringLiteral("old"));
    SaveUserSet(path, record);
    Own(path);
    const QByteArray before = ReadAll(path);
    EXPECT_TRUE(InChild(
        [&] {
            TUserSetRecord changed = record;
            changed.SetText(UserSetField::Send1, QStringLiteral("new"));
            return Throws([&] { SaveUserSet(path, changed); });
        },
        100));
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("UserSet.dat")});
}
