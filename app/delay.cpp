// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace kuvar {

struct TWaits::TRunning {
    QEventLoop* loop = nullptr; // the slice running now, if any
    bool cut = false;
};

namespace {

// The wait itself; `running` (may be null) is tested for a cut after every pass of the loop.
void Wait(int ms, TWaits::TRunning* running) {
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (;;) {
        if (running && running->cut)
            return;
        // One reading of the clock: reading it twice could give a negative interval, and a timer
        // that never starts would leave the wait without an end.
        const qint64 remaining = ms - clock.elapsed();
        if (remaining < 0) {
            return;
        }
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(0); });
        timer.start(static_cast<int>(remaining + 1));
        if (running)
            running->loop = &loop;
        // A loop that is told to quit (the application is ending) returns non-zero at once;
        // waiting on would spin, so the wait ends there.
        const int result = loop.exec();
        if (running)
            running->loop = nullptr;
        if (result != 0) {
            return;
        }
    }
}

} // namespace

void Delay(int ms) {
    Wait(ms, nullptr);
}

bool Delay(int ms, TWaits& waits) {
    if (waits.ended_)
        return false;
    TWaits::TRunning running;
    struct TListed {
        std::vector<TWaits::TRunning*>& list;
        TWaits::TRunning* entry;
        ~TListed() { list.erase(std::remove(list.begin(), list.end(), entry), list.end()); }
    } listed{waits.running_, &running};
    waits.running_.push_back(&running);
    Wait(ms, &running);
    return !running.cut;
}

void TWaits::CutRunning() {
    for (TRunning* running : running_) {
        running->cut = true;
        if (running->loop)
            running->loop->exit(0);
    }
}

void TWaits::EndAll() {
    ended_ = true;
    CutRunning();
}

} // namespace kuvar
