// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/paint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace kuvar {

TPaintPacer::TPaintPacer(QWidget* window) : QObject(window), window_(window) {
    clock_.start();
    held_.setSingleShot(true);
    held_.setTimerType(Qt::PreciseTimer);
    connect(&held_, &QTimer::timeout, this, [this] { RunHeld(); });
    window_->installEventFilter(this);
}

bool TPaintPacer::eventFilter(QObject* watched, QEvent* event) {
    // Qt's repaint manager asks the top-level widget to paint its dirty widgets with an
    // UpdateRequest; until that request is handled, further changes only add to the dirty
    // region.
    if (watched != window_ || event->type() != QEvent::UpdateRequest || releasing_) {
        return false;
    }
    const qint64 now = clock_.elapsed();
    if (lastPaint_ >= 0 && now - lastPaint_ < kRefreshMs) {
        if (!held_.isActive()) {
            held_.start(static_cast<int>(kRefreshMs - (now - lastPaint_)));
        }
        return true;
    }
    held_.stop();
    lastPaint_ = now;
    ++paints_;
    return false;
}

void TPaintPacer::RunHeld() {
    lastPaint_ = clock_.elapsed();
    ++paints_;
    releasing_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window_, &request);
    releasing_ = false;
}

} // namespace kuvar
