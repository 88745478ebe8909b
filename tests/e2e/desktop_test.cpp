// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a desktop program against kuvar-sim: screens of any size and scale, ports that
// appear when they are plugged, names under /dev, the keyboard, and reconnecting by itself.
#include "tests/e2e/fault_support.h"
#include "tests/e2e/sim_process.h"
#include "tests/e2e/window_driver.h"

#include "app/delay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

using namespace kuvar;

namespace {

class Desktop : public ::testing::Test {
protected:
    QTemporaryDir simDir;
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;

    QStringList PortItems() const {
        QStringList items;
        for (int i = 0; i < w.TopPanel.ePortNo->count(); ++i)
            items << w.TopPanel.ePortNo->itemText(i);
        return items;
    }
};

// Where the window lands in a process of its own, on an offscreen screen of the given size.
struct TPlace {
    QRect frame, available;
    bool horizontalBar = false, verticalBar = false;
};
std::optional<TPlace> PlaceOnScreen(const QTemporaryDir& dir, int width, int height,
                                    const char* scale) {
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile json(config);
    if (!json.open(QIODevice::WriteOnly))
        return std::nullopt;
    json.write(QStringLiteral("{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, \"width\": "
                              "%1, \"height\": %2, \"logicalDpi\": 96}]}")
                   .arg(width)
                   .arg(height)
                   .toUtf8());
    json.close();
    const QByteArray platform = "offscreen:configfile=" + QFile::encodeName(config);
    const QByteArray oldPlatform = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform);
    if (scale)
        qputenv("QT_SCALE_FACTOR", scale);
    TChildProcess probe({KUVAR_PLACE_PROBE, dir.path().toStdString()});
    qputenv("QT_QPA_PLATFORM", oldPlatform);
    qunsetenv("QT_SCALE_FACTOR");
    const auto line = probe.ReadLine(std::chrono::seconds(20));
    probe.WaitExit(std::chrono::seconds(10));
    if (!line)
        return std::nullopt;
    std::istringstream in(*line);
    std::string frame, available, bars;
    int f[4], a[4], h = 0, v = 0;
    in >> frame >> f[0] >> f[1] >> f[2] >> f[3] >> available >> a[0] >> a[1] >> a[2] >> a[3] >>
        bars >> h >> v;
    if (!in)
        return std::nullopt;
    return TPlace{QRect(f[0], f[1], f[2], f[3]), QRect(a[0], a[1], a[2], a[3]), h != 0, v != 0};
}

} // namespace

// With QT_SCALE_FACTOR=2 a 1920 x 1080 screen is 960 x 540: the whole frame, title included,
// lies on it and the canvas scrolls. The same screen unscaled shows the design whole.
TEST(DesktopScreen, TheFrameLiesInsideTheScreenAtAnyScale) {
    QTemporaryDir dir;
    const auto scaled = PlaceOnScreen(dir, 1920, 1080, "2");
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled->available, QRect(0, 0, 960, 540));
    EXPECT_TRUE(scaled->available.contains(scaled->frame))
        << scaled->frame.x() << "," << scaled->frame.y() << " " << scaled->frame.width() << "x"
        << scaled->frame.height();
    EXPECT_TRUE(scaled->horizontalBar && scaled->verticalBar);

    QTemporaryDir other;
    const auto plain = PlaceOnScreen(other, 1920, 1080, nullptr);
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->available.contains(plain->frame));
    EXPECT_FALSE(plain->horizontalBar || plain->verticalBar);
    // The second start came back at the place the first one left, inside the screen again.
    const auto third = PlaceOnScreen(other, 1920, 1080, nullptr);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->frame, plain->frame);
}

TEST_F(Desktop, ASimulatorStartedLaterAppearsWhenTheListDropsDown) {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(simDir.path()));
    ASSERT_TRUE(QDir().mkpath(simDir.filePath(QStringLiteral("kuvar-sim"))));
    ::chmod(QFile::encodeName(simDir.filePath(QStringLiteral("kuvar-sim"))).constData(), 0700);
    TSimProcess sim(QStringLiteral("gy"), simDir.filePath(QStringLiteral("kuvar-sim/gy")));
    ASSERT_TRUE(sim.Started());
    EXPECT_FALSE(PortItems().contains(sim.Link()));
    w.TopPanel.ePortNo->setEditText(QStringLiteral("COM1"));
    w.TopPanel.ePortNo->showPopup();
    EXPECT_TRUE(PortItems().contains(sim.Link()))
        << PortItems().join(QLatin1Char(' ')).toStdString();
    const int index = PortItems().indexOf(sim.Link());
    const QString label = w.TopPanel.ePortNo->itemData(index, TPortCombo::kLabelRole).toString();
    EXPECT_TRUE(label.startsWith(sim.Link() + QStringLiteral(" — module simulator on /dev/pts/")))
        << label.toStdString();
    w.TopPanel.ePortNo->hidePopup();
    EXPECT_EQ(w.TopPanel.ePortNo->currentText(), QStringLiteral("COM1"));
    qunsetenv("XDG_RUNTIME_DIR");
}

