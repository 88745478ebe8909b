// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/posix_backend.h"

#include "serial/line_events.h"
#include "serial/posix_termios.h"
#include "serial/va_format.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <shared_mutex>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace kuvar::serial {

namespace {

// Pseudo-terminals and some adapters have no modem lines or counters; that is not a failure.
bool NoSuchFeature(int error) {
    return error == ENOTTY || error == EINVAL;
}

class TVaPosixPort final : public ISerialPort {
public:
    TVaPosixPort(int fd, int wakeFd) : fd_(fd), wakeFd_(wakeFd) {
        TVaLineState s;
        ReadLineState(s);
        errorBase_ = s;
    }
    ~TVaPosixPort() override {
        Shutdown();
        ::close(wakeFd_);
    }

    int SetState(const TVaDcb& dcb) override {
        TVaLinuxTermios t;
        if (int e = LinuxTermiosFromDcb(dcb, t))
            return e;
        std::shared_lock lk(use_);
        if (fd_ < 0)
            return EBADF;
        if (int e = WriteLinuxTermios(fd_, t))
            return e;
        // DTR and RTS follow their modes; a handshake leaves RTS to the driver.
        int raise = 0, lower = 0;
        (dcb.fDtrControl == 1 ? raise : lower) |= TIOCM_DTR;
        if (dcb.fRtsControl == 1)
            raise |= TIOCM_RTS;
        else if (dcb.fRtsControl == 0)
            lower |= TIOCM_RTS;
        for (auto [request, bits] : {std::pair{TIOCMBIS, raise}, std::pair{TIOCMBIC, lower}}) {
            if (bits != 0 && ioctl(fd_, request, &bits) != 0 && !NoSuchFeature(errno))
                return errno;
        }
        return 0;
    }

    // Linux drivers have fixed queues; the component sizes its own transmit queue.
    int SetupQueues(std::uint32_t, std::uint32_t) override { return Usable(); }

    int SetImmediateReads() override {
        std::shared_lock lk(use_);
        return fd_ < 0 ? EBADF : SetLinuxImmediateReads(fd_);
    }

    // The event worker decides what to wait for from the mask; nothing to tell the driver.
    int SetEventMask(std::uint32_t) override { return Usable(); }

    int Escape(TVaEscape function) override {
        std::shared_lock lk(use_);
        if (fd_ < 0)
            return EBADF;
        int bits = (function == TVaEscape::SetDtr || function == TVaEscape::ClrDtr) ? TIOCM_DTR
                                                                                    : TIOCM_RTS;
        const bool set = function == TVaEscape::SetDtr || function == TVaEscape::SetRts;
        if (ioctl(fd_, set ? TIOCMBIS : TIOCMBIC, &bits) != 0 && !NoSuchFeature(errno))
            return errno;
        return 0;
    }

    int ClearError(std::uint32_t& errors, TVaComStat& stat) override {
        std::shared_lock lk(use_);
        errors = 0;
        stat = TVaComStat{};
        if (int e = ReadQueueCounts(stat.cbInQue, stat.cbOutQue))
            return e;
        TVaLineState now;
        if (int e = ReadLineState(now))
            return e;
        std::lock_guard g(errorLock_);
        errors = ErrorFlagsBetween(errorBase_, now);
        errorBase_ = now;
        return 0;
    }

    int QueueCounts(std::uint32_t& inCount, std::uint32_t& outCount) override {
        std::shared_lock lk(use_);
        return ReadQueueCounts(inCount, outCount);
    }

    int GetLineState(TVaLineState& state) override {
        std::shared_lock lk(use_);
        return fd_ < 0 ? EBADF : ReadLineState(state);
    }

    TVaIoResult Read(void* buffer, std::size_t count) override {
        std::shared_lock lk(use_);
        if (fd_ < 0)
            return {0, EBADF};
        const ssize_t n = ::read(fd_, buffer, count);
        if (n < 0)
            return {0, errno};
        return {static_cast<std::size_t>(n), 0};
    }

    TVaIoResult Write(const void* data, std::size_t count) override {
        std::shared_lock lk(use_);
        if (fd_ < 0)
            return {0, EBADF};
        const ssize_t n = ::write(fd_, data, count);
        if (n < 0)
            return {0, errno};
        return {static_cast<std::size_t>(n), 0};
    }

