// SPDX-License-Identifier: GPL-3.0-or-later
// The program closed at a bad moment, and killed in the middle of saving its settings, each in
// a process of its own (kuvar_drive).
#include "tests/e2e/fault_support.h"
#include "tests/e2e/pty_line.h"
#include "tests/e2e/sim_process.h"

#include "app/user_settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>

using namespace kuvar;

using namespace std::chrono_literals;

namespace {

std::string Drive() {
    return KUVAR_DRIVE_PROGRAM;
}

struct CloseCase {
    const char* name;
    const char* command;
    QStringList simOptions;
};

class FaultClose : public ::testing::TestWithParam<CloseCase> {};

} // namespace

// What must hold: the settings are saved with the texts at the close, and the process ends
// within a second of the close.
TEST_P(FaultClose, SavesAndEndsWithinASecond) {
    QTemporaryDir dir;
    TSimProcess sim(QStringLiteral("ac"), dir.filePath(QStringLiteral("ac")),
                    GetParam().simOptions);
    ASSERT_TRUE(sim.Started());
    const QString settings = dir.filePath(QStringLiteral("UserSet.dat"));
    TChildProcess drive(
        {Drive(), GetParam().command, sim.Link().toStdString(), settings.toStdString(), "300"});
    ASSERT_TRUE(drive.Started());
    const int pid = drive.Pid();
    const auto closing = drive.ReadLine(10s);
    ASSERT_TRUE(closing && closing->rfind("closing ", 0) == 0) << closing.value_or("(nothing)");
    EXPECT_EQ(drive.WaitExit(1000ms), 0) << "still running a second after the close";

    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    TUserSetRecord record;
    record.Deserialize(file.readAll());
    EXPECT_EQ(record.Text(UserSetField::Send1), QStringLiteral("closed-%1").arg(pid));
    EXPECT_EQ(record.Text(UserSetField::PortNo).toStdString(), sim.Link().toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Moments, FaultClose,
    ::testing::Values(
        CloseCase{"WhileATransactionWaits", "close-while-waiting", {QStringLiteral("--silent")}},
        CloseCase{"WhileTheStreamRuns",
                  "close-while-streaming",
                  {QStringLiteral("--stream"), QStringLiteral("--flood"), QStringLiteral("850")}}),
    [](const auto& info) { return std::string(info.param.name); });

// What must hold: a command that waits when the window closes sends nothing more, and the
// process ends within a second of the close. The line is silent: nothing answers ID Find, which
// would go on with four more tries, the scale query and the version query.
TEST(FaultCloseCommand, IdFindClosedDuringItsSecondTrySendsNothingMore) {
    TPtyLine line;
    ASSERT_TRUE(line.Ok());
    QTemporaryDir dir;
    const std::string settings = dir.filePath(QStringLiteral("UserSet.dat")).toStdString();
    TChildProcess drive(
        {Drive(), "close-during-id-find", line.Path().toStdString(), settings, "2"});
    ASSERT_TRUE(drive.Started());
    const auto closing = drive.ReadLine(10s);
    ASSERT_TRUE(closing && closing->rfind("closing ", 0) == 0) << closing.value_or("(nothing)");
    const int sentBeforeClose = std::atoi(closing->substr(closing->rfind(' ') + 1).c_str());
    EXPECT_EQ(sentBeforeClose, 2);
    EXPECT_EQ(drive.WaitExit(1000ms), 0) << "still running a second after the close";
    EXPECT_EQ(drive.ReadLine(1s).value_or(""), "sent " + std::to_string(sentBeforeClose));
    const std::vector<std::string> frames = line.Frames(line.Read());
    ASSERT_EQ(static_cast<int>(frames.size()), sentBeforeClose) << "frames sent after the close";
    for (const std::string& frame : frames) {
        EXPECT_EQ(frame.rfind("<0 ID>", 0), 0u) << frame;
    }
}

// What must hold, however the close falls among the waits of three manual sends (each line too
// long for the transmit queue, so that every send holds the window for a while): the process
// ends within a second of the close and leaves the port free for the next program.
TEST(FaultCloseCommand, CloseAmongNestedWaitsAlwaysEndsTheProcessAndFreesThePort) {
    for (int run = 0; run < 10; ++run) {
        TPtyLine line; // nobody reads it
        ASSERT_TRUE(line.Ok());
        QTemporaryDir dir;
        const std::string settings = dir.filePath(QStringLiteral("UserSet.dat")).toStdString();
        TChildProcess drive({Drive(), "close-race", line.Path().toStdString(), settings,
                             std::to_string(200 + 30 * run)});
        ASSERT_TRUE(drive.Started());
        const auto closing = drive.ReadLine(20s);
        ASSERT_TRUE(closing && closing->rfind("closing ", 0) == 0)
            << "run " << run << ": " << closing.value_or("(nothing)");
        EXPECT_EQ(drive.WaitExit(1000ms), 0) << "run " << run << ": still running after the close";
        EXPECT_TRUE(line.PortFree()) << "run " << run;
    }
}

// What must hold: whenever the saving process dies, the file is a whole record that loads.
TEST(FaultSettings, KilledDuringASaveLeavesAWholeFile) {
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("UserSet.dat"));
    std::mt19937 random(7);
    for (int round = 0; round < 10; ++round) {
        TChildProcess saver({Drive(), "save-loop", settings.toStdString()});
        ASSERT_TRUE(saver.Started());
        const auto saving = saver.ReadLine(5s);
        ASSERT_EQ(saving.value_or(""), "saving");
        ::usleep(1000 * (1 + random() % 40));
        saver.Kill(SIGKILL);
        ASSERT_EQ(saver.WaitExit(2000ms), 128 + SIGKILL);

        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.size(), kUserSetSize) << "round " << round;
        file.close();
        TUserSetRecord record;
        ASSERT_NO_THROW(LoadUserSet(settings, record)) << "round " << round;
        EXPECT_TRUE(record.Text(UserSetField::Send1).startsWith(QStringLiteral("save ")));
    }
}
