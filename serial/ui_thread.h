// SPDX-License-Identifier: GPL-3.0-or-later
// How the serial workers reach the UI thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace kuvar::serial {

// What a worker does on its own thread while its step waits for the UI thread: work runs every
// everyMs until the step has run. None when work is empty.
struct TVaMeanwhile {
    int everyMs = 0;
    std::function<void()> work;
};

// A worker's wait for its step: until over() holds, notified through `ended` under `lk`, doing
// the meanwhile work (with the lock released) every everyMs.
template <class TOver>
void WaitForStep(std::condition_variable& ended, std::unique_lock<std::mutex>& lk, TOver over,
                 const TVaMeanwhile& meanwhile) {
    if (!meanwhile.work) {
        ended.wait(lk, over);
        return;
    }
    while (!ended.wait_for(lk, std::chrono::milliseconds(meanwhile.everyMs), over)) {
        lk.unlock();
        meanwhile.work();
        lk.lock();
    }
}

class IUiThread {
public:
    virtual ~IUiThread() = default;
    // Runs step on the UI thread and returns once it has run. Called from a worker thread; an
    // implementation should also run the step directly when called on the UI thread itself.
    // An implementation that is shutting down may return without running the step.
    virtual void RunBlocking(std::function<void()> step, const TVaMeanwhile& meanwhile) = 0;
    void RunBlocking(std::function<void()> step) { RunBlocking(std::move(step), {}); }
};

} // namespace kuvar::serial
