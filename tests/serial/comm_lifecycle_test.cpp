// SPDX-License-Identifier: GPL-3.0-or-later
// Closing from anywhere, destroying while open, and losing the device.
#include "pty_fixture.h"

#include <ctime>

namespace kuvar::serial::test {
namespace {

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

TEST_F(CommTest, CloseInsideOnRxCharReturnsAtOnce) {
    int rx = 0, closed = 0;
    comm->OnClose = [&](TVaCustomComm*) { ++closed; };
    comm->OnRxChar = [&](TVaCustomComm*, int) {
        ++rx;
        const auto t0 = std::chrono::steady_clock::now();
        comm->Close(); // the event worker is blocked in this very step
        EXPECT_LT(std::chrono::steady_clock::now() - t0, 100ms);
        EXPECT_FALSE(comm->Active());
    };
    comm->Open();
    pty.Send("a");
    ASSERT_TRUE(PumpUntil([&] { return rx == 1; }));
    EXPECT_EQ(closed, 1);
    pty.Send("b");
    EXPECT_TRUE(PumpUntil([] { return TVaCommLiveWorkers() == 0; }));
    EXPECT_EQ(rx, 1);
}

TEST_F(CommTest, DestroyWhileOpenClosesWithoutOnClose) {
    int closed = 0;
    comm->OnClose = [&](TVaCustomComm*) { ++closed; };
    comm->OnRxChar = [&](TVaCustomComm*, int) {};
    comm->Open();
    pty.Send("pending"); // a step may be queued for the component that goes away
    ASSERT_TRUE(ui->PumpFor(0ms) >= 0);
    comm.reset();
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(PumpUntil([] { return TVaCommLiveWorkers() == 0; }));
    // The device was released.
    TVaComm again(ui);
    again.SetDevicePath(pty.Path());
    again.Open();
    EXPECT_TRUE(again.Active());
}

TEST_F(CommTest, CloseWhileTheWriteWorkerIsBlockedOnAFullLine) {
    comm->Buffers().SetWriteSize(1 << 16);
    comm->Open();
    // Nobody reads the master, so the line fills up and the worker waits for room.
    const std::string block(1 << 16, 'x');
    ASSERT_TRUE(comm->WriteText(block));
    ASSERT_TRUE(PumpUntil(
                    [&] {
                        std::uint32_t errors;
                        TVaComStat stat;
                        comm->ReadStatus(errors, stat);
                        return stat.cbOutQue > 0;
                    },
                    1000ms) ||
                true);
    ui->PumpFor(50ms);
    const auto t0 = std::chrono::steady_clock::now();
    comm->Close();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 100ms);
    EXPECT_TRUE(PumpUntil([] { return TVaCommLiveWorkers() == 0; }));
}

TEST_F(CommTest, HangUpGivesOneErrorAndNoCpuUse) {
    std::vector<int> errors;
    comm->OnError = [&](TVaCustomComm*, int e) { errors.push_back(e); };
    comm->OnRxChar = [&](TVaCustomComm*, int) { comm->ReadText(); };
    comm->Open();
    ASSERT_TRUE(comm->WriteText("ping"));
    pty.CloseMaster();
    ASSERT_TRUE(PumpUntil([&] { return !errors.empty(); }));
    EXPECT_TRUE(comm->DeviceLost());
    // The workers stop calling the device: they end, and the process's CPU time stays flat.
    const double cpu0 = ProcessCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - t0 < 1s)
        ui->PumpFor(100ms);
    const double used = ProcessCpuSeconds() - cpu0;
    EXPECT_LT(used, 0.05) << "CPU seconds used in the second after the hang-up";
    EXPECT_EQ(errors, (std::vector<int>{static_cast<int>(CE_IOE)}));
    // Writing to a lost device says so instead of queueing for nobody.
    EXPECT_THROW(comm->WriteText("x"), EVaCommError);
    comm->Close();
    EXPECT_FALSE(comm->Active());
    EXPECT_TRUE(PumpUntil([] { return TVaCommLiveWorkers() == 0; }));
}

TEST_F(CommTest, HandlerExceptionsInStepsGoToTheApplication) {
    int rx = 0;
    comm->OnRxChar = [&](TVaCustomComm*, int) {
        ++rx;
        comm->ReadText();
        throw EVaCommError("handler failed");
    };
    comm->Open();
    pty.Send("1");
    ASSERT_TRUE(PumpUntil([&] { return appErrors.size() == 1; }));
    pty.Send("2"); // the worker carries on
    ASSERT_TRUE(PumpUntil([&] { return rx == 2; }));
    EXPECT_EQ(appErrors.front(), "handler failed");
}

} // namespace
} // namespace kuvar::serial::test
