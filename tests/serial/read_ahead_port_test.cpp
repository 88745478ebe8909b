// SPDX-License-Identifier: GPL-3.0-or-later
// The receive queue in front of the driver, over a real pseudo-terminal: to a reader the two
// queues are one, oldest bytes first.
#include "pty_fixture.h"

#include "serial/read_ahead_port.h"

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kuvar::serial::test {
namespace {

class ReadAhead : public ::testing::Test {
protected:
    void SetUp() override {
        // Raw, as the component sets the line when it opens it.
        const int fd = ::open(pty.Path().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios t{};
        ASSERT_EQ(::tcgetattr(fd, &t), 0);
        ::cfmakeraw(&t);
        ASSERT_EQ(::tcsetattr(fd, TCSANOW, &t), 0);
        ::close(fd);
    }
    std::unique_ptr<TVaReadAheadPort> Open(std::size_t capacity) {
        int error = 0;
        auto device = faults->Open(pty.Path(), error);
        EXPECT_TRUE(device) << error;
        EXPECT_EQ(device->SetImmediateReads(), 0);
        return std::make_unique<TVaReadAheadPort>(std::move(device), capacity);
    }
    // Sends and waits until the driver counts the bytes.
    void Send(TVaReadAheadPort& port, const std::string& bytes) {
        std::uint32_t before = Unread(port);
        pty.Send(bytes);
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (Unread(port) < before + bytes.size() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
    }
    static std::uint32_t Unread(TVaReadAheadPort& port) {
        std::uint32_t in = 0, out = 0;
        EXPECT_EQ(port.QueueCounts(in, out), 0);
        return in;
    }
    static std::string Read(TVaReadAheadPort& port, std::size_t count) {
        std::string got(count, '\0');
        const TVaIoResult r = port.Read(got.data(), count);
        EXPECT_EQ(r.error, 0);
        got.resize(r.count);
        return got;
    }
    static std::string Bytes(std::size_t n, char first) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i)
            s += static_cast<char>(first + i % 60);
        return s;
    }

    Pty pty;
    std::shared_ptr<FaultBackend> faults = std::make_shared<FaultBackend>();
};

TEST_F(ReadAhead, CountsAndReadsAreOfBothQueuesOldestFirst) {
    auto port = Open(1 << 20);
    const std::string a = Bytes(3000, '!'), b = Bytes(500, 'A');
    Send(*port, a);
    port->ReadAhead(1024);
    EXPECT_EQ(port->Held(), a.size());
    Send(*port, b);
    // Too few to be worth a read of their own: they stay in the driver.
    port->ReadAhead(1024);
    EXPECT_EQ(port->Held(), a.size());
    EXPECT_EQ(Unread(*port), a.size() + b.size());
    TVaComStat stat;
    std::uint32_t errors = 0;
    ASSERT_EQ(port->ClearError(errors, stat), 0);
    EXPECT_EQ(stat.cbInQue, a.size() + b.size());
    EXPECT_EQ(Read(*port, 1000), a.substr(0, 1000));
    EXPECT_EQ(Read(*port, 10000), a.substr(1000) + b);
    EXPECT_EQ(Unread(*port), 0u);
}

TEST_F(ReadAhead, AFullQueueLeavesTheRestInTheDriver) {
    auto port = Open(2000);
    const std::string a = Bytes(3000, '!');
    Send(*port, a);
    port->ReadAhead(1);
    EXPECT_EQ(port->Held(), 2000u);
    EXPECT_EQ(Unread(*port), a.size());
    EXPECT_EQ(Read(*port, 500), a.substr(0, 500));
    // The room that came free is used again.
    port->ReadAhead(1);
    EXPECT_EQ(port->Held(), 2000u);
    EXPECT_EQ(Read(*port, 5000), a.substr(500));
}

TEST_F(ReadAhead, HeldBytesMakeThePortReadableAtOnce) {
    auto port = Open(1 << 20);
    Send(*port, Bytes(2000, '!'));
    port->ReadAhead(1);
    const TVaWaitResult held = port->Wait(true, false, 1000);
    EXPECT_EQ(held.status, TVaWaitStatus::Ready);
    EXPECT_TRUE(held.readable);
    Read(*port, 2000);
    EXPECT_EQ(port->Wait(true, false, 20).status, TVaWaitStatus::TimedOut);
}

// Bytes received before a failure are delivered; the failure shows at the next read.
TEST_F(ReadAhead, HeldBytesComeBeforeTheDriversFailure) {
    auto port = Open(1 << 20);
    const std::string a = Bytes(2000, '!');
    Send(*port, a);
    port->ReadAhead(1);
    Send(*port, "x");
    {
        std::lock_guard g(faults->plan.lock);
        faults->plan.readErrors = {EIO};
    }
    EXPECT_EQ(Read(*port, 5000), a);
    char c = 0;
    EXPECT_EQ(port->Read(&c, 1).error, EIO);
    EXPECT_EQ(Read(*port, 1), "x");
}

} // namespace
} // namespace kuvar::serial::test
