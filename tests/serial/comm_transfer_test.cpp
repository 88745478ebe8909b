// SPDX-License-Identifier: GPL-3.0-or-later
// Receive and transmit paths over a real pseudo-terminal, with injected faults where a
// pseudo-terminal cannot make them.
#include "pty_fixture.h"

#include <algorithm>
#include <cerrno>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kuvar::serial::test {
namespace {

int WriteCalls(FaultPlan& plan) {
    std::lock_guard g(plan.lock);
    return plan.writeCalls;
}

TEST_F(CommTest, ReceivedBytesReachOnRxCharOnThePumpingThread) {
    std::string got;
    std::vector<int> counts;
    const auto uiThread = std::this_thread::get_id();
    comm->OnRxChar = [&](TVaCustomComm* s, int count) {
        EXPECT_EQ(std::this_thread::get_id(), uiThread);
        EXPECT_EQ(s, comm.get());
        counts.push_back(count);
        got += comm->ReadText();
    };
    comm->Open();
    const std::string sent("[01 AC 12]\0\r", 12); // a zero byte is an ordinary byte
    pty.Send(sent);
    ASSERT_TRUE(PumpUntil([&] { return got.size() >= sent.size(); }));
    EXPECT_EQ(got, sent);
    ASSERT_FALSE(counts.empty());
    EXPECT_GT(counts.front(), 0);
    EXPECT_EQ(comm->ReadText(), ""); // nothing waits
}

TEST_F(CommTest, NoRxCharWhenTheBytesWereAlreadyRead) {
    int calls = 0;
    comm->OnRxChar = [&](TVaCustomComm*, int) { ++calls; };
    comm->Open();
    pty.Send("xy");
    // The UI thread reads before the queued step runs: the step then finds nothing.
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (comm->InQueueCount() != 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(comm->ReadText(), "xy");
    ui->PumpFor(100ms);
    EXPECT_EQ(calls, 0);
}

TEST_F(CommTest, BytesLeftUnreadAreCountedAgainWithTheNextBurst) {
    std::vector<int> counts;
    comm->OnRxChar = [&](TVaCustomComm*, int count) { counts.push_back(count); };
    comm->Open();
    pty.Send("ab");
    ASSERT_TRUE(PumpUntil([&] { return counts.size() == 1; }));
    ui->PumpFor(100ms);
    EXPECT_EQ(counts.size(), 1u); // not raised again for the same bytes
    pty.Send("c");
    ASSERT_TRUE(PumpUntil([&] { return counts.size() == 2; }));
    EXPECT_EQ(counts.back(), 3);
    EXPECT_EQ(comm->ReadText(), "abc");
}

// Bytes that arrive while the handler runs, after its read, are new: they raise the next event
// even when nothing follows them (the end of a reply would otherwise wait for the next one).
TEST_F(CommTest, BytesArrivingDuringTheHandlerAfterItsReadRaiseTheNextEvent) {
    std::string got;
    comm->OnRxChar = [&](TVaCustomComm*, int) {
        got += comm->ReadText();
        if (got == "first") {
            pty.Send("late");
            const auto deadline = std::chrono::steady_clock::now() + 1s;
            while (comm->InQueueCount() < 4 && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(1ms);
        }
    };
    comm->Open();
    pty.Send("first");
    EXPECT_TRUE(PumpUntil([&] { return got == "firstlate"; })) << got;
}

// A handler that leaves the driver's queue full would otherwise never hear of it again: the
// queue cannot grow, and the sender waits for room.
TEST_F(CommTest, FullQueueLeftUnreadIsRaisedAgain) {
    std::string got;
    int calls = 0;
    comm->OnRxChar = [&](TVaCustomComm*, int) {
        if (++calls > 1) {
            got += comm->ReadText();
            return;
        }
        // The first handler is busy until the queue is full and reads nothing.
        const auto deadline = std::chrono::steady_clock::now() + 1s;
        while (comm->InQueueCount() < 4095 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
    };
    comm->Open();
    const std::string sent(6000, 'q');
    pty.Send(sent);
    EXPECT_TRUE(PumpUntil([&] { return got.size() == sent.size(); }, 3000ms))
        << got.size() << " bytes after " << calls << " events";
}

// A stream whose bytes come closer together than a receive step's spacing is handed over a few
// bytes per step instead of one step per byte, and every byte arrives once, in order.
TEST_F(CommTest, AFastStreamComesInSpacedStepsWithNothingLost) {
    std::string got;
    std::vector<std::chrono::steady_clock::time_point> steps;
    comm->OnRxChar = [&](TVaCustomComm*, int) {
        steps.push_back(std::chrono::steady_clock::now());
        got += comm->ReadText();
    };
    comm->Open();
    std::string sent;
    for (int i = 0; i < 300; ++i)
        sent += static_cast<char>('!' + i % 90);
    std::thread writer([&] {
        for (char c : sent) {
            pty.Send(std::string(1, c));
            std::this_thread::sleep_for(500us);
        }
    });
    const bool complete = PumpUntil([&] { return got.size() == sent.size(); }, 5000ms);
    writer.join();
    ASSERT_TRUE(complete) << got.size() << " of " << sent.size() << " bytes";
    EXPECT_EQ(got, sent);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_LT(steps.size(), sent.size() / 2) << "about one step per byte";
    auto closest = std::chrono::steady_clock::duration::max();
    for (std::size_t i = 1; i < steps.size(); ++i)
        closest = std::min(closest, steps[i] - steps[i - 1]);
    EXPECT_GE(closest, 4ms);
}

// A line does not wait for its reader: what finds the driver's queue full is lost. A handler
// busy for far longer than the driver's few KiB last at this rate still gets every byte.
TEST_F(CommTest, AHandlerBusyLongerThanTheDriverHoldsLosesNothingOfAFastStream) {
    std::string got;
    bool first = true;
    comm->OnRxChar = [&](TVaCustomComm*, int) {
        if (std::exchange(first, false))
            std::this_thread::sleep_for(500ms);
        got += comm->ReadText();
    };
    comm->Open();
    std::string sent;
    for (int i = 0; i < 100'000; ++i)
        sent += static_cast<char>('!' + i % 90);
    // 1,000 bytes every 4 ms, written as a line would: never waiting for room.
    std::size_t refused = 0;
    std::thread line([&] {
        for (std::size_t at = 0; at < sent.size(); at += 1000) {
            const std::size_t n = std::min<std::size_t>(1000, sent.size() - at);
            const ssize_t w = ::write(pty.Master(), sent.data() + at, n);
            refused += n - static_cast<std::size_t>(std::max<ssize_t>(w, 0));
            std::this_thread::sleep_for(4ms);
        }
    });
    const bool complete = PumpUntil([&] { return got.size() >= sent.size(); }, 5000ms);
    line.join();
    EXPECT_EQ(refused, 0u);
    ASSERT_TRUE(complete) << got.size() << " of " << sent.size() << " bytes";
    EXPECT_EQ(got, sent);
}

TEST_F(CommTest, RxCharComesBeforeTheErrorOfTheSameEvent) {
    UseFaults();
    std::vector<std::string> order;
    comm->OnRxChar = [&](TVaCustomComm*, int) {
        order.push_back("rx");
        comm->ReadText();
    };
    comm->OnError = [&](TVaCustomComm*, int) { order.push_back("error"); };
    comm->Open();
    {
        std::lock_guard g(faults->plan.lock);
        faults->plan.extraParityErrors = 1;
    }
    pty.Send("p");
    ASSERT_TRUE(PumpUntil([&] { return !order.empty(); }));
    ui->PumpFor(50ms);
    // The count query of OnRxChar consumed the flags, so OnError sees none.
    EXPECT_EQ(order, (std::vector<std::string>{"rx"}));
}

TEST_F(CommTest, ReadFaults) {
    UseFaults();
    comm->Open();
    pty.Send("abc");
    ASSERT_TRUE(PumpUntil([&] { return comm->InQueueCount() == 3; }));
    {
        std::lock_guard g(faults->plan.lock);
        faults->plan.readErrors = {EINTR};
    }
    EXPECT_EQ(comm->ReadText(), "abc"); // interrupted read retried
    pty.Send("d");
    ASSERT_TRUE(PumpUntil([&] { return comm->InQueueCount() == 1; }));
    {
        std::lock_guard g(faults->plan.lock);
        faults->plan.readErrors = {EIO};
    }
    try {
        comm->ReadText();
        ADD_FAILURE() << "no error";
    } catch (const EVaCommError& e) {
        EXPECT_STREQ(e.what(), "Read error (5), Input/output error");
    }
}

TEST_F(CommTest, WriteTextResults) {
    EXPECT_TRUE(comm->WriteText(""));     // closed, empty
    EXPECT_FALSE(comm->WriteText("abc")); // closed: nothing sent, nothing raised
    int txEmpty = 0;
    comm->OnTxEmpty = [&](TVaCustomComm*) { ++txEmpty; };
    comm->Open();
    EXPECT_TRUE(comm->WriteText(""));
    ASSERT_TRUE(PumpUntil([&] { return txEmpty == 1; })); // a write of 0 bytes drains too
    std::string expected;
    for (int i = 0; i < 50; ++i) {
        const std::string frame = "<" + std::to_string(i) + "ID?>\r";
        expected += frame;
        ASSERT_TRUE(comm->WriteText(frame));
        ui->Pump();
    }
    std::string got;
    ASSERT_TRUE(PumpUntil([&] {
        got += pty.Receive(expected.size() - got.size(), 10ms);
        return got.size() >= expected.size();
    }));
    EXPECT_EQ(got, expected);
}

TEST_F(CommTest, QueueCapacityAndTimeout) {
    comm->Buffers().SetWriteSize(64);
    comm->Buffers().SetWriteTimeout(100);
    // Hold the worker inside its first UI step, so the queue cannot drain meanwhile.
    comm->Open();
    const std::string full(64, 'a');
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(comm->WriteText(full)); // exactly WriteSize into an empty queue: at once
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 50ms);
    // The write worker drains the queue, then waits for its TXEMPTY step, which we do not pump.
    ASSERT_EQ(pty.Receive(64), full);
    const std::string tooLong(65, 'b');
    t0 = std::chrono::steady_clock::now();
    try {
        comm->WriteText(tooLong);
        ADD_FAILURE() << "no error";
    } catch (const EVaCommError& e) {
        EXPECT_STREQ(e.what(), "Output buffer is full. Please check comm status.");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - t0, 100ms);
    ui->Pump();
    EXPECT_TRUE(comm->WriteText("z"));
    ASSERT_TRUE(PumpUntil([&] { return pty.Receive(1, 10ms) == "z"; }));
}

TEST_F(CommTest, WriteFaultsFinishTheRest) {
    UseFaults();
    int errors = 0;
    comm->OnError = [&](TVaCustomComm*, int) { ++errors; };
    comm->Open();
    {
        std::lock_guard g(faults->plan.lock);
        faults->plan.writeErrors = {EINTR, EAGAIN, EINTR};
        faults->plan.shortWriteMax = 3;
    }
    const std::string text = "<01SCALE,2>5A\r";
    ASSERT_TRUE(comm->WriteText(text));
    std::string got;
    ASSERT_TRUE(PumpUntil([&] {
        got += pty.Receive(text.size() - got.size(), 10ms);
        return got.size() >= text.size();
    }));
    EXPECT_EQ(got, text);
    EXPECT_GE(WriteCalls(faults->plan), 8); // 3 faults and 5 short writes

    // A failure that may pass: the error step runs and the same bytes go out again.
    {
        std::lock_guard g(faults->plan.lock);
        faults->plan.shortWriteMax = 0;
        faults->plan.writeErrors = {ENOSPC};
        faults->plan.writeCalls = 0;
    }
    ASSERT_TRUE(comm->WriteText("again"));
    std::string again;
    ASSERT_TRUE(PumpUntil([&] {
        again += pty.Receive(5 - again.size(), 10ms);
        return again.size() >= 5;
    }));
    EXPECT_EQ(again, "again");
    EXPECT_EQ(WriteCalls(faults->plan), 2);
    EXPECT_EQ(errors, 0); // the line itself had no error flags
}

TEST_F(CommTest, InterruptedWaitsAreRetried) {
    UseFaults();
    faults->plan.waitErrors = {EINTR, EINTR};
    std::string got;
    comm->OnRxChar = [&](TVaCustomComm*, int) { got += comm->ReadText(); };
    comm->Open();
    pty.Send("ok");
    ASSERT_TRUE(PumpUntil([&] { return got == "ok"; }));
    EXPECT_TRUE(appErrors.empty());
}

TEST_F(CommTest, DirectWrite) {
    comm->SetDirectWrite(true);
    comm->SetMonitorEvents({ceRxChar, ceTxEmpty});
    int txEmpty = 0;
    comm->OnTxEmpty = [&](TVaCustomComm*) { ++txEmpty; };
    comm->Open();
    EXPECT_EQ(comm->EventMask(), EV_RXCHAR | EV_TXEMPTY);
    EXPECT_EQ(comm->WriteData("direct", 6), 6);
    EXPECT_EQ(pty.Receive(6), "direct");
    EXPECT_TRUE(PumpUntil([&] { return txEmpty == 1; }));
}

} // namespace
} // namespace kuvar::serial::test
