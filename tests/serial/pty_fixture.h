// SPDX-License-Identifier: GPL-3.0-or-later
// A real pseudo-terminal for the component, a pumped UI thread, and a back end that can
// inject the faults a pseudo-terminal cannot make.
#pragma once

#include "serial/pumped_ui_thread.h"
#include "serial/va_comm.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

namespace kuvar::serial::test {

using namespace std::chrono_literals;

class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& Path() const { return path_; }
    int Master() const { return master_; }
    void Send(const std::string& bytes);
    // Reads from the master until count bytes came or the time-out passed.
    std::string Receive(std::size_t count, std::chrono::milliseconds timeout = 2000ms);
    void CloseMaster();

private:
    int master_ = -1;
    int slave_ = -1; // kept open so that the line never hangs up between opens
    std::string path_;
};

// Faults for the next calls, consumed in order; then the real device answers.
struct FaultPlan {
    std::mutex lock;
    std::deque<int> writeErrors;
    std::deque<int> readErrors;
    std::deque<int> waitErrors;
    std::size_t shortWriteMax = 0;       // 0: whole writes
    std::uint32_t refusedRate = 0;       // SetState of this rate fails with EINVAL
    std::uint32_t extraParityErrors = 0; // added to the parity counter the device reports
    int writeCalls = 0;
    int waitCalls = 0;
};

class FaultBackend final : public ISerialBackend,
                           public std::enable_shared_from_this<FaultBackend> {
public:
    std::shared_ptr<ISerialPort> Open(const std::string& portName, int& error) override;
    std::string ErrorText(int code) override { return real_->ErrorText(code); }
    FaultPlan plan;

private:
    std::shared_ptr<ISerialBackend> real_ = DefaultSerialBackend();
};

// Waits (pumping nothing) until every worker of the process has ended.
bool WorkersEnd(std::chrono::milliseconds timeout = 2000ms);

class CommTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Pumps the UI queue until pred() holds (bounded).
    bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds t = 2000ms) {
        return ui->PumpUntil(pred, t);
    }
    void UseFaults(); // rebuilds comm on the fault back end

    Pty pty;
    std::shared_ptr<TVaPumpedUiThread> ui;
    std::shared_ptr<FaultBackend> faults;
    std::unique_ptr<TVaComm> comm;
    std::vector<std::string> appErrors;
};

} // namespace kuvar::serial::test
