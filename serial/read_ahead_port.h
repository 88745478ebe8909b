// SPDX-License-Identifier: GPL-3.0-or-later
// A port with a receive queue of its own in front of the driver's. A tty driver holds a few
// KiB; at a fast stream that lasts a few milliseconds, less than the UI thread may be busy with
// a paint before it reads. While a receive step waits for the UI thread, the event worker moves
// what the driver holds into this queue, so nothing is lost to a full driver. To every reader
// the two queues are one: counts add both, reads take the older bytes (this queue's) first.
#pragma once

#include "serial/serial_backend.h"
#include "serial/va_comm_buffer.h"

#include <memory>
#include <mutex>

namespace kuvar::serial {

class TVaReadAheadPort final : public ISerialPort {
public:
    TVaReadAheadPort(std::shared_ptr<ISerialPort> device, std::size_t capacity);

    // Moves what the driver holds into the queue, as far as there is room, when it holds at
    // least `fromBytes`; fewer are left where they are (a read that is coming anyway takes them).
    void ReadAhead(std::uint32_t fromBytes);
    std::size_t Held() const;

    int SetState(const TVaDcb& dcb) override { return device_->SetState(dcb); }
    int SetupQueues(std::uint32_t readSize, std::uint32_t writeSize) override {
        return device_->SetupQueues(readSize, writeSize);
    }
    int SetImmediateReads() override { return device_->SetImmediateReads(); }
    int SetEventMask(std::uint32_t mask) override { return device_->SetEventMask(mask); }
    int Escape(TVaEscape function) override { return device_->Escape(function); }
    int ClearError(std::uint32_t& errors, TVaComStat& stat) override;
    int QueueCounts(std::uint32_t& in, std::uint32_t& out) override;
    int GetLineState(TVaLineState& state) override { return device_->GetLineState(state); }
    TVaIoResult Read(void* buffer, std::size_t count) override;
    TVaIoResult Write(const void* data, std::size_t count) override {
        return device_->Write(data, count);
    }
    // Held bytes make the port readable at once.
    TVaWaitResult Wait(bool forRead, bool forWrite, int timeoutMs) override;
    void Shutdown() override { device_->Shutdown(); }

private:
    const std::shared_ptr<ISerialPort> device_;
    // Held across the driver's reads and counts, so that a byte is never in neither queue or
    // in both to a reader (none of those calls blocks).
    mutable std::mutex lock_;
    TVaCommBuffer queue_; // not touched, so not resident, until bytes come
    int laterError_ = 0; // a driver's read failed behind held bytes: for the next read
};

} // namespace kuvar::serial
