// SPDX-License-Identifier: GPL-3.0-or-later
#include "pty_fixture.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace kuvar::serial::test {

Pty::Pty() {
    char name[128] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    path_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

Pty::~Pty() {
    CloseMaster();
    if (slave_ >= 0)
        ::close(slave_);
}

void Pty::CloseMaster() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

void Pty::Send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw std::runtime_error("write to the master failed");
        else {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
}

std::string Pty::Receive(std::size_t count, std::chrono::milliseconds timeout) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, 20);
        char buf[4096];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0)
            got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

namespace {

int Take(FaultPlan& plan, std::deque<int>& q) {
    std::lock_guard g(plan.lock);
    if (q.empty())
        return 0;
    const int e = q.front();
    q.pop_front();
    return e;
}

class FaultPort final : public ISerialPort {
public:
    // Holds its back end, whose plan it reads: a worker that outlives the test still finds it.
    FaultPort(std::shared_ptr<ISerialPort> real, std::shared_ptr<FaultBackend> backend)
        : real_(std::move(real)), backend_(std::move(backend)), plan_(backend_->plan) {}

    int SetState(const TVaDcb& dcb) override {
        {
            std::lock_guard g(plan_.lock);
            if (plan_.refusedRate != 0 && dcb.BaudRate == plan_.refusedRate)
                return EINVAL;
        }
        return real_->SetState(dcb);
    }
    int SetupQueues(std::uint32_t r, std::uint32_t w) override { return real_->SetupQueues(r, w); }
    int SetImmediateReads() override { return real_->SetImmediateReads(); }
    int SetEventMask(std::uint32_t m) override { return real_->SetEventMask(m); }
    int Escape(TVaEscape f) override { return real_->Escape(f); }
    int ClearError(std::uint32_t& errors, TVaComStat& stat) override {
        const int e = real_->ClearError(errors, stat);
        std::lock_guard g(plan_.lock);
        if (plan_.extraParityErrors != reported_) {
            reported_ = plan_.extraParityErrors;
            errors |= CE_RXPARITY;
        }
        return e;
    }
    int QueueCounts(std::uint32_t& in, std::uint32_t& out) override {
        return real_->QueueCounts(in, out);
    }
    int GetLineState(TVaLineState& s) override {
        const int e = real_->GetLineState(s);
        std::lock_guard g(plan_.lock);
        s.haveCounters = true;
        s.parity += plan_.extraParityErrors;
        return e;
    }
    TVaIoResult Read(void* b, std::size_t n) override {
        if (int e = Take(plan_, plan_.readErrors))
            return {0, e};
        return real_->Read(b, n);
    }
    TVaIoResult Write(const void* d, std::size_t n) override {
        std::size_t limit;
        {
            std::lock_guard g(plan_.lock);
            ++plan_.writeCalls;
            limit = plan_.shortWriteMax;
        }
        if (int e = Take(plan_, plan_.writeErrors))
            return {0, e};
        return real_->Write(d, limit != 0 && n > limit ? limit : n);
    }
    TVaWaitResult Wait(bool r, bool w, int t) override {
        {
            std::lock_guard g(plan_.lock);
            ++plan_.waitCalls;
        }
        if (int e = Take(plan_, plan_.waitErrors)) {
            TVaWaitResult res;
            res.status = TVaWaitStatus::Failed;
            res.error = e;
            return res;
        }
        return real_->Wait(r, w, t);
    }
    void Shutdown() override { real_->Shutdown(); }

private:
    std::shared_ptr<ISerialPort> real_;
    std::shared_ptr<FaultBackend> backend_;
    FaultPlan& plan_;
    std::uint32_t reported_ = 0;
};

} // namespace

std::shared_ptr<ISerialPort> FaultBackend::Open(const std::string& portName, int& error) {
    auto real = real_->Open(portName, error);
    if (!real)
        return nullptr;
    return std::make_shared<FaultPort>(std::move(real), shared_from_this());
}

bool WorkersEnd(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (TVaCommLiveWorkers() != 0) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

void CommTest::SetUp() {
    ui = std::make_shared<TVaPumpedUiThread>();
    faults = std::make_shared<FaultBackend>();
    comm = std::make_unique<TVaComm>(ui);
    comm->SetDevicePath(pty.Path());
    comm->ExceptionHandler = [this](const std::exception& e) { appErrors.push_back(e.what()); };
}

void CommTest::UseFaults() {
    comm = std::make_unique<TVaComm>(ui, faults);
    comm->SetDevicePath(pty.Path());
    comm->ExceptionHandler = [this](const std::exception& e) { appErrors.push_back(e.what()); };
}

void CommTest::TearDown() {
    comm.reset();
    // A worker blocked in a UI step is released by pumping; then every worker must end.
    ui->PumpUntil([] { return TVaCommLiveWorkers() == 0; }, 2000ms);
    EXPECT_EQ(TVaCommLiveWorkers(), 0);
    ui->Shutdown();
}

} // namespace kuvar::serial::test
