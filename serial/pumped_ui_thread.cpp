// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/pumped_ui_thread.h"

namespace kuvar::serial {

TVaPumpedUiThread::TVaPumpedUiThread() : uiThread_(std::this_thread::get_id()) {}

TVaPumpedUiThread::~TVaPumpedUiThread() {
    Shutdown();
}

void TVaPumpedUiThread::RunBlocking(std::function<void()> step, const TVaMeanwhile& meanwhile) {
    if (std::this_thread::get_id() == uiThread_) {
        step();
        return;
    }
    auto call = std::make_shared<Call>();
    call->step = std::move(step);
    std::unique_lock lk(lock_);
    if (down_)
        return;
    calls_.push_back(call);
    queued_.notify_all();
    WaitForStep(finished_, lk, [&] { return call->done || down_; }, meanwhile);
}

int TVaPumpedUiThread::Pump() {
    std::deque<std::shared_ptr<Call>> batch;
    {
        std::lock_guard lk(lock_);
        batch.swap(calls_);
    }
    for (auto& call : batch) {
        // A step's exception is the step's own business; the worker is released either way.
        try {
            call->step();
        } catch (...) {
        }
        std::lock_guard lk(lock_);
        call->done = true;
        finished_.notify_all();
    }
    return static_cast<int>(batch.size());
}

int TVaPumpedUiThread::PumpFor(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lk(lock_);
        queued_.wait_for(lk, timeout, [&] { return !calls_.empty() || down_; });
    }
    return Pump();
}

bool TVaPumpedUiThread::PumpUntil(const std::function<bool()>& pred,
                                  std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!pred()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        PumpFor(std::min<std::chrono::milliseconds>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) +
                std::chrono::milliseconds(1),
            std::chrono::milliseconds(20)));
    }
    return true;
}

void TVaPumpedUiThread::Shutdown() {
    std::lock_guard lk(lock_);
    down_ = true;
    calls_.clear();
    queued_.notify_all();
    finished_.notify_all();
}

} // namespace kuvar::serial
