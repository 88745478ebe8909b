// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serial/ui_thread.h"

#include <QObject>
#include <QPointer>

#include <atomic>

namespace kuvar {

// Hands the serial workers' steps to the UI thread as queued calls, which also run inside nested
// event loops (Delay, modal boxes), and keeps the worker waiting until its step has run. On the
// UI thread itself the step runs at once.
class TQtUiThread : public kuvar::serial::IUiThread {
public:
    TQtUiThread();
    ~TQtUiThread() override;

    using IUiThread::RunBlocking;
    void RunBlocking(std::function<void()> step,
                     const kuvar::serial::TVaMeanwhile& meanwhile) override;
    // From now on steps are dropped: the window that would run them is going away.
    void Shutdown() { shutDown_ = true; }

private:
    QPointer<QObject> receiver_;
    std::atomic<bool> shutDown_{false};
};

} // namespace kuvar
