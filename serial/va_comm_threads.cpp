// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/va_comm_threads.h"

#include "serial/line_events.h"
#include "serial/rx_step_rule.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace kuvar::serial {

namespace {

std::atomic<int> gLiveWorkers{0};

struct LiveWorker {
    LiveWorker() { gLiveWorkers.fetch_add(1); }
    ~LiveWorker() { gLiveWorkers.fetch_sub(1); }
};

// Pause before writing again after a write failure that may pass.
constexpr int kWriteRetryPauseMs = 100;

constexpr std::uint32_t kModemEvents = EV_CTS | EV_DSR | EV_RING | EV_RLSD;

void RunOnUi(const std::shared_ptr<TVaCommSession>& s, std::function<void()> step,
             const TVaMeanwhile& meanwhile = {}) {
    s->ui->RunBlocking(std::move(step), meanwhile);
}

void EventWorkerMain(std::shared_ptr<TVaCommSession> s, std::uint32_t mask) {
    LiveWorker live;
    ISerialPort& port = *s->port;
    const bool wantRx = (mask & EV_RXCHAR) != 0;
    const bool periodic = (mask & (kModemEvents | EV_TXEMPTY)) != 0 ||
                          (!wantRx && (mask & (EV_ERR | EV_BREAK | EV_PERR)) != 0);
    TRxStepRule rule(wantRx, periodic);
    const TVaMeanwhile readAhead{TRxStepRule::kReadAheadPollMs, [&s] {
                                     s->port->ReadAhead(TRxStepRule::kReadAheadFromBytes);
                                 }};
    TVaLineState before;
    port.GetLineState(before);

    while (!s->stop.load()) {
        const TVaWaitResult w = port.Wait(rule.WaitsForReadable(), false, rule.WaitTimeoutMs());
        if (w.status == TVaWaitStatus::Stopped || s->stop.load())
            break;
        if (w.status == TVaWaitStatus::Failed) {
            if (w.error == EINTR || w.error == EAGAIN)
                continue;
            ReportDeviceLost(s);
            break;
        }
        if (w.hangUp) {
            ReportDeviceLost(s);
            break;
        }
        bool readable = w.readable;
        if (readable) {
            int gather = rule.GatherMs(TRxStepRule::Clock::now());
            std::uint32_t unread = 0, unsent = 0;
            if (gather > 0 && port.QueueCounts(unread, unsent) == 0)
                gather = rule.GatherMs(TRxStepRule::Clock::now(), unread);
            // Only the port closing ends the gathering early; a hang-up shows at the next wait.
            // On a fast line the driver's queue is looked at meanwhile, as during a step.
            const int slice = rule.ReadsAheadWhileGathering(unread) ? TRxStepRule::kReadAheadPollMs
                                                                   : gather;
            bool stopped = false;
            for (int left = gather; left > 0 && !stopped; left -= slice) {
                stopped = port.Wait(false, false, std::min(left, slice)).status ==
                          TVaWaitStatus::Stopped;
                if (!stopped && slice < gather)
                    readAhead.work();
            }
            if (stopped)
                break;
        }
        std::uint32_t in = 0, out = 0;
        if (rule.Holding() || (mask & EV_TXEMPTY)) {
            if (port.QueueCounts(in, out) != 0) {
                ReportDeviceLost(s);
                break;
            }
        }
        if (rule.RaiseHeld(in))
            readable = true;
        TVaLineState after;
        if (port.GetLineState(after) != 0) {
            ReportDeviceLost(s);
            break;
        }
        std::uint32_t bits = DecodeLineEvents(mask, readable, before, after);
        before = after;
        if ((mask & EV_TXEMPTY) && out == 0 && s->txPending.exchange(false))
            bits |= EV_TXEMPTY;
        if (bits == 0)
            continue;
        if (s->stop.load())
            break;
        // What the handler left is counted on the UI thread as the step ends: bytes that
        // arrive after that are new and raise the next event.
        std::uint32_t left = 0;
        const std::uint64_t readBefore = s->bytesRead.load();
        RunOnUi(s, [s, bits, wantRx, &left] {
            if (s->link->owner)
                s->link->owner->RunEventStep(*s, bits);
            std::uint32_t outCount = 0;
            if (wantRx && s->port->QueueCounts(left, outCount) != 0)
                left = 0;
        }, wantRx ? readAhead : TVaMeanwhile{});
        if (s->stop.load())
            break;
        rule.StepEnded((bits & EV_RXCHAR) != 0, TRxStepRule::Clock::now(),
                       s->bytesRead.load() != readBefore, left);
    }
}

} // namespace

