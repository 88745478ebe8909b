// SPDX-License-Identifier: GPL-3.0-or-later
// The whole road from the window to a simulated module and back, over a real pseudo-terminal.
#include "tests/e2e/pty_line.h"
#include "tests/e2e/sim_process.h"
#include "tests/e2e/window_driver.h"

#include "app/delay.h"
#include "charts/line_series.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace kuvar;

namespace {

class Link : public ::testing::Test {
protected:
    QTemporaryDir simDir;
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
};

} // namespace

TEST_F(Link, ManualLineReachesTheModuleAndItsReplyTheLog) {
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")));
    ASSERT_TRUE(sim.Started());
    ASSERT_TRUE(fixture.OpenPort(sim.Link()));
    EXPECT_EQ(w.TopPanel.lbComOpen->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    ASSERT_FALSE(w.TopPanel.imConnect->pixmap().isNull());

    w.LeftColumn.edSend1->setText(QStringLiteral("<1 VER>"));
    fixture.ClickButton(w.LeftColumn.bt360Send1);
    EXPECT_EQ(w.StatusText(1), QStringLiteral("<1 VER>52\r"));
    EXPECT_EQ(w.LeftColumn.leSendMessage->text(), QStringLiteral("<1 VER>52\r"));
    EXPECT_TRUE(
        WaitFor([&] { return fixture.LogContains(QStringLiteral("[1 VER KUVAR-AC")); }, 3000))
        << w.LeftColumn.Memo1->toPlainText().toStdString();

    fixture.ClickButton(w.LeftColumn.btClear);
    EXPECT_TRUE(w.LeftColumn.Memo1->toPlainText().isEmpty());

    fixture.ClickButton(w.TopPanel.btConnect);
    EXPECT_FALSE(w.Link->PortOpen());
    EXPECT_EQ(w.TopPanel.lbComOpen->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    // Closed: the manual line is refused with the message box.
    fixture.ClickButton(w.LeftColumn.bt360Send1);
    EXPECT_TRUE(fixture.boxes.seen.contains(QStringLiteral("Open Com port.")));
}

// The operator can type into the receive log: the text stays among the replies, which keep
// coming below it, nothing of it is sent, and Clear takes it with the replies.
TEST(LinkLog, TheOperatorTypesIntoTheLogAndNothingIsSent) {
    TPtyLine line;
    ASSERT_TRUE(line.Ok());
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
    ASSERT_TRUE(fixture.OpenPort(line.Path()));
    QPlainTextEdit* memo = w.LeftColumn.Memo1;
    EXPECT_FALSE(memo->isReadOnly());
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("cable A, <1 VER>"));
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText().toStdString(), "cable A, <1 VER>\n");
    ASSERT_TRUE(line.Write(ModuleReply("[1 STOP]")));
    ASSERT_TRUE(WaitFor([&] { return fixture.LogContains(QStringLiteral("[1 STOP]")); }, 3000));
    EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("cable A, <1 VER>\n")))
        << memo->toPlainText().toStdString();
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(line.Read(), std::string());

    fixture.ClickButton(w.LeftColumn.btClear);
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    ASSERT_TRUE(line.Write(ModuleReply("[1 START]")));
    ASSERT_TRUE(WaitFor([&] { return fixture.LogContains(QStringLiteral("[1 START]")); }, 3000));
    EXPECT_EQ(memo->toPlainText().toStdString(), "[1 START]");
}

TEST_F(Link, SimulatorLinksAreListedAtStart) {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(simDir.path()));
    QDir().mkpath(simDir.filePath(QStringLiteral("kuvar-sim")));
    TSimProcess sim(QStringLiteral("gy"), simDir.filePath(QStringLiteral("kuvar-sim/gy")));
    ASSERT_TRUE(sim.Started());
    TWindowFixture second;
    QStringList items;
    for (int i = 0; i < second.window->TopPanel.ePortNo->count(); ++i) {
        items << second.window->TopPanel.ePortNo->itemText(i);
    }
    EXPECT_TRUE(items.contains(sim.Link())) << items.join(QLatin1Char(' ')).toStdString();
    // The stored text stays in the combo.
    EXPECT_EQ(second.window->TopPanel.ePortNo->currentText(), QStringLiteral("COM1"));
    qunsetenv("XDG_RUNTIME_DIR");
}

