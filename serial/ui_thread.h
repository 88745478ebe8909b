// SPDX-License-Identifier: GPL-3.0-or-later
// How the serial workers reach the UI thread.
#pragma once

#include <functional>

namespace kuvar::serial {

class IUiThread {
public:
    virtual ~IUiThread() = default;
    // Runs step on the UI thread and returns once it has run. Called from a worker thread; an
    // implementation should also run the step directly when called on the UI thread itself.
    // An implementation that is shutting down may return without running the step.
    virtual void RunBlocking(std::function<void()> step) = 0;
};

} // namespace kuvar::serial