int TVaCommLiveWorkers() {
    return gLiveWorkers.load();
}

bool IsDeviceGoneError(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE || error == EBADF;
}

void ReportDeviceLost(const std::shared_ptr<TVaCommSession>& s) {
    if (s->stop.load() || s->lost.exchange(true))
        return;
    RunOnUi(s, [s] {
        if (s->link->owner)
            s->link->owner->RunDeviceLost(*s);
    });
}

void TVaCommEventThread::Start(std::shared_ptr<TVaCommSession> session, std::uint32_t eventMask) {
    std::thread(EventWorkerMain, std::move(session), eventMask).detach();
}

TVaCommWriteThread::TVaCommWriteThread(std::shared_ptr<TVaCommSession> session,
                                       std::size_t capacity)
    : session_(std::move(session)), queue_(capacity) {}

std::shared_ptr<TVaCommWriteThread>
TVaCommWriteThread::Start(std::shared_ptr<TVaCommSession> session, std::size_t capacity) {
    auto worker = std::make_shared<TVaCommWriteThread>(std::move(session), capacity);
    std::thread([worker] {
        LiveWorker live;
        worker->Run();
    }).detach();
    return worker;
}

bool TVaCommWriteThread::Enqueue(const void* data, std::size_t count, int timeoutMs) {
    std::unique_lock lk(lock_);
    if (!queue_.Fits(count)) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        changed_.wait_until(lk, deadline, [&] { return stopEvent_ || queue_.Fits(count); });
        if (!queue_.Fits(count))
            return false;
    }
    queue_.Append(data, count);
    dataEvent_ = true;
    changed_.notify_all();
    return true;
}

void TVaCommWriteThread::Stop() {
    std::lock_guard lk(lock_);
    stopEvent_ = true;
    changed_.notify_all();
}

void TVaCommWriteThread::Run() {
    ISerialPort& port = *session_->port;
    for (;;) {
        const char* start = nullptr;
        std::size_t n = 0;
        {
            std::unique_lock lk(lock_);
            changed_.wait(lk, [&] { return stopEvent_ || dataEvent_; });
            if (stopEvent_)
                return;
            // Only this thread removes bytes, so the front n bytes stay put while Enqueue
            // appends behind them.
            start = queue_.Data();
            n = queue_.Fill();
        }
        const TVaIoResult r = port.Write(start, n);
        if (session_->stop.load())
            return;
        if (r.error == 0) {
            Complete(r.count);
            continue;
        }
        if (r.error == EINTR)
            continue;
        if (r.error == EAGAIN) {
            // The line is full: wait until the device takes more, or the port closes.
            const TVaWaitResult w = port.Wait(false, true, -1);
            if (w.status == TVaWaitStatus::Stopped)
                return;
            if (w.hangUp || (w.status == TVaWaitStatus::Failed && w.error != EINTR)) {
                ReportDeviceLost(session_);
                return;
            }
            continue;
        }
        if (IsDeviceGoneError(r.error)) {
            ReportDeviceLost(session_);
            return;
        }
        // Any other failure is reported and the same bytes are written again after a pause,
        // so that a failure that persists does not spin.
        RunOnUi(session_, [s = session_] {
            if (s->link->owner)
                s->link->owner->RunWriteStep(EV_ERR);
        });
        if (port.Wait(false, false, kWriteRetryPauseMs).status == TVaWaitStatus::Stopped)
            return;
    }
}

void TVaCommWriteThread::Complete(std::size_t written) {
    bool empty;
    {
        std::lock_guard lk(lock_);
        queue_.Remove(written);
        empty = queue_.Fill() == 0;
        dataEvent_ = !empty;
        changed_.notify_all();
    }
    if (empty && !session_->stop.load()) {
        RunOnUi(session_, [s = session_] {
            if (s->link->owner)
                s->link->owner->RunWriteStep(EV_TXEMPTY);
        });
    }
}

} // namespace kuvar::serial
