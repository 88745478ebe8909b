// SPDX-License-Identifier: GPL-3.0-or-later
// TVaComm: the serial port component. It owns one device, keeps its line settings in it while
// open, watches the line with an event worker, sends through a write worker (or directly), and
// raises every event on the UI thread through the IUiThread it is given.
//
// How the window uses it:
//
//     TVaComm comm(uiThread);                        // uiThread: std::shared_ptr<IUiThread>
//     comm.ExceptionHandler = [&](const std::exception& e) { ShowAppException(e); };
//     comm.OnRxChar = [&](TVaCustomComm*, int) { rxBuffer += comm.ReadText(); };
//     comm.OnOpen = [&](TVaCustomComm*) { portOpen = true; };
//     comm.OnClose = [&](TVaCustomComm*) { portOpen = false; };
//     comm.OnError = [&](TVaCustomComm*, int errors) {
//         if (errors & CE_IOE) { /* "Device disconnected (%s)." with comm.PortName() */ }
//     };
//     comm.SetPortNum(3);                            // opens "\\.\COM3", i.e. /dev/ttyS2
//     comm.SetDevicePath("/dev/ttyUSB0");            // or any device path as typed
//     comm.SetBaudrate(br115200);
//     comm.Open();                                   // EVaCommError naming the device
//     comm.SetRts(true);
//     comm.SetDtr(true);
//     comm.WriteText("<...>\r");                     // false when the port is closed
//     std::string got = comm.ReadText();
//     comm.Close();                                  // OnClose; works inside OnRxChar too
#pragma once

#include "serial/serial_backend.h"
#include "serial/ui_thread.h"
#include "serial/va_comm_threads.h"
#include "serial/va_dcb.h"
#include "serial/va_settings.h"
#include "serial/va_types.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace kuvar::serial {

class TVaCustomComm : private IVaCommEventSink {
public:
    using TNotifyEvent = std::function<void(TVaCustomComm* sender)>;
    using TVaCommErrorEvent = std::function<void(TVaCustomComm* sender, int errors)>;
    using TVaCommRxCharEvent = std::function<void(TVaCustomComm* sender, int count)>;
    using TVaExceptionHandler = std::function<void(const std::exception&)>;

    explicit TVaCustomComm(std::shared_ptr<IUiThread> ui,
                           std::shared_ptr<ISerialBackend> backend = DefaultSerialBackend());
    // Closes an open port without OnClose.
    virtual ~TVaCustomComm();
    TVaCustomComm(const TVaCustomComm&) = delete;
    TVaCustomComm& operator=(const TVaCustomComm&) = delete;

    // Opens when AutoOpen is set; call once the stored settings have been applied.
    void Loaded();

    void Open();
    void Close();
    bool Active() const { return session_ != nullptr; }
    void SetDtr(bool state);
    void SetRts(bool state);
    void ReadStatus(std::uint32_t& errors, TVaComStat& stat);
    int InQueueCount();

    int ReadData(void* buffer, int count);
    std::string ReadText();
    int WriteData(const void* data, int count);
    bool WriteText(const std::string& text);

    // The name messages use: DevicePath when set, else DeviceName with PortNum put in.
    std::string PortName() const;
    std::uint32_t EventMask() const { return eventMask_; }
    // True once the open port's device has gone (reported as OnError with CE_IOE).
    bool DeviceLost() const;