// "pts/3" is the device /dev/pts/3, as "ttyUSB0" is /dev/ttyUSB0.
TEST_F(Desktop, ANameWithoutAPathOpensItsDevicePath) {
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")));
    ASSERT_TRUE(sim.Started());
    const QString terminal = QFileInfo(sim.Link()).symLinkTarget();
    ASSERT_TRUE(terminal.startsWith(QStringLiteral("/dev/"))) << terminal.toStdString();
    ASSERT_TRUE(fixture.OpenPort(terminal.mid(5))) << w.StatusText(0).toStdString();
    EXPECT_EQ(QString::fromStdString(w.Link->VaComm1->PortName()), terminal);
}

TEST_F(Desktop, EnterInAManualLinePressesItsSend) {
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")));
    ASSERT_TRUE(sim.Started());
    ASSERT_TRUE(fixture.OpenPort(sim.Link()));
    w.LeftColumn.edSend2->setText(QStringLiteral("<1 VER>"));
    QTest::keyClick(w.LeftColumn.edSend2, Qt::Key_Return);
    EXPECT_EQ(w.StatusText(1), QStringLiteral("<1 VER>52\r"));
    EXPECT_TRUE(
        WaitFor([&] { return fixture.LogContains(QStringLiteral("[1 VER KUVAR-AC")); }, 3000));
}

// A click on the lower rows of "Yaw Reset", inside the indicator's square but off its face,
// runs the button's handler (its question box).
TEST_F(Desktop, AClickOnYawResetBesideTheIndicatorReachesTheButton) {
    fixture.ClickButton(w.TopPanel.btGY);
    QWidget* reset = w.GyPage.btGYAngleReset;
    const QPoint at(10, w.GyPage.abGYCircle->geometry().top() + 5 - reset->geometry().top());
    ASSERT_TRUE(reset->rect().contains(at));
    w.Canvas->ensureWidgetVisible(reset);
    fixture.boxes.SetAnswer(QMessageBox::No);
    QTest::mouseClick(w.windowHandle(), Qt::LeftButton, Qt::NoModifier, reset->mapTo(&w, at));
    EXPECT_TRUE(WaitFor([&] { return !fixture.boxes.seen.isEmpty(); }, 2000));
}

// The simulator hangs up mid-stream and then serves the same link again: the window reopens it
// by itself within a second, sends nothing, and the stream shows again once Start is pressed.
TEST_F(Desktop, AHungUpDeviceIsReopenedWhenItComesBack) {
    const QString link = simDir.filePath(QStringLiteral("ac"));
    {
        TSimProcess sim(QStringLiteral("ac"), link,
                        {QStringLiteral("--stream"), QStringLiteral("--interval"),
                         QStringLiteral("10"), QStringLiteral("--hangup-frames"),
                         QStringLiteral("30")});
        ASSERT_TRUE(sim.Started());
        ASSERT_TRUE(fixture.OpenPort(link)) << w.StatusText(0).toStdString();
        ASSERT_TRUE(WaitFor([&] { return !w.Link->PortOpen(); }, 5000));
        EXPECT_TRUE(
            w.StatusText(0).startsWith(QStringLiteral("Device disconnected (%1).").arg(link)));
        EXPECT_TRUE(w.Link->Reconnection.Waiting());
    }
    // Waiting costs no measurable CPU.
    const double cpu = CpuSeconds();
    Delay(1500);
    EXPECT_LT(CpuSeconds() - cpu, 0.15) << "CPU seconds over 1.5 s of waiting";
    EXPECT_FALSE(w.Link->PortOpen());

    const QString sentBefore = w.StatusText(1);
    // A rate typed meanwhile is for the next connect; the device comes back at the rate it had.
    w.TopPanel.cbBaudrate->setEditText(QStringLiteral("57600"));
    TSimProcess again(QStringLiteral("ac"), link);
    ASSERT_TRUE(again.Started());
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitFor([&] { return w.Link->PortOpen(); }, 5000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(w.StatusText(0), QStringLiteral("Reconnected (%1).").arg(link));
    EXPECT_EQ(w.StatusText(1), sentBefore) << "nothing was sent";
    EXPECT_EQ(w.Link->VaComm1->Baudrate(), serial::br115200) << "the rate it had";

    w.AcPage.Chart1->ClearClick();
    fixture.ClickButton(w.AcPage.btACStart);
    EXPECT_TRUE(WaitFor([&] { return w.AcPage.Chart1->Chart().Series(0).Count() >= 5; }, 4000));
}

TEST_F(Desktop, ConnectWhileWaitingCancelsTheWait) {
    const QString link = simDir.filePath(QStringLiteral("ac"));
    {
        TSimProcess sim(
            QStringLiteral("ac"), link,
            {QStringLiteral("--stream"), QStringLiteral("--hangup-frames"), QStringLiteral("3")});
        ASSERT_TRUE(sim.Started());
        ASSERT_TRUE(fixture.OpenPort(link));
        ASSERT_TRUE(WaitFor([&] { return w.Link->Reconnection.Waiting(); }, 5000));
    }
    // The press does what it always does on a closed port: the link is gone, so it says so.
    fixture.ClickButton(w.TopPanel.btConnect);
    EXPECT_FALSE(w.Link->Reconnection.Waiting());
    EXPECT_TRUE(
        w.StatusText(0).startsWith(QStringLiteral("Specified device not found (%1).").arg(link)))
        << w.StatusText(0).toStdString();
    TSimProcess again(QStringLiteral("ac"), link);
    ASSERT_TRUE(again.Started());
    Delay(1500);
    EXPECT_FALSE(w.Link->PortOpen());
}
