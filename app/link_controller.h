// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/delay.h"
#include "app/device_watch.h"
#include "app/link_view.h"
#include "app/record_sink.h"
#include "protocol/arrival_clock.h"
#include "protocol/link_state.h"
#include "protocol/measurement_view.h"
#include "protocol/receive_framer.h"
#include "protocol/reply_dispatcher.h"
#include "protocol/reply_target.h"
#include "protocol/transaction_host.h"
#include "serial/va_comm.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace kuvar {

class TQtUiThread;

// The link of the window, without a widget of its own: the serial component VaComm1 and its
// port, the receive path (framer and dispatcher), the shared link state, Timer1, and what the
// transactions and the dispatcher need of the window. It reaches the controls only through
// ILinkView. Every member runs on the UI thread.
//
// The receive path: VaComm1's event worker hands a receive step to the UI thread
// (TQtUiThread), VaComm1RxChar reads what arrived, the framer cuts it into replies and the
// dispatcher logs each, keeps it as LastFrame and hands stream frames to the measurement views.
class TLinkController : public QObject,
                        public protocol::ITransactionHost,
                        public protocol::IReplyTarget {
public:
    // views may be null: stream frames are then only logged. ports tells the device watch what
    // the system knows of the ports (the system's list when null).
    TLinkController(ILinkView& view, protocol::IMeasurementView* views, QObject* parent,
                    std::shared_ptr<IPortInfoSource> ports = nullptr);
    ~TLinkController() override;

    // The port, on the top panel.
    void btConnectClick();
    void OpenComPort();
    void CloseComPort();
    void VaComm1Open();
    void VaComm1Close();
    void VaComm1RxChar();
    void VaComm1Error(int errors);
    // A manual send line's Send button.
    void ManualSend(protocol::Control line);
    void Timer1Timer();
    // From now on the workers' steps are dropped: the window is going away.
    void Shutdown();
    // Opens the lost device again at path, at the rate it had; true when open. Sends nothing.
    bool Reconnect(const QString& path);
    // The window has closed: a command waiting now ends at once, and nothing more is sent, asked
    // or shown. The port stays open until the window is destroyed.
    void WindowClosing();

    // What the transactions need. A command whose wait is cut short (the window closes, the
    // device goes away) ends there: Delay throws EAbort, which ends its handler silently.
    bool PortOpen() override { return portOpen_; }
    void WriteFrame(const std::string& frame) override;
    void Delay(int ms) override;
    void SetStatus0(const std::string& text) override;
    bool Ask(const protocol::TMessage& question) override;
    void ShowMessage(const protocol::TMessage& text) override;
    void StartTimer1() override;
    void StopTimer1() override;
    std::string Text(protocol::Control control) override;
    // What the dispatcher writes.
    void AppendLog(const std::string& line) override;
    void SetText(protocol::Control control, const std::string& text) override;
    void SetChecked(protocol::Control control, bool checked) override;
    void RecordReply(const protocol::ReplyRecord& record) noexcept override;

    // Where the replies, the frames written and the port's closing go for a recording, or null.
    void SetRecordSink(IRecordSink* sink) { recordSink_ = sink; }
    const protocol::ArrivalClock& Clock() const { return clock_; }

    // The shared values of the link, touched only on the UI thread.
    protocol::LinkState State;
    std::unique_ptr<serial::TVaComm> VaComm1;
    QTimer* Timer1;
    // After "Device disconnected", waits for the device to come back and reopens it.
    TDeviceWatch Reconnection;

private:
    // The file the component opens for the port now set: a COMn port's /dev/ttyS path.
    QString DeviceFile() const;
    // Throws EAbort once the window has closed.
    void RefuseWhenClosing() const;

    ILinkView& view_;
    bool portOpen_ = false;
    TWaits waits_; // the commands' waits
    // The run's clock of arrival times, for the replies and the frames written alike.
    protocol::ArrivalClock clock_;
    IRecordSink* recordSink_ = nullptr;
    std::shared_ptr<TQtUiThread> uiThread_;
    std::unique_ptr<protocol::ReplyDispatcher> dispatcher_;
    std::unique_ptr<protocol::ReceiveFramer> framer_;
};

} // namespace kuvar
