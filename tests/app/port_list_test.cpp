// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_list.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kuvar;

using kuvar::serial::TVaBaudrate;

TEST(PortText, ComNumberIsTakenFromCharactersFourAndFive) {
    const struct {
        const char* text;
        int port; // -1: conversion error
    } cases[] = {
        {"COM1", 1},    {"COM3", 3}, {"COM10", 10}, {"COM12", 12},
        {"COM123", 12}, {"com4", 4}, {"COM", -1},   {"COMx", -1},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        if (c.port < 0) {
            EXPECT_THROW(PortNumFromText(text), EConvertError) << c.text;
            EXPECT_THROW(PortTargetOf(text), EConvertError) << c.text;
        } else {
            EXPECT_EQ(PortNumFromText(text), c.port) << c.text;
            const TPortTarget target = PortTargetOf(text);
            EXPECT_TRUE(target.comNumber) << c.text;
            EXPECT_EQ(target.portNum, c.port) << c.text;
        }
        EXPECT_FALSE(IsDevicePath(text));
    }
}

// Paths open as typed; any other text that is no COMn is a device name under /dev.
TEST(PortText, PathsOpenAsTypedAndNamesUnderDev) {
    const struct {
        const char* text;
        const char* path;
    } cases[] = {
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/tmp/kuvar-sim-0/ac", "/tmp/kuvar-sim-0/ac"},
        {"ttyS0", "/dev/ttyS0"},
        {"ttyUSB0", "/dev/ttyUSB0"},
        {"serial/by-id/usb-FTDI_A50285BI-if00-port0",
         "/dev/serial/by-id/usb-FTDI_A50285BI-if00-port0"},
        {"1", "/dev/1"},
        {"abc", "/dev/abc"},
    };
    for (const auto& c : cases) {
        const TPortTarget target = PortTargetOf(QString::fromLatin1(c.text));
        EXPECT_FALSE(target.comNumber) << c.text;
        EXPECT_EQ(target.path, QString::fromLatin1(c.path)) << c.text;
        EXPECT_TRUE(IsDevicePath(QString::fromLatin1(c.text))) << c.text;
    }
    EXPECT_THROW(PortTargetOf(QString()), ENotAPort);
}

TEST(PortText, RatesMapToTheComponentsCodes) {
    const struct {
        const char* text;
        std::optional<TVaBaudrate> code;
    } cases[] = {
        {"110", kuvar::serial::br110},
        {"9600", kuvar::serial::br9600},
        {"14400", kuvar::serial::br14400},
        {"56000", kuvar::serial::br56000},
        {"115200", kuvar::serial::br115200},
        {"256000", kuvar::serial::br256000},
        {"12345", std::nullopt},
        {"0", std::nullopt},
        {"-9600", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BaudrateCode(QString::fromLatin1(c.text)), c.code) << c.text;
    }
    EXPECT_THROW(BaudrateCode(QStringLiteral("fast")), EConvertError);
    try {
        BaudrateCode(QStringLiteral("9600x"));
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'9600x' is not a valid integer value");
    }
}

class Probe : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0); }
    void TearDown() override {
        ::close(slave);
        ::close(master);
    }
    int master = -1, slave = -1;
    char name[64] = {};
};

TEST_F(Probe, FreeTerminalIsUsableAHeldOneAndANonTerminalAreNot) {
    EXPECT_EQ(ProbeComPort(QString::fromLatin1(name)), ProbeResult::Usable);
    const int holder = ::open(name, O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ProbeComPort(QString::fromLatin1(name)), ProbeResult::Unusable);
    ::close(holder);
    EXPECT_EQ(ProbeComPort(QStringLiteral("/dev/null")), ProbeResult::Unusable);
    EXPECT_EQ(ProbeComPort(QStringLiteral("/dev/ttyNoSuchPort")), ProbeResult::Unusable);
}

