// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/va_comm.h"

#include "serial/rx_step_rule.h"
#include "serial/va_format.h"

#include <cerrno>
#include <chrono>

namespace kuvar::serial {

namespace {
constexpr const char* kPortIsOpen = "Can't perform this operation while port is open";
constexpr const char* kBufferFull = "Output buffer is full. Please check comm status.";
} // namespace

TVaCustomComm::TVaCustomComm(std::shared_ptr<IUiThread> ui, std::shared_ptr<ISerialBackend> backend)
    : ui_(std::move(ui)), backend_(std::move(backend)), link_(std::make_shared<TVaCommLink>()) {
    link_->owner = this;
    eventChars_.SetOnChange([this] { WriteDcb(); });
    flowControl_.SetOnChange([this] { WriteDcb(); });
    buffers_.SetOnChange([this] { CheckClosed(); });
}

TVaCustomComm::~TVaCustomComm() {
    destroying_ = true;
    try {
        Close();
    } catch (...) {
        // Nothing raised here may leave a destructor; the device is released either way.
    }
    link_->owner = nullptr;
}

void TVaCustomComm::Loaded() {
    if (autoOpen_)
        Open();
}

// ---- errors

void TVaCustomComm::CheckClosed() const {
    if (Active())
        throw EVaCommError(kPortIsOpen);
}

void TVaCustomComm::RaiseCommError(const char* pattern, int code) const {
    throw EVaCommError(
        FormatCommMessage(pattern, {static_cast<long long>(code), backend_->ErrorText(code)}));
}

void TVaCustomComm::CheckCommResult(int code, const char* pattern) const {
    if (code != 0)
        RaiseCommError(pattern, code);
}

void TVaCustomComm::ReportException(const std::exception& e) {
    if (ExceptionHandler)
        ExceptionHandler(e);
}

template <typename F> void TVaCustomComm::Guarded(F f) {
    try {
        f();
    } catch (const std::exception& e) {
        ReportException(e);
    } catch (...) {
        ReportException(EVaCommError("Unknown exception"));
    }
}

// ---- properties

std::string TVaCustomComm::PortName() const {
    return devicePath_.empty() ? FormatPortName(deviceName_, portNum_) : devicePath_;
}

bool TVaCustomComm::DeviceLost() const {
    return session_ && session_->lost.load();
}

void TVaCustomComm::SetBaudrate(TVaBaudrate v) {
    if (line_.baudrate == v)
        return;
    line_.baudrate = v;
    if (v != brUser)
        line_.userBaudrate = 0;
    WriteDcb();
}

void TVaCustomComm::SetUserBaudrate(std::int32_t v) {
    const auto rate = static_cast<std::uint32_t>(v < 0 ? 0 : v);
    if (line_.userBaudrate == rate)
        return;
    line_.userBaudrate = rate;
    line_.baudrate = brUser;
    WriteDcb();
}

void TVaCustomComm::SetParity(TVaParity v) {
    if (line_.parity == v)
        return;
    line_.parity = v;
    WriteDcb();
}

void TVaCustomComm::SetDatabits(TVaDatabits v) {
    if (line_.databits == v)
        return;
    line_.databits = v;
    WriteDcb();
}

void TVaCustomComm::SetStopbits(TVaStopbits v) {
    if (line_.stopbits == v)
        return;
    line_.stopbits = v;
    WriteDcb();
}

void TVaCustomComm::SetOptions(TVaCommOptions v) {
    if (line_.options == v)
        return;
    line_.options = v;
    WriteDcb();
}

void TVaCustomComm::SetPortNum(std::int32_t v) {
    CheckClosed();
    portNum_ = v < 0 ? 0 : v;
}

void TVaCustomComm::SetDeviceName(const std::string& v) {
    CheckClosed();
    deviceName_ = v;
}

void TVaCustomComm::SetDevicePath(const std::string& v) {
    CheckClosed();
    devicePath_ = v;
}

void TVaCustomComm::SetMonitorEvents(TVaCommEvents v) {
    CheckClosed();
    monitorEvents_ = v;
}

void TVaCustomComm::SetBuffers(const TVaBuffers& v) {
    CheckClosed();
    buffers_.Assign(v);
}

void TVaCustomComm::SetDirectWrite(bool v) {
    CheckClosed();
    directWrite_ = v;
}

void TVaCustomComm::SetUpdateDCB(bool v) {
    CheckClosed();
    updateDcb_ = v;
}

// ---- open and close

void TVaCustomComm::Open() {
    CheckClosed();
    OpenDevice();
    try {
        WriteDcb();
        SetupBuffers();
        SetupTimeouts();
        SetupEventMask();
        StartWorkers();
    } catch (...) {
        StopWorkers();
        ReleaseHandle();
        throw;
    }
    if (OnOpen)
        Guarded([&] { OnOpen(this); });
}

void TVaCustomComm::OpenDevice() {
    const std::string name = PortName();
    int error = 0;
    std::shared_ptr<ISerialPort> port = backend_->Open(name, error);
    if (!port) {
        if (error == ENOENT) {
            // A COMn name also says which device file it stands for here.
            const std::string file = backend_->DeviceFile(name);
            const std::string shown = file.empty() || file == name ? name : name + ", " + file;
            throw EVaCommError(FormatCommMessage("Specified device not found (%s).", {shown}));
        }
        throw EVaCommError(FormatCommMessage("Can't open specified device %s", {name}) +
                           FormatCommMessage(" (Error %d, %s)", {static_cast<long long>(error),
                                                                 backend_->ErrorText(error)}));
    }
    auto session = std::make_shared<TVaCommSession>();
    session->port = std::make_shared<TVaReadAheadPort>(std::move(port), TRxStepRule::kReadAheadBytes);
    session->ui = ui_;
    session->link = link_;
    session_ = std::move(session);
}

void TVaCustomComm::WriteDcb() {
    if (!Active() || !updateDcb_)
        return;
    const TVaDcb dcb = BuildDcb(line_, flowControl_, eventChars_, buffers_);
    CheckCommResult(session_->port->SetState(dcb), "Error writing dcb (%d), %s");
}

void TVaCustomComm::SetupBuffers() {
    CheckCommResult(session_->port->SetupQueues(static_cast<std::uint32_t>(buffers_.ReadSize()),
                                                static_cast<std::uint32_t>(buffers_.WriteSize())),
                    "Error initializing buffers (%d), %s");
}

void TVaCustomComm::SetupTimeouts() {
    CheckCommResult(session_->port->SetImmediateReads(), "Error setting timeouts (%d), %s");
}

void TVaCustomComm::SetupEventMask() {
    eventMask_ = EventMaskOf(monitorEvents_, directWrite_);
    CheckCommResult(session_->port->SetEventMask(eventMask_), " Error setting EventMask (%d), %s");
}

void TVaCustomComm::StartWorkers() {
    if (eventMask_ != 0) {
        TVaCommEventThread::Start(session_, eventMask_);
        eventWorkerRunning_ = true;
    }
    if (!directWrite_)
        writeWorker_ =
            TVaCommWriteThread::Start(session_, static_cast<std::size_t>(buffers_.WriteSize()));
}

void TVaCustomComm::Close() {
    if (!Active())
        return;
    {
        std::lock_guard g(readLock_);
        StopWorkers();
    }
    ReleaseHandle();
    if (OnClose && !destroying_)
        OnClose(this);
}

void TVaCustomComm::StopWorkers() {
    if (session_)
        session_->stop.store(true);
    eventWorkerRunning_ = false;
    if (writeWorker_) {
        writeWorker_->Stop();
        writeWorker_.reset();
    }
}

// Wakes every wait of the stopped workers and releases the device; a worker still blocked in a
// UI step keeps the session alive until it returns.
void TVaCustomComm::ReleaseHandle() {
    std::shared_ptr<TVaCommSession> session = std::move(session_);
    session_.reset();
    if (session)
        session->port->Shutdown();
}

// ---- modem lines and status

void TVaCustomComm::SetDtr(bool state) {
    if (flowControl_.ControlDtr() == dtrHandshake)
        throw EVaCommError("DTR line updates not allowed when flowcontrol is set to Handshake.");
    if (!Active())
        return;
    CheckCommResult(session_->port->Escape(state ? TVaEscape::SetDtr : TVaEscape::ClrDtr),
                    "Error calling comm function (%d), %s");
}

void TVaCustomComm::SetRts(bool state) {
    const TVaControlRts mode = flowControl_.ControlRts();
    if (mode == rtsHandshake || mode == rtsToggle)
        throw EVaCommError(
            "RTS line updates not allowed when flowcontrol is set to Handshake or Toggle.");
    if (!Active())
        return;
    CheckCommResult(session_->port->Escape(state ? TVaEscape::SetRts : TVaEscape::ClrRts),
                    "Error calling comm function (%d), %s");
}

void TVaCustomComm::ReadStatus(std::uint32_t& errors, TVaComStat& stat) {
    std::lock_guard g(readLock_);
    errors = 0;
    stat = TVaComStat{};
    if (!Active())
        return;
    CheckCommResult(session_->port->ClearError(errors, stat),
                    "Error retrieving statistics (%d), %s");
}

int TVaCustomComm::InQueueCount() {
    if (!Active())
        return 0;
    std::uint32_t errors = 0;
    TVaComStat stat;
    ReadStatus(errors, stat);
    return static_cast<int>(stat.cbInQue);
}

// ---- receive and transmit

int TVaCustomComm::ReadData(void* buffer, int count) {
    if (!Active() || count <= 0)
        return 0;
    std::lock_guard g(readLock_);
    for (;;) {
        const TVaIoResult r = session_->port->Read(buffer, static_cast<std::size_t>(count));
        if (r.error == 0) {
            session_->bytesRead.fetch_add(r.count);
            return static_cast<int>(r.count);
        }
        if (r.error == EINTR)
            continue;
        if (r.error == EAGAIN)
            return 0;
        RaiseCommError("Read error (%d), %s", r.error);
    }
}

std::string TVaCustomComm::ReadText() {
    const int n = InQueueCount();
    if (n <= 0)
        return {};
    std::string text(static_cast<std::size_t>(n), '\0');
    text.resize(static_cast<std::size_t>(ReadData(text.data(), n)));
    return text;
}

bool TVaCustomComm::WriteText(const std::string& text) {
    const int count = static_cast<int>(text.size());
    return WriteData(text.data(), count) == count;
}

int TVaCustomComm::WriteData(const void* data, int count) {
    if (!Active() || count < 0)
        return 0;
    // Once the device has gone nothing would ever be sent: say so rather than queue.
    if (session_->lost.load())
        RaiseCommError("Write error (%d), %s", EIO);
    if (directWrite_)
        return WriteDirect(static_cast<const char*>(data), count);
    if (!writeWorker_->Enqueue(data, static_cast<std::size_t>(count), buffers_.WriteTimeout()))
        throw EVaCommError(kBufferFull);
    return count;
}

int TVaCustomComm::WriteDirect(const char* data, int count) {
    std::lock_guard g(writeLock_);
    ISerialPort& port = *session_->port;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(buffers_.WriteTimeout());
    int written = 0;
    do {
        const TVaIoResult r = port.Write(data + written, static_cast<std::size_t>(count - written));
        if (r.error == 0) {
            written += static_cast<int>(r.count);
            continue;
        }
        if (r.error == EINTR)
            continue;
        if (r.error != EAGAIN)
            RaiseCommError("Write error (%d), %s", r.error);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        const TVaWaitResult w = port.Wait(false, true, static_cast<int>(left.count()) + 1);
        if (w.hangUp)
            RaiseCommError("Write error (%d), %s", EIO);
        if (w.status == TVaWaitStatus::Failed && w.error != EINTR)
            RaiseCommError("Write error (%d), %s", w.error);
    } while (written < count);
    session_->txPending.store(true);
    return written;
}

// ---- steps run on the UI thread for the workers

void TVaCustomComm::RunEventStep(const TVaCommSession& session, std::uint32_t bits) {
    // A step queued before Close (or before a new Open) belongs to a port that is gone.
    if (session_.get() != &session)
        return;
    if (bits & EV_RXCHAR) {
        Guarded([&] { HandleRxChar(); });
        bits &= ~EV_RXCHAR;
    }
    if (bits != 0)
        Guarded([&] { HandleEvents(bits); });
}

void TVaCustomComm::RunWriteStep(std::uint32_t bits) {
    Guarded([&] { HandleEvents(bits); });
}

void TVaCustomComm::RunDeviceLost(const TVaCommSession& session) {
    // A port closed or opened again meanwhile is not the one that was lost.
    if (session_.get() != &session || !OnError)
        return;
    Guarded([&] { OnError(this, static_cast<int>(CE_IOE)); });
}

void TVaCustomComm::HandleRxChar() {
    const int count = InQueueCount();
    if (count <= 0)
        return;
    if (OnRxChar)
        OnRxChar(this, count);
}

void TVaCustomComm::HandleError() {
    std::uint32_t errors = 0;
    TVaComStat stat;
    ReadStatus(errors, stat);
    if (errors != 0 && OnError)
        Guarded([&] { OnError(this, static_cast<int>(errors)); });
}

void TVaCustomComm::HandleEvents(std::uint32_t mask) {
    auto raise = [&](std::uint32_t bit, const TNotifyEvent& handler) {
        if ((mask & bit) && handler)
            handler(this);
    };
    if (mask & EV_ERR)
        HandleError();
    raise(EV_RXFLAG, OnRxFlag);
    raise(EV_CTS, OnCts);
    raise(EV_DSR, OnDsr);
    raise(EV_RING, OnRing);
    raise(EV_RLSD, OnRlsd);
    raise(EV_TXEMPTY, OnTxEmpty);
    raise(EV_BREAK, OnBreak);
    raise(EV_PERR, OnPErr);
    raise(EV_RX80FULL, OnRx80Full);
    raise(EV_EVENT1, OnEvent1);
    raise(EV_EVENT2, OnEvent2);
}

} // namespace kuvar::serial