TEST_F(Link, BadPortAndRateTextsKeepThePortClosed) {
    struct Case {
        const char* port;
        const char* rate;
        const char* error;
    } cases[] = {
        {"COMx", "115200", "'x' is not a valid integer value - "},
        {"COM", "115200", "'' is not a valid integer value - "},
        {"COM3", "fast", "'fast' is not a valid integer value - "},
        {"COM3", "12345", "Baud rate 12345 is not supported - "},
        // COMn says which device file it tried.
        {"COM7", "115200", "Specified device not found (\\\\.\\COM7, /dev/ttyS6). - "},
        // Other names are device names under /dev.
        {"ttyKuvarNoSuchPort", "115200",
         "Specified device not found (/dev/ttyKuvarNoSuchPort). - "},
        {"1", "115200", "Specified device not found (/dev/1). - "},
        // Texts that name no serial port never open anything.
        {"/", "115200", "'/' names no serial port - "},
        {"/dev/tty", "115200", "'/dev/tty' names no serial port - "},
        {"/dev/ptmx", "115200", "'/dev/ptmx' names no serial port - "},
        {"/dev/null", "115200",
         "Can't open specified device /dev/null (Error 25, Inappropriate ioctl for device) - "},
        {"", "115200", "No port given - "},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(fixture.OpenPort(QString::fromLatin1(c.port), QString::fromLatin1(c.rate)))
            << c.port;
        EXPECT_TRUE(w.StatusText(0).contains(QString::fromLatin1(c.error)))
            << c.port << " " << c.rate << ": " << w.StatusText(0).toStdString();
        EXPECT_EQ(w.TopPanel.lbComOpen->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    }
}

TEST_F(Link, HeldPortFailsWithTheComponentsError) {
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")));
    ASSERT_TRUE(sim.Started());
    // Another program holds the port.
    const int fd = ::open(QFile::encodeName(sim.Link()).constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(fixture.OpenPort(sim.Link()));
    EXPECT_TRUE(w.StatusText(0).contains(sim.Link())) << w.StatusText(0).toStdString();
    ::close(fd);
    EXPECT_TRUE(fixture.OpenPort(sim.Link()));
}

TEST_F(Link, UnpluggedDeviceIsReportedOnceAndThePortCloses) {
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")),
                    {QStringLiteral("--stream")});
    ASSERT_TRUE(sim.Started());
    const QString link = sim.Link();
    ASSERT_TRUE(fixture.OpenPort(link));
    ASSERT_TRUE(WaitFor([&] { return w.LeftColumn.Memo1->blockCount() > 2; }, 3000));
    sim.Kill();
    ASSERT_TRUE(WaitFor([&] { return !w.Link->PortOpen(); }, 3000));
    EXPECT_TRUE(
        w.StatusText(0).startsWith(QStringLiteral("Device disconnected (%1). - ").arg(link)))
        << w.StatusText(0).toStdString();
    EXPECT_EQ(w.TopPanel.lbComOpen->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_FALSE(w.Link->VaComm1->Active());
    // Still responsive: a page switch runs at once.
    fixture.ClickButton(w.TopPanel.btGY);
    EXPECT_EQ(w.PageControl1->currentIndex(), 3);
}

// The module's fastest line does not wait for a busy window: a window kept from its events for
// longer than the driver's queue lasts (a slow disk under a save, a long paint) still charts
// and logs every frame the module sent, in order.
TEST_F(Link, AWindowBusyLongerThanTheDriverHoldsLosesNoFrameOfTheFastestStream) {
    const QString sentLog = simDir.filePath(QStringLiteral("frames.log"));
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")),
                    {QStringLiteral("--baud"), QStringLiteral("256000"), QStringLiteral("--flood"),
                     QStringLiteral("850"), QStringLiteral("--log-frames"), sentLog});
    ASSERT_TRUE(sim.Started());
    ASSERT_TRUE(fixture.OpenPort(sim.Link(), QStringLiteral("256000")));
    const charts::TLineSeries& points = w.AcPage.Chart1->Chart().Series(0);
    const long before = points.Count();
    fixture.ClickButton(w.AcPage.btACStart);
    ASSERT_TRUE(WaitFor([&] { return points.Count() > before + 100; }, 3000));
    // 1.5 s of the line is about 38 KB, more than a pseudo-terminal holds.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Delay(300);
    sim.Pause();
    long shown = -1;
    while (shown != points.Count()) {
        shown = points.Count();
        Delay(300);
    }
    QFile file(sentLog);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList sent;
    while (!file.atEnd()) {
        sent << QString::fromLatin1(file.readLine().trimmed()).section(QLatin1Char(' '), 1);
    }
    ASSERT_GT(sent.size(), 1500);
    // Every frame the module logged is in the window's log, in order. The simulator logs what it
    // has written, so the pause may have caught a last few written frames not yet logged.
    QStringList logged = w.LeftColumn.Memo1->toPlainText().split(QLatin1Char('\n'));
    logged.removeIf([](const QString& line) { return !line.startsWith(QLatin1String("[1 02 ")); });
    ASSERT_GE(logged.size(), sent.size());
    EXPECT_EQ(logged.mid(0, sent.size()), sent);
    EXPECT_LE(logged.size() - sent.size(), 10);
    EXPECT_EQ(points.Count() - before, logged.size());
}

TEST(LinkPictures, MissingPictureLeavesThePortOpenButNotMarkedOpen) {
    QTemporaryDir settings, simDir, noPictures;
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")));
    ASSERT_TRUE(sim.Started());
    TfKUVAR w(TAppPaths{settings.filePath(QStringLiteral("UserSet.dat")), noPictures.path()});
    w.show();
    w.TopPanel.ePortNo->setEditText(sim.Link());
    QTest::mouseClick(w.TopPanel.btConnect, Qt::LeftButton);
    EXPECT_TRUE(w.StatusText(0).startsWith(QStringLiteral("Cannot load ")))
        << w.StatusText(0).toStdString();
    EXPECT_TRUE(w.Link->VaComm1->Active());
    EXPECT_FALSE(w.Link->PortOpen());
    EXPECT_EQ(w.TopPanel.lbComOpen->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    // The next press tries to open again, which the component refuses.
    QTest::mouseClick(w.TopPanel.btConnect, Qt::LeftButton);
    EXPECT_FALSE(w.StatusText(0).startsWith(QStringLiteral("Cannot load ")))
        << w.StatusText(0).toStdString();
    EXPECT_TRUE(w.Link->VaComm1->Active());
}
