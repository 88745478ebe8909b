// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/delay.h"
#include "app/device_watch.h"
#include "tests/app/port_source_fake.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "tests/app/qstring_print.h"

#include <gtest/gtest.h>

#include <memory>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace kuvar;

namespace {

bool WaitFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        Delay(5);
    }
    return true;
}

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A pseudo-terminal that stands for a device; its slave path is what a link leads to.
struct TTerminal {
    TTerminal() { ::openpty(&master, &slave, name, nullptr, nullptr); }
    ~TTerminal() {
        ::close(slave);
        ::close(master);
    }
    int master = -1, slave = -1;
    char name[64] = {};
};

class DeviceWatch : public ::testing::Test {
protected:
    DeviceWatch() {
        source->folders = {dir.path()};
        watch.tryReopen = [this](const QString& path) {
            reopened << path;
            return answer;
        };
    }
    QString PathOf(const char* link) const { return dir.filePath(QString::fromLatin1(link)); }
    // Points link at a new terminal, as a simulator serving again or an adapter plugged in does.
    void Serve(const char* link) {
        terminals.push_back(std::make_unique<TTerminal>());
        const QByteArray path = QFile::encodeName(PathOf(link));
        const QByteArray temp = path + ".new";
        ASSERT_EQ(::symlink(terminals.back()->name, temp.constData()), 0);
        ASSERT_EQ(::rename(temp.constData(), path.constData()), 0);
    }
    // The device goes away. Its terminal stays open, so that no new terminal takes its number
    // and revives the link.
    void Unplug(const char* link) { QFile::remove(PathOf(link)); }
    TPortInfo Usb(const char* link, const char* serial) const {
        return {PathOf(link), "FT232R USB UART", "FTDI", serial, 0x0403, 0x6001};
    }

    QTemporaryDir dir;
    std::shared_ptr<TFakePortSource> source = std::make_shared<TFakePortSource>();
    TDeviceWatch watch{source};
    std::vector<std::unique_ptr<TTerminal>> terminals;
    QStringList reopened;
    bool answer = true;
};

} // namespace

TEST_F(DeviceWatch, TheSamePathServedAgainIsReopenedWithinASecond) {
    Serve("ac");
    watch.Remember(PathOf("ac"));
    Unplug("ac");
    watch.Start();
    Delay(100);
    EXPECT_TRUE(reopened.isEmpty());
    QElapsedTimer clock;
    clock.start();
    Serve("ac");
    ASSERT_TRUE(WaitFor([&] { return !reopened.isEmpty(); }, 3000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(reopened, QStringList{PathOf("ac")});
    EXPECT_FALSE(watch.Waiting());
}

// The node that failed is still there when the watch starts: only a new one counts.
TEST_F(DeviceWatch, TheNodeThatFailedIsNotReopenedButANewOneAtThePathIs) {
    Serve("ac");
    watch.Remember(PathOf("ac"));
    watch.Start();
    Delay(1300);
    EXPECT_TRUE(reopened.isEmpty());
    Serve("ac"); // a different device at the same path
    ASSERT_TRUE(WaitFor([&] { return !reopened.isEmpty(); }, 3000));
}

TEST_F(DeviceWatch, AFailedReopenWaitsForTheNextChange) {
    Serve("ac");
    watch.Remember(PathOf("ac"));
    Unplug("ac");
    watch.Start();
    answer = false; // busy, or its permissions not set yet
    Serve("ac");
    ASSERT_TRUE(WaitFor([&] { return reopened.size() == 1; }, 3000));
    Delay(1300);
    EXPECT_EQ(reopened.size(), 1) << "the same node is not opened again and again";
    EXPECT_TRUE(watch.Waiting());
    answer = true;
    Serve("ac");
    ASSERT_TRUE(WaitFor([&] { return reopened.size() == 2; }, 3000));
    EXPECT_FALSE(watch.Waiting());
}

// A USB adapter comes back at another path: the same serial number and VID:PID are the same
// adapter; another serial number is another adapter, and is left alone.
TEST_F(DeviceWatch, AUsbAdapterIsFollowedToANewPathByItsSerialNumber) {
    Serve("ttyUSB0");
    source->ports = {Usb("ttyUSB0", "A50285BI")};
    watch.Remember(PathOf("ttyUSB0"));
    Unplug("ttyUSB0");
    watch.Start();

    source->ports = {Usb("ttyUSB1", "B77001XY")};
    Serve("ttyUSB1");
    Delay(1300);
    EXPECT_TRUE(reopened.isEmpty()) << reopened.join(QLatin1Char(' ')).toStdString();

    TPortInfo otherProduct = Usb("ttyUSB2", "A50285BI");
    otherProduct.productId = 0x6015;
    source->ports = {Usb("ttyUSB1", "B77001XY"), otherProduct};
    Serve("ttyUSB2");
    Delay(600);
    EXPECT_TRUE(reopened.isEmpty());

    source->ports = {Usb("ttyUSB1", "B77001XY"), otherProduct, Usb("ttyUSB3", "A50285BI")};
    Serve("ttyUSB3");
    ASSERT_TRUE(WaitFor([&] { return !reopened.isEmpty(); }, 3000));
    EXPECT_EQ(reopened, QStringList{PathOf("ttyUSB3")});
    EXPECT_EQ(watch.Path(), PathOf("ttyUSB3"));
}

TEST_F(DeviceWatch, CancelEndsTheWait) {
    Serve("ac");
    watch.Remember(PathOf("ac"));
    Unplug("ac");
    watch.Start();
    watch.Cancel();
    Serve("ac");
    Delay(1300);
    EXPECT_TRUE(reopened.isEmpty());
}

// Nothing happens: the watch looks once a second, lists no ports, and uses no measurable CPU.
TEST_F(DeviceWatch, AWaitWhereNothingHappensCostsNothing) {
    Serve("ttyUSB0");
    source->ports = {Usb("ttyUSB0", "A50285BI")};
    watch.Remember(PathOf("ttyUSB0"));
    Unplug("ttyUSB0");
    const int listings = source->listings;
    const double cpu = CpuSeconds();
    watch.Start();
    Delay(3000);
    const double used = CpuSeconds() - cpu;
    EXPECT_LE(watch.Looks(), 5);
    EXPECT_LE(source->listings - listings, 1) << "the port list is asked only when something moves";
    EXPECT_LT(used, 0.1) << "CPU seconds over three seconds of waiting";
}

TEST_F(DeviceWatch, SwitchedOffItNeverWaits) {
    Serve("ac");
    watch.Remember(PathOf("ac"));
    Unplug("ac");
    watch.SetEnabled(false);
    watch.Start();
    EXPECT_FALSE(watch.Waiting());
    Serve("ac");
    Delay(300);
    EXPECT_TRUE(reopened.isEmpty());
}