TEST_F(Probe, MissingPermissionIsToldApart) {
    // A user outside the device's group: run the probe as "nobody".
    ::chmod(name, 0600);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        ::_exit(ProbeComPort(QString::fromLatin1(name)) == ProbeResult::NoPermission ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(Probe, TextsThatNameNoSerialPortAreRefusedBeforeAnythingOpens) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString file = dir.filePath(QStringLiteral("file"));
    QFile(file).open(QIODevice::WriteOnly);
    for (const QString& path : {QStringLiteral("/"), QStringLiteral("/dev/tty"),
                                QStringLiteral("/dev/ptmx"), QStringLiteral("/dev/pts/ptmx"),
                                QStringLiteral("/dev/console"), fifo, file, dir.path()}) {
        EXPECT_THROW(CheckPortPath(path), ENotAPort) << path.toStdString();
        EXPECT_EQ(ProbeComPort(path), ProbeResult::Unusable) << path.toStdString();
    }
    // A terminal passes; a missing device is left to the component's own message.
    EXPECT_NO_THROW(CheckPortPath(QString::fromLatin1(name)));
    EXPECT_NO_THROW(CheckPortPath(QStringLiteral("/dev/kuvar-no-such-port")));
}

TEST(PortLabels, ShowThePathAndWhatIsKnown) {
    const struct {
        TPortInfo info;
        const char* label;
    } cases[] = {
        {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI", 0x0403, 0x6001},
         "/dev/ttyUSB0 — FT232R USB UART (FTDI A50285BI)"},
        {{"/dev/ttyACM0", "USB Serial", "", "", {}, {}}, "/dev/ttyACM0 — USB Serial"},
        {{"/dev/ttyUSB1", "", "FTDI", "", {}, {}}, "/dev/ttyUSB1 — FTDI"},
        {{"/dev/ttyS0", "", "", "", {}, {}}, "/dev/ttyS0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortLabel(c.info).toStdString(), c.label);
}

// A simulator folder lists only links to this user's pseudo-terminals, and only when nobody else
// can write into it: another local user cannot plant a link that the program opens.
class SimulatorFolder : public Probe {
protected:
    void SetUp() override {
        Probe::SetUp();
        folder = root.filePath(QStringLiteral("kuvar-sim"));
        ASSERT_EQ(::mkdir(QFile::encodeName(folder).constData(), 0700), 0);
        Link(QStringLiteral("ac"), QString::fromLatin1(name));
    }
    void Link(const QString& linkName, const QString& target) {
        const QString link = folder + QLatin1Char('/') + linkName;
        ASSERT_EQ(
            ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()),
            0);
    }
    QStringList Listed(const QString& dir) const {
        QStringList names;
        for (const auto& [link, terminal] : SimulatorLinks(dir))
            names << QFileInfo(link).fileName();
        return names;
    }
    QTemporaryDir root;
    QString folder;
};

TEST_F(SimulatorFolder, OnlyLinksToThisUsersTerminalsAreListed) {
    const QString fifo = root.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Link(QStringLiteral("fifo"), fifo);
    Link(QStringLiteral("null"), QStringLiteral("/dev/null"));
    Link(QStringLiteral("ptmx"), QStringLiteral("/dev/ptmx"));
    Link(QStringLiteral("dangling"), root.filePath(QStringLiteral("gone")));
    EXPECT_EQ(Listed(folder), QStringList{QStringLiteral("ac")});
    const auto links = SimulatorLinks(folder);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].second, QString::fromLatin1(name));
}

TEST_F(SimulatorFolder, AFolderOthersMayWriteToOrThatIsALinkListsNothing) {
    EXPECT_EQ(Listed(folder), QStringList{QStringLiteral("ac")});
    for (mode_t mode : {0770, 0707, 0777}) {
        ::chmod(QFile::encodeName(folder).constData(), mode);
        EXPECT_TRUE(Listed(folder).isEmpty()) << std::oct << mode;
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(Listed(folder), QStringList{QStringLiteral("ac")});
    const QString alias = root.filePath(QStringLiteral("alias"));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(folder).constData(), QFile::encodeName(alias).constData()), 0);
    EXPECT_TRUE(Listed(alias).isEmpty());
}

TEST_F(SimulatorFolder, AFolderOrATerminalOfAnotherUserListsNothing) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
    EXPECT_TRUE(Listed(folder).isEmpty());
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 0, 0), 0);
    ASSERT_EQ(::chown(name, 65534, 65534), 0);
    EXPECT_TRUE(Listed(folder).isEmpty());
}
