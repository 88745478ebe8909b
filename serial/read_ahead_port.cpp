// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/read_ahead_port.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace kuvar::serial {

TVaReadAheadPort::TVaReadAheadPort(std::shared_ptr<ISerialPort> device, std::size_t capacity)
    : device_(std::move(device)), queue_(capacity) {}

void TVaReadAheadPort::ReadAhead(std::uint32_t fromBytes) {
    std::lock_guard g(lock_);
    std::uint32_t in = 0, out = 0;
    if (device_->QueueCounts(in, out) != 0 || in < std::max<std::uint32_t>(fromBytes, 1))
        return;
    // A driver delivers at most its own queue per read and refills it from the line behind.
    while (queue_.RoomSize() > 0) {
        const TVaIoResult r = device_->Read(queue_.Room(), queue_.RoomSize());
        if (r.error == EINTR)
            continue;
        // Nothing more, or a failure the reader's own read will meet and report.
        if (r.error != 0 || r.count == 0)
            return;
        queue_.Commit(r.count);
    }
}

std::size_t TVaReadAheadPort::Held() const {
    std::lock_guard g(lock_);
    return queue_.Fill();
}

int TVaReadAheadPort::ClearError(std::uint32_t& errors, TVaComStat& stat) {
    std::lock_guard g(lock_);
    const int e = device_->ClearError(errors, stat);
    if (e == 0)
        stat.cbInQue += static_cast<std::uint32_t>(queue_.Fill());
    return e;
}

int TVaReadAheadPort::QueueCounts(std::uint32_t& in, std::uint32_t& out) {
    std::lock_guard g(lock_);
    const int e = device_->QueueCounts(in, out);
    if (e == 0)
        in += static_cast<std::uint32_t>(queue_.Fill());
    return e;
}

TVaIoResult TVaReadAheadPort::Read(void* buffer, std::size_t count) {
    std::lock_guard g(lock_);
    if (const int e = std::exchange(laterError_, 0))
        return {0, e};
    const std::size_t held = std::min(count, queue_.Fill());
    if (held > 0) {
        std::memcpy(buffer, queue_.Data(), held);
        queue_.Remove(held);
        if (held == count)
            return {held, 0};
    }
    const TVaIoResult r = device_->Read(static_cast<char*>(buffer) + held, count - held);
    if (held == 0)
        return r;
    // The held bytes are delivered now, a failure of the driver's read at the next read.
    if (r.error != 0 && r.error != EAGAIN && r.error != EINTR)
        laterError_ = r.error;
    return {held + (r.error == 0 ? r.count : 0), 0};
}

TVaWaitResult TVaReadAheadPort::Wait(bool forRead, bool forWrite, int timeoutMs) {
    if (!forRead || Held() == 0)
        return device_->Wait(forRead, forWrite, timeoutMs);
    TVaWaitResult r = device_->Wait(forRead, forWrite, 0);
    if (r.status == TVaWaitStatus::TimedOut || r.status == TVaWaitStatus::Ready) {
        r.status = TVaWaitStatus::Ready;
        r.readable = true;
    }
    return r;
}

} // namespace kuvar::serial
