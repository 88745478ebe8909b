// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/link_controller.h"

#include "app/delay.h"
#include "app/interface_language.h"
#include "app/port_list.h"
#include "app/qt_ui_thread.h"
#include "base/guard.h"
#include "modules/wire_text.h"
#include "protocol/deferred_actions.h"
#include "protocol/manual_send.h"
#include "serial/va_format.h"

#include <QElapsedTimer>
#include <QFile>

namespace kuvar {

using protocol::Control;
using serial::TVaCustomComm;

namespace {
// A receive step reads until the driver has nothing more: bytes that arrive while a chunk is
// handled are read in the same step, and a driver queue that was full has more behind it (left
// there, a fast line would overflow the driver before the next step). Bounded in time, so that
// a line faster than the window still lets it paint.
constexpr qint64 kStepReadBudgetNs = 8'000'000;
} // namespace

TLinkController::TLinkController(ILinkView& view, protocol::IMeasurementView* views,
                                 QObject* parent, std::shared_ptr<IPortInfoSource> ports)
    : QObject(parent), Timer1(new QTimer(this)),
      Reconnection(ports ? std::move(ports) : SystemPortInfo()), view_(view),
      uiThread_(std::make_shared<TQtUiThread>()) {
    Reconnection.tryReopen = [this](const QString& path) { return Reconnect(path); };
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer1->setSingleShot(true);
    ConnectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    VaComm1 = std::make_unique<serial::TVaComm>(uiThread_);
    // Design settings: 57600 until the first open, all flow control off.
    VaComm1->SetBaudrate(serial::br57600);
    VaComm1->ExceptionHandler = [](const std::exception& e) { HandleAppException(e); };
    VaComm1->OnOpen = [this](TVaCustomComm*) { VaComm1Open(); };
    VaComm1->OnClose = [this](TVaCustomComm*) { VaComm1Close(); };
    VaComm1->OnRxChar = [this](TVaCustomComm*, int) { VaComm1RxChar(); };
    VaComm1->OnError = [this](TVaCustomComm*, int errors) { VaComm1Error(errors); };
    // The design's settings are in place; AutoOpen stays off, so nothing opens here.
    VaComm1->Loaded();

    dispatcher_ = std::make_unique<protocol::ReplyDispatcher>(State, *this, views);
    framer_ = std::make_unique<protocol::ReceiveFramer>(
        State,
        [this](const std::string& text, const protocol::ArrivalTime& at) {
            dispatcher_->HandleReply(text, at);
        },
        clock_);
}

TLinkController::~TLinkController() {
    // Destroying the component closes an open port without its port-closed event.
    Shutdown();
    VaComm1.reset();
}

void TLinkController::Shutdown() {
    Reconnection.Cancel();
    uiThread_->Shutdown();
}

void TLinkController::WindowClosing() {
    Timer1->stop();
    waits_.EndAll();
}

void TLinkController::RefuseWhenClosing() const {
    if (waits_.Ended())
        throw EAbort();
}

void TLinkController::btConnectClick() {
    // Pressed while waiting for a lost device: the operator takes over.
    Reconnection.Cancel();
    if (portOpen_)
        CloseComPort();
    else
        OpenComPort();
}

void TLinkController::OpenComPort() {
    kuvar::Delay(10);
    const TPortTarget target = PortTargetOf(view_.PortText());
    if (target.comNumber) {
        VaComm1->SetDevicePath(std::string());
        VaComm1->SetPortNum(target.portNum);
    } else {
        CheckPortPath(target.path);
        VaComm1->SetDevicePath(QFile::encodeName(target.path).toStdString());
    }
    const QString rateText = view_.BaudrateText();
    const auto code = BaudrateCode(rateText);
    if (!code) {
        throw EConvertError(
            QStringLiteral("Baud rate %1 is not supported").arg(rateText.trimmed()).toStdString());
    }
    VaComm1->SetBaudrate(*code);
    VaComm1->Open();
    VaComm1->SetRts(true);
    VaComm1->SetDtr(true);
    Reconnection.Remember(DeviceFile());
}

QString TLinkController::DeviceFile() const {
    return QFile::decodeName(
        QByteArray::fromStdString(serial::PosixDeviceFile(VaComm1->PortName())));
}

bool TLinkController::Reconnect(const QString& path) {
    if (VaComm1->Active())
        return true;
    if (path != DeviceFile()) {
        // A USB adapter back at another path: the port text follows it.
        VaComm1->SetDevicePath(QFile::encodeName(path).toStdString());
        view_.SetPortText(path);
    }
    try {
        VaComm1->Open();
    } catch (const serial::EVaCommError&) {
        return false; // not ready yet, or taken by another program: keep waiting
    }
    VaComm1->SetRts(true);
    VaComm1->SetDtr(true);
    view_.ShowStatus0(
        QStringLiteral("Reconnected (%1).").arg(QString::fromStdString(VaComm1->PortName())));
    return true;
}

void TLinkController::CloseComPort() {
    kuvar::Delay(10);
    VaComm1->Close();
    // What was received before the close is in the log when Close returns.
    view_.FlushLog();
}

void TLinkController::VaComm1Open() {
    view_.ShowPortState(true);
    portOpen_ = true;
}

void TLinkController::VaComm1Close() {
    if (recordSink_)
        recordSink_->PortClosed();
    view_.ShowPortState(false);
    portOpen_ = false;
}

void TLinkController::VaComm1RxChar() {
    QElapsedTimer step;
    step.start();
    do {
        const std::string chunk = VaComm1->ReadText();
        if (chunk.empty())
            break;
        framer_->Feed(chunk);
    } while (step.nsecsElapsed() < kStepReadBudgetNs);
}

void TLinkController::VaComm1Error(int errors) {
    if (!(errors & serial::CE_IOE) || !VaComm1->DeviceLost())
        return;
    // The device went away (cable unplugged): say so once and close as btConnect would.
    const QString port = QString::fromStdString(VaComm1->PortName());
    HandleAppException(
        std::runtime_error(QStringLiteral("Device disconnected (%1).").arg(port).toStdString()));
    CloseComPort();
    Reconnection.Start();
    // The commands waiting for this device end here, and the message stays.
    waits_.CutRunning();
}

void TLinkController::ManualSend(Control line) {
    protocol::ManualSend(State, *this, line);
}

void TLinkController::Timer1Timer() {
    protocol::Timer1Timer(State, *this);
}

void TLinkController::WriteFrame(const std::string& frame) {
    RefuseWhenClosing();
    VaComm1->WriteText(frame);
    if (recordSink_)
        recordSink_->Sent(clock_.Now(), frame);
    view_.ShowSentFrame(modules::FromWire(frame));
}

void TLinkController::Delay(int ms) {
    if (!kuvar::Delay(ms, waits_))
        throw EAbort();
}

void TLinkController::SetStatus0(const std::string& text) {
    view_.ShowStatus0(modules::FromMixed(text));
}

bool TLinkController::Ask(const protocol::TMessage& question) {
    RefuseWhenClosing();
    return view_.Ask(TranslatedMessage(question));
}

void TLinkController::ShowMessage(const protocol::TMessage& text) {
    RefuseWhenClosing();
    view_.ShowMessage(TranslatedMessage(text));
}

void TLinkController::StartTimer1() {
    Timer1->start();
}

void TLinkController::StopTimer1() {
    Timer1->stop();
}

std::string TLinkController::Text(Control control) {
    return modules::ToWire(view_.ControlText(control));
}

void TLinkController::AppendLog(const std::string& line) {
    view_.AppendLog(modules::FromWire(line));
}

void TLinkController::SetText(Control control, const std::string& text) {
    view_.SetControlText(control, modules::FromWire(text));
}

void TLinkController::SetChecked(Control control, bool checked) {
    view_.SetControlChecked(control, checked);
}

void TLinkController::RecordReply(const protocol::ReplyRecord& record) noexcept {
    if (recordSink_)
        recordSink_->Reply(record);
}

} // namespace kuvar
