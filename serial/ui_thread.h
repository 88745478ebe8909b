// SPDX-License-Identifier: GPL-3.0-or-later
// How the serial workers reach the UI thread.
#pragma once

#include <functional>

namespace kuvar::serial {

// What a worker does on its own thread while its step waits for the UI thread: work runs every
// everyMs until the step has run. None when work is empty.
struct TVaMeanwhile {
    int everyMs = 0;
    std::function<void()> work;
};

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
