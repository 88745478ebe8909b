// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void Delay(int ms) {
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (clock.elapsed() <= ms) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(0); });
        timer.start(static_cast<int>(ms - clock.elapsed() + 1));
        // A loop that is told to quit (the application is ending) returns non-zero at once;
        // waiting on would spin, so the wait ends there.
        if (loop.exec() != 0) {
            return;
        }
    }
}
