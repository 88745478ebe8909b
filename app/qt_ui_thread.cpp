// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_ui_thread.h"

#include <QThread>

namespace kuvar {

TQtUiThread::TQtUiThread() : receiver_(new QObject) {}

TQtUiThread::~TQtUiThread() {
    if (receiver_) {
        // The last owner may be a worker thread: the receiver is deleted on its own thread.
        receiver_->deleteLater();
    }
}

void TQtUiThread::RunBlocking(std::function<void()> step) {
    if (shutDown_ || !receiver_) {
        return;
    }
    if (QThread::currentThread() == receiver_->thread()) {
        step();
        return;
    }
    // A call that is never delivered (the receiver or the loop is gone) releases the worker.
    QMetaObject::invokeMethod(
        receiver_.data(),
        [this, &step] {
            if (!shutDown_) {
                step();
            }
        },
        Qt::BlockingQueuedConnection);
}

} // namespace kuvar
