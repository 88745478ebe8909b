// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_ui_thread.h"

#include <QThread>

#include <condition_variable>
#include <mutex>

namespace kuvar {

namespace {

// A worker's wait for its step.
struct TStepCall {
    std::mutex lock;
    std::condition_variable ended;
    bool done = false;

    void Finish() {
        {
            std::lock_guard g(lock);
            done = true;
        }
        ended.notify_all();
    }
};

// Carried by the posted call: a call that is never delivered (its receiver or its event loop
// is gone) is destroyed undelivered, and that releases the worker too.
class TFinishOnDrop {
public:
    explicit TFinishOnDrop(std::shared_ptr<TStepCall> call) : call_(std::move(call)) {}
    ~TFinishOnDrop() { call_->Finish(); }
    TFinishOnDrop(const TFinishOnDrop&) = delete;
    TFinishOnDrop& operator=(const TFinishOnDrop&) = delete;
    TStepCall& Call() const { return *call_; }

private:
    std::shared_ptr<TStepCall> call_;
};

} // namespace

TQtUiThread::TQtUiThread() : receiver_(new QObject) {}

TQtUiThread::~TQtUiThread() {
    if (receiver_) {
        // The last owner may be a worker thread: the receiver is deleted on its own thread.
        receiver_->deleteLater();
    }
}

void TQtUiThread::RunBlocking(std::function<void()> step,
                              const kuvar::serial::TVaMeanwhile& meanwhile) {
    if (shutDown_ || !receiver_) {
        return;
    }
    if (QThread::currentThread() == receiver_->thread()) {
        step();
        return;
    }
    auto call = std::make_shared<TStepCall>();
    auto drop = std::make_shared<TFinishOnDrop>(call);
    // Neither the step nor this object is touched once the call has finished: the worker may
    // then return and release both.
    QMetaObject::invokeMethod(
        receiver_.data(),
        [this, &step, drop = std::move(drop)] {
            if (!shutDown_) {
                step();
            }
            drop->Call().Finish();
        },
        Qt::QueuedConnection);
    std::unique_lock lk(call->lock);
    kuvar::serial::WaitForStep(call->ended, lk, [&] { return call->done; }, meanwhile);
}

} // namespace kuvar
