// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_list.h"

#include <QFile>

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
        {"COM1", 1}, {"COM3", 3}, {"COM10", 10}, {"COM12", 12}, {"COM123", 12},
        {"1", -1},   {"COM", -1}, {"COMx", -1},  {"abc", -1},   {"", -1},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        if (c.port < 0) {
            EXPECT_THROW(PortNumFromText(text), EConvertError) << c.text;
        } else {
            EXPECT_EQ(PortNumFromText(text), c.port) << c.text;
        }
        EXPECT_FALSE(IsDevicePath(text));
    }
    EXPECT_TRUE(IsDevicePath(QStringLiteral("/dev/ttyUSB0")));
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