    // Properties; setters marked "refused while open" raise
    // "Can't perform this operation while port is open" and keep the old value.
    bool AutoOpen() const { return autoOpen_; }
    void SetAutoOpen(bool v) { autoOpen_ = v; }
    TVaBaudrate Baudrate() const { return line_.baudrate; }
    void SetBaudrate(TVaBaudrate v);
    TVaParity Parity() const { return line_.parity; }
    void SetParity(TVaParity v);
    TVaDatabits Databits() const { return line_.databits; }
    void SetDatabits(TVaDatabits v);
    TVaStopbits Stopbits() const { return line_.stopbits; }
    void SetStopbits(TVaStopbits v);
    TVaEventChars& EventChars() { return eventChars_; }
    void SetEventChars(const TVaEventChars& v) { eventChars_.Assign(v); }
    TVaFlowControl& FlowControl() { return flowControl_; }
    void SetFlowControl(const TVaFlowControl& v) { flowControl_.Assign(v); }
    TVaCommOptions Options() const { return line_.options; }
    void SetOptions(TVaCommOptions v);
    std::int32_t PortNum() const { return portNum_; }
    void SetPortNum(std::int32_t v); // refused while open
    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(const std::string& v); // refused while open
    // Any device path, opened as typed; when not empty it replaces DeviceName and PortNum.
    const std::string& DevicePath() const { return devicePath_; }
    void SetDevicePath(const std::string& v); // refused while open
    TVaCommEvents MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TVaCommEvents v); // refused while open
    // Changing a size or a limit while open keeps the new value for the next Open and raises.
    TVaBuffers& Buffers() { return buffers_; }
    void SetBuffers(const TVaBuffers& v); // refused while open
    // Stored only: POSIX threads of an ordinary user cannot be raised above normal.
    TThreadPriority EventPriority() const { return eventPriority_; }
    void SetEventPriority(TThreadPriority v) { eventPriority_ = v; }
    TThreadPriority WritePriority() const { return writePriority_; }
    void SetWritePriority(TThreadPriority v) { writePriority_ = v; }
    bool DirectWrite() const { return directWrite_; }
    void SetDirectWrite(bool v); // refused while open
    bool UpdateDCB() const { return updateDcb_; }
    void SetUpdateDCB(bool v); // refused while open
    std::int32_t UserBaudrate() const { return static_cast<std::int32_t>(line_.userBaudrate); }
    void SetUserBaudrate(std::int32_t v);

    // Events, raised on the UI thread; sender is always this component.
    TNotifyEvent OnOpen, OnClose, OnCts, OnDsr, OnRlsd, OnRing, OnBreak;
    TVaCommErrorEvent OnError;
    TVaCommRxCharEvent OnRxChar;
    TNotifyEvent OnRxFlag, OnTxEmpty, OnPErr, OnRx80Full, OnEvent1, OnEvent2;
    // The application's exception handler: receives what a handler raises inside a worker's
    // UI step or inside OnOpen.
    TVaExceptionHandler ExceptionHandler;

protected:
    virtual void OpenDevice();
    virtual void StartWorkers();
    virtual void HandleRxChar();
    virtual void HandleEvents(std::uint32_t mask);

    void CheckClosed() const;
    [[noreturn]] void RaiseCommError(const char* pattern, int code) const;
    void CheckCommResult(int code, const char* pattern) const;

private:
    void WriteDcb();
    void SetupBuffers();
    void SetupTimeouts();
    void SetupEventMask();
    void StopWorkers();
    void ReleaseHandle();
    void HandleError();
    void ReportException(const std::exception& e);
    template <typename F> void Guarded(F f);
    int WriteDirect(const char* data, int count);

    void RunEventStep(const TVaCommSession& session, std::uint32_t bits) override;
    void RunWriteStep(std::uint32_t bits) override;
    void RunDeviceLost(const TVaCommSession& session) override;

    std::shared_ptr<IUiThread> ui_;
    std::shared_ptr<ISerialBackend> backend_;
    std::shared_ptr<TVaCommLink> link_;
    std::shared_ptr<TVaCommSession> session_; // the open port; null while closed
    std::shared_ptr<TVaCommWriteThread> writeWorker_;
    bool eventWorkerRunning_ = false;
    std::uint32_t eventMask_ = 0;
    bool destroying_ = false;
    std::mutex readLock_;
    std::mutex writeLock_;

    bool autoOpen_ = false;
    TVaLineSettings line_;
    TVaEventChars eventChars_;
    TVaFlowControl flowControl_;
    TVaBuffers buffers_;
    std::int32_t portNum_ = 0;
    std::string deviceName_ = "\\\\.\\COM%d";
    std::string devicePath_;
    TVaCommEvents monitorEvents_{ceError, ceRxChar, ceTxEmpty};
    TThreadPriority eventPriority_ = tpNormal;
    TThreadPriority writePriority_ = tpHighest;
    bool directWrite_ = false;
    bool updateDcb_ = true;
};

// The published component; adds nothing to TVaCustomComm.
class TVaComm : public TVaCustomComm {
public:
    using TVaCustomComm::TVaCustomComm;
};

} // namespace kuvar::serial
