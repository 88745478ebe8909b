// SPDX-License-Identifier: GPL-3.0-or-later
// The two workers of an open port: the event worker waits for line events and hands each
// batch to the UI thread; the write worker drains the component's transmit queue.
#pragma once

#include "serial/read_ahead_port.h"
#include "serial/serial_backend.h"
#include "serial/ui_thread.h"
#include "serial/va_comm_buffer.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace kuvar::serial {

struct TVaCommSession;

// What the workers ask of the component; called on the UI thread only.
class IVaCommEventSink {
public:
    virtual void RunEventStep(const TVaCommSession& session, std::uint32_t bits) = 0;
    virtual void RunWriteStep(std::uint32_t bits) = 0;
    virtual void RunDeviceLost(const TVaCommSession& session) = 0;

protected:
    ~IVaCommEventSink() = default;
};

// The way back to the component. Touched on the UI thread only; cleared when the component is
// destroyed, so a step that runs later finds no one to call.
struct TVaCommLink {
    IVaCommEventSink* owner = nullptr;
};

// What a component and the workers of one open port share. It lives as long as its last user,
// so a worker that is still blocked in a UI-thread call after Close never touches freed memory.
struct TVaCommSession {
    // The device, behind the receive queue the event worker reads ahead into.
    std::shared_ptr<TVaReadAheadPort> port;
    std::shared_ptr<IUiThread> ui;
    std::shared_ptr<TVaCommLink> link;
    std::atomic<bool> stop{false};
    std::atomic<bool> lost{false};
    // Set by direct writes, so that the event worker watches the driver's queue drain.
    std::atomic<bool> txPending{false};
    // Bytes read by the component so far; the event worker tells by it whether a receive
    // handler read anything.
    std::atomic<std::uint64_t> bytesRead{0};
};

class TVaCommEventThread {
public:
    // Starts the worker for a non-zero event mask; it ends by itself once the session stops.
    static void Start(std::shared_ptr<TVaCommSession> session, std::uint32_t eventMask);
};

class TVaCommWriteThread {
public:
    // The transmit queue is allocated here, once, with capacity bytes.
    static std::shared_ptr<TVaCommWriteThread> Start(std::shared_ptr<TVaCommSession> session,
                                                     std::size_t capacity);

    // Queues count bytes, waiting up to timeoutMs for room; false with nothing queued when
    // there is none by then. True means queued, not sent.
    bool Enqueue(const void* data, std::size_t count, int timeoutMs);
    void Stop();

    TVaCommWriteThread(std::shared_ptr<TVaCommSession> session, std::size_t capacity);

private:
    void Run();
    void Complete(std::size_t written);

    std::shared_ptr<TVaCommSession> session_;
    std::mutex lock_;
    std::condition_variable changed_;
    TVaCommBuffer queue_;
    bool dataEvent_ = false;
    bool stopEvent_ = false;
};

// Workers still running in this process (tests wait for it to fall to 0).
int TVaCommLiveWorkers();

// A worker's report that the device is gone: one OnError(CE_IOE) per open port, whichever
// worker finds it first.
void ReportDeviceLost(const std::shared_ptr<TVaCommSession>& session);

// Errors after which the device is not coming back.
bool IsDeviceGoneError(int error);

} // namespace kuvar::serial
