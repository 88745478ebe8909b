// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace kuvar {

void Delay(int ms) {
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (;;) {
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
        // A loop that is told to quit (the application is ending) returns non-zero at once;
        // waiting on would spin, so the wait ends there.
        if (loop.exec() != 0) {
            return;
        }
    }
}

} // namespace kuvar