    TVaWaitResult Wait(bool forRead, bool forWrite, int timeoutMs) override {
        TVaWaitResult r;
        std::shared_lock lk(use_);
        if (fd_ < 0 || down_.load()) {
            r.status = TVaWaitStatus::Stopped;
            return r;
        }
        pollfd p[2] = {};
        p[0].fd = fd_;
        p[0].events = static_cast<short>((forRead ? POLLIN : 0) | (forWrite ? POLLOUT : 0));
        p[1].fd = wakeFd_;
        p[1].events = POLLIN;
        const int n = ::poll(p, 2, timeoutMs < 0 ? -1 : timeoutMs);
        if (n < 0) {
            r.status = TVaWaitStatus::Failed;
            r.error = errno;
            return r;
        }
        if (p[1].revents != 0) {
            r.status = TVaWaitStatus::Stopped;
            return r;
        }
        if (n == 0) {
            r.status = TVaWaitStatus::TimedOut;
            return r;
        }
        r.status = TVaWaitStatus::Ready;
        r.readable = (p[0].revents & POLLIN) != 0;
        r.writable = (p[0].revents & POLLOUT) != 0;
        r.hangUp = (p[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        return r;
    }

    void Shutdown() override {
        if (down_.exchange(true))
            return;
        const std::uint64_t one = 1;
        // The wake-up descriptor stays readable, so every later wait ends at once too.
        [[maybe_unused]] ssize_t w = ::write(wakeFd_, &one, sizeof one);
        std::unique_lock lk(use_);
        ioctl(fd_, TIOCNXCL);
        ::close(fd_); // also drops the flock
        fd_ = -1;
    }

private:
    int Usable() {
        std::shared_lock lk(use_);
        return fd_ < 0 ? EBADF : 0;
    }

    // The driver's unread and unsent byte counts. Caller holds use_.
    int ReadQueueCounts(std::uint32_t& inCount, std::uint32_t& outCount) {
        inCount = outCount = 0;
        if (fd_ < 0)
            return EBADF;
        int in = 0, out = 0;
        if (ioctl(fd_, FIONREAD, &in) != 0)
            return errno;
        if (ioctl(fd_, TIOCOUTQ, &out) != 0 && !NoSuchFeature(errno))
            return errno;
        inCount = static_cast<std::uint32_t>(in);
        outCount = static_cast<std::uint32_t>(out);
        return 0;
    }

    // Caller holds use_.
    int ReadLineState(TVaLineState& s) {
        s = TVaLineState{};
        serial_icounter_struct ic{};
        if (int e = AskFeature(noCounters_, TIOCGICOUNT, &ic, s.haveCounters))
            return e;
        if (s.haveCounters) {
            s.overrun = static_cast<std::uint32_t>(ic.overrun);
            s.parity = static_cast<std::uint32_t>(ic.parity);
            s.frame = static_cast<std::uint32_t>(ic.frame);
            s.brk = static_cast<std::uint32_t>(ic.brk);
            s.bufOverrun = static_cast<std::uint32_t>(ic.buf_overrun);
        }
        int lines = 0;
        if (int e = AskFeature(noModem_, TIOCMGET, &lines, s.haveModem))
            return e;
        if (s.haveModem) {
            s.cts = lines & TIOCM_CTS;
            s.dsr = lines & TIOCM_DSR;
            s.ring = lines & TIOCM_RNG;
            s.rlsd = lines & TIOCM_CAR;
        }
        return 0;
    }

    // Asks the device; `have` tells whether it answered. A device that lacks the feature does not
    // grow it, so it is not asked again (the event worker asks at every receive step). Returns 0
    // or the system's error. Caller holds use_.
    int AskFeature(std::atomic<bool>& lacking, unsigned long request, void* arg, bool& have) {
        have = !lacking.load() && ioctl(fd_, request, arg) == 0;
        if (have || lacking.load())
            return 0;
        if (!NoSuchFeature(errno))
            return errno;
        lacking.store(true);
        return 0;
    }

    int fd_;
    const int wakeFd_;
    std::atomic<bool> down_{false};
    std::atomic<bool> noCounters_{false};
    std::atomic<bool> noModem_{false};
    // Shared by every call on the device, taken alone by Shutdown: the descriptor is never
    // closed (and its number reused) under a call in progress.
    std::shared_mutex use_;
    std::mutex errorLock_;
    TVaLineState errorBase_;
};

// /dev/tty, /dev/console and /dev/ptmx (also /dev/pts/ptmx) stand for other terminals or make
// new ones; none is a port.
bool IsTerminalAlias(dev_t device) {
    return major(device) == 5 && minor(device) <= 2;
}

int CheckSerialStat(const struct stat& st) {
    return S_ISCHR(st.st_mode) && !IsTerminalAlias(st.st_rdev) ? 0 : ENOTTY;
}

} // namespace

int CheckSerialNode(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0)
        return errno;
    return CheckSerialStat(st);
}

int CheckSerialDescriptor(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    if (int e = CheckSerialStat(st))
        return e;
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return ENOTTY;
    unsigned int ptyNumber = 0;
    if (ioctl(fd, TIOCGPTN, &ptyNumber) == 0)
        return ENOTTY;
    return 0;
}

std::shared_ptr<ISerialPort> TVaPosixBackend::Open(const std::string& portName, int& error) {
    error = 0;
    const std::string path = PosixDeviceFile(portName);
    if (path.empty()) {
        error = ENOENT;
        return nullptr;
    }
    if (int e = CheckSerialNode(path.c_str())) {
        error = e;
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    auto fail = [&](int e) -> std::shared_ptr<ISerialPort> {
        ::close(fd);
        error = e;
        return nullptr;
    };
    // The node may have been swapped between the look and the open.
    if (int e = CheckSerialDescriptor(fd))
        return fail(e);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    if (ioctl(fd, TIOCEXCL) != 0)
        return fail(errno);
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0)
        return fail(errno);
    return std::make_shared<TVaPosixPort>(fd, wakeFd);
}

std::string TVaPosixBackend::DeviceFile(const std::string& portName) {
    return PosixDeviceFile(portName);
}

std::string TVaPosixBackend::ErrorText(int code) {
    char buf[256];
    const char* text = strerror_r(code, buf, sizeof buf);
    return TrimErrorText(text);
}

std::shared_ptr<ISerialBackend> DefaultSerialBackend() {
    static const auto backend = std::make_shared<TVaPosixBackend>();
    return backend;
}

} // namespace kuvar::serial
