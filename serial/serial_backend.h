// SPDX-License-Identifier: GPL-3.0-or-later
// The one interface through which the serial component reaches the operating system. The
// component holds all the logic (settings, events, queues, retries); a back end only performs
// the calls and returns the system's error codes.
#pragma once

#include "serial/va_dcb.h"
#include "serial/va_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kuvar::serial {

// Result of a transfer: bytes moved, or error != 0 with the system's code (EINTR and EAGAIN
// included: the caller decides what to retry).
struct TVaIoResult {
    std::size_t count = 0;
    int error = 0;
};

enum class TVaWaitStatus {
    Ready, // see readable / writable / hangUp
    TimedOut,
    Stopped, // the port was shut down: every wait returns this from now on
    Failed   // error holds the code
};

struct TVaWaitResult {
    TVaWaitStatus status = TVaWaitStatus::TimedOut;
    bool readable = false;
    bool writable = false;
    bool hangUp = false; // the device has gone (hang-up or a device error)
    int error = 0;
};

// Cumulative line-error counters and the modem input lines, where the device has them.
struct TVaLineState {
    bool haveCounters = false;
    std::uint32_t overrun = 0, parity = 0, frame = 0, brk = 0, bufOverrun = 0;
    bool haveModem = false;
    bool cts = false, dsr = false, ring = false, rlsd = false;
};

enum class TVaEscape { SetDtr, ClrDtr, SetRts, ClrRts };

// One open device. Every call may come from any thread; Shutdown wakes every wait at once,
// waits only for calls in progress (none of them blocks) and releases the device.
class ISerialPort {
public:
    virtual ~ISerialPort() = default;

    // Each returns 0 or the system's error code.
    virtual int SetState(const TVaDcb& dcb) = 0;
    virtual int SetupQueues(std::uint32_t readSize, std::uint32_t writeSize) = 0;
    // Reads return at once with what has been received, possibly nothing.
    virtual int SetImmediateReads() = 0;
    virtual int SetEventMask(std::uint32_t mask) = 0;
    virtual int Escape(TVaEscape function) = 0;
    // Error flags (CE_*) pending since the previous call, which this call clears, and the
    // queue counts.
    virtual int ClearError(std::uint32_t& errors, TVaComStat& stat) = 0;
    // Bytes waiting to be read and to be sent, without touching the error flags.
    virtual int QueueCounts(std::uint32_t& in, std::uint32_t& out) = 0;
    virtual int GetLineState(TVaLineState& state) = 0;

    virtual TVaIoResult Read(void* buffer, std::size_t count) = 0;
    virtual TVaIoResult Write(const void* data, std::size_t count) = 0;
    // Waits until readable (when asked), writable (when asked), hang-up, shutdown or the
    // time-out (ms, negative: no limit).
    virtual TVaWaitResult Wait(bool forRead, bool forWrite, int timeoutMs) = 0;

    virtual void Shutdown() = 0;
};

class ISerialBackend {
public:
    virtual ~ISerialBackend() = default;
    // Opens the device exclusively for reading and writing; on failure returns null and sets
    // error (ENOENT, 2, when there is no such device).
    virtual std::shared_ptr<ISerialPort> Open(const std::string& portName, int& error) = 0;
    virtual std::string ErrorText(int code) = 0;
    // The file the port name opens, where it differs from the name (COMn on POSIX).
    virtual std::string DeviceFile(const std::string& portName) { return portName; }
};

// The back end of this platform.
std::shared_ptr<ISerialBackend> DefaultSerialBackend();

} // namespace kuvar::serial
