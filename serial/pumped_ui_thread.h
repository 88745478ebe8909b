// SPDX-License-Identifier: GPL-3.0-or-later
// A UI thread made of a queue that one thread pumps (tests, command-line tools).
#pragma once

#include "serial/ui_thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace kuvar::serial {

class TVaPumpedUiThread final : public IUiThread {
public:
    // The constructing thread is the UI thread.
    TVaPumpedUiThread();
    ~TVaPumpedUiThread() override;

    using IUiThread::RunBlocking;
    void RunBlocking(std::function<void()> step, const TVaMeanwhile& meanwhile) override;

    // Runs the steps queued now; returns how many ran.
    int Pump();
    // Waits up to timeout for a step, then pumps; returns how many ran.
    int PumpFor(std::chrono::milliseconds timeout);
    // Pumps until pred() holds or the deadline passes; returns pred().
    bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout);
    // Releases every waiting worker without running its step, and every later one at once.
    void Shutdown();

private:
    struct Call {
        std::function<void()> step;
        bool done = false;
    };
    std::thread::id uiThread_;
    std::mutex lock_;
    std::condition_variable queued_;
    std::condition_variable finished_;
    std::deque<std::shared_ptr<Call>> calls_;
    bool down_ = false;
};

} // namespace kuvar::serial
