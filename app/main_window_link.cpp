// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the link: the port, the receive path and what the transactions and the
// dispatcher need of the window.
#include "app/app_exception.h"
#include "app/delay.h"
#include "app/main_window.h"
#include "app/port_list.h"
#include "modules/page_builder.h"
#include "modules/page_controls.h"
#include "modules/wire_text.h"
#include "protocol/deferred_actions.h"
#include "protocol/frame.h"
#include "protocol/manual_send.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace kuvar {

using kuvar::serial::TVaComm;
using kuvar::serial::TVaCustomComm;
using protocol::Control;

namespace {
const QColor kLime(0x00, 0xFF, 0x00);
const QColor kGreen(0x00, 0x80, 0x00);
constexpr int kLogLines = 10000;
constexpr int kReadsPerStep = 8;

// Collects the log's lines and appends them together on a later pass of the event loop, at
// least kSpacingMs after the last append: a stream of hundreds of replies a second then lays out
// and paints the log 20 times a second instead of once per frame. A lone reply after a quiet
// spell still shows on the next pass.
class TLogBatcher : public QObject {
public:
    explicit TLogBatcher(QPlainTextEdit* log) : QObject(log), log_(log) {
        setObjectName(QStringLiteral("Memo1Batcher"));
        clock_.start();
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { Flush(); });
    }
    void Add(const QString& line) {
        pending_ << line;
        if (timer_.isActive()) {
            return;
        }
        const qint64 wait = lastAppend_ < 0 ? 0 : lastAppend_ + kSpacingMs - clock_.elapsed();
        timer_.start(static_cast<int>(std::max<qint64>(0, wait)));
    }
    // Lines received before a clear go with it.
    void Drop() {
        pending_.clear();
        timer_.stop();
    }
    void Flush() {
        timer_.stop();
        if (pending_.isEmpty()) {
            return;
        }
        TrimFor(pending_.size());
        log_->appendPlainText(pending_.join(QLatin1Char('\n')));
        pending_.clear();
        lastAppend_ = clock_.elapsed();
    }

private:
    // Removes the oldest lines that `incoming` new ones would push past the log's bound. The
    // document would trim them itself, but it walks the removed lines one by one and lays each
    // out first: with a full log, that was four fifths of every append.
    void TrimFor(qsizetype incoming) {
        QTextDocument* doc = log_->document();
        const qsizetype bound = doc->maximumBlockCount();
        const qsizetype excess = doc->blockCount() + incoming - bound;
        if (bound <= 0 || excess <= 0 || excess >= doc->blockCount()) {
            return; // within bound, or everything goes: the document sees to it
        }
        QTextCursor cut(doc);
        cut.setPosition(doc->findBlockByNumber(static_cast<int>(excess)).position(),
                        QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    }

    static constexpr qint64 kSpacingMs = 50;
    QPlainTextEdit* log_;
    QStringList pending_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastAppend_ = -1;
};

TLogBatcher* LogBatcher(QPlainTextEdit* log) {
    return log->findChild<TLogBatcher*>(QStringLiteral("Memo1Batcher"), Qt::FindDirectChildrenOnly);
}
} // namespace

void TfKUVAR::BuildLink() {
    uiThread_ = std::make_shared<TQtUiThread>();
    VaComm1 = std::make_unique<TVaComm>(uiThread_);
    // Design settings: 57600 until the first open, all flow control off.
    VaComm1->SetBaudrate(kuvar::serial::br57600);
    VaComm1->ExceptionHandler = [](const std::exception& e) { HandleAppException(e); };
    VaComm1->OnOpen = [this](TVaCustomComm*) { VaComm1Open(); };
    VaComm1->OnClose = [this](TVaCustomComm*) { VaComm1Close(); };
    VaComm1->OnRxChar = [this](TVaCustomComm*, int) { VaComm1RxChar(); };
    VaComm1->OnError = [this](TVaCustomComm*, int errors) { VaComm1Error(errors); };

    Views = std::make_unique<modules::TMeasurementViews>(Ac, Gy);
    dispatcher_ = std::make_unique<protocol::ReplyDispatcher>(Link, *this, Views.get());
    framer_ = std::make_unique<protocol::ReceiveFramer>(
        Link, [this](const std::string& text) { dispatcher_->HandleReply(text); });
    Memo1->setMaximumBlockCount(kLogLines);
    new TLogBatcher(Memo1);
}

void TfKUVAR::btConnectClick() {
    if (PortIsOpen) {
        CloseComPort();
    } else {
        OpenComPort();
    }
}

void TfKUVAR::OpenComPort() {
    kuvar::Delay(10);
    const QString portText = ePortNo->currentText();
    if (IsDevicePath(portText)) {
        VaComm1->SetDevicePath(QFile::encodeName(portText).toStdString());
    } else {
        const int portNum = PortNumFromText(portText);
        VaComm1->SetDevicePath(std::string());
        VaComm1->SetPortNum(portNum);
    }
    const auto code = BaudrateCode(cbBaudrate->currentText());
    if (!code) {
        throw EConvertError(QStringLiteral("Baud rate %1 is not supported")
                                .arg(cbBaudrate->currentText().trimmed())
                                .toStdString());
    }
    VaComm1->SetBaudrate(*code);
    VaComm1->Open();
    VaComm1->SetRts(true);
    VaComm1->SetDtr(true);
}

void TfKUVAR::CloseComPort() {
    kuvar::Delay(10);
    VaComm1->Close();
    // What was received before the close is in the log when Close returns.
    LogBatcher(Memo1)->Flush();
}

void TfKUVAR::LoadPortPicture(const char* file) {
    const QString path = QDir(paths_.pictureDir).filePath(QString::fromLatin1(file));
    QPixmap picture;
    if (!picture.load(path)) {
        throw EInOutError(QStringLiteral("Cannot load %1").arg(path).toStdString());
    }
    imConnect->setPixmap(picture);
    imConnect->resize(picture.size());
}

void TfKUVAR::VaComm1Open() {
    LoadPortPicture("on.bmp");
    modules::SetLabelColour(lbComOpen, kLime);
    PortIsOpen = true;
}

void TfKUVAR::VaComm1Close() {
    LoadPortPicture("off.bmp");
    modules::SetLabelColour(lbComOpen, kGreen);
    PortIsOpen = false;
}

void TfKUVAR::VaComm1RxChar() {
    // Bytes that arrive while a chunk is handled are read in the same step: left in the driver,
    // the worker would only look at them again on its next poll, 20 ms later. Bounded, so that a
    // line faster than the window still lets it paint.
    for (int reads = 0; reads < kReadsPerStep; ++reads) {
        const std::string chunk = VaComm1->ReadText();
        if (chunk.empty()) {
            break;
        }
        framer_->Feed(chunk);
    }
}

void TfKUVAR::VaComm1Error(int errors) {
    if (!(errors & kuvar::serial::CE_IOE) || !VaComm1->DeviceLost()) {
        return;
    }
    // The device went away (cable unplugged): say so once and close as btConnect would.
    const QString port = QString::fromStdString(VaComm1->PortName());
    ShowAppException(
        this,
        std::runtime_error(QStringLiteral("Device disconnected (%1).").arg(port).toStdString()));
    CloseComPort();
}

void TfKUVAR::bt360SendClick(Control line) {
    protocol::ManualSend(Link, *this, line);
}

void TfKUVAR::btClearClick() {
    LogBatcher(Memo1)->Drop();
    Memo1->clear();
}

void TfKUVAR::Timer1Timer() {
    protocol::Timer1Timer(Link, *this);
}

void TfKUVAR::WriteFrame(const std::string& frame) {
    VaComm1->WriteText(frame);
    const QString shown = modules::FromWire(frame);
    SetStatusText(1, shown);
    leSendMessage->setText(shown);
}

void TfKUVAR::Delay(int ms) {
    kuvar::Delay(ms);
}

void TfKUVAR::SetStatus0(const std::string& text) {
    SetStatusText(0, modules::FromMixed(text));
}

bool TfKUVAR::Ask(const std::string& question) {
    QMessageBox box(QMessageBox::Question, windowTitle(), modules::FromMixed(question),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("Question"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TfKUVAR::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), modules::FromMixed(text), QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("Message"));
    box.exec();
}

void TfKUVAR::StartTimer1() {
    Timer1->start();
}

void TfKUVAR::StopTimer1() {
    Timer1->stop();
}

QWidget* TfKUVAR::ControlWidget(Control control) const {
    if (QWidget* widget = modules::PageControl(Ac, Gy, control)) {
        return widget;
    }
    switch (control) {
    case Control::edSend1:
        return edSend1;
    case Control::edSend2:
        return edSend2;
    case Control::edSend3:
        return edSend3;
    default:
        break;
    }
    throw std::logic_error("Unknown control");
}

std::string TfKUVAR::Text(Control control) {
    QWidget* widget = ControlWidget(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return modules::ToWire(edit->text());
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return modules::ToWire(combo->currentText());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return modules::ToWire(label->text());
    }
    return std::string();
}

void TfKUVAR::SetText(Control control, const std::string& text) {
    QWidget* widget = ControlWidget(control);
    const QString value = modules::FromWire(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != value) {
            edit->setText(value);
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->currentText() != value) {
            combo->setEditText(value);
        }
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    }
}

void TfKUVAR::SetChecked(Control control, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(ControlWidget(control))) {
        button->setChecked(checked);
    }
}

void TfKUVAR::AppendLog(const std::string& line) {
    LogBatcher(Memo1)->Add(modules::FromWire(line));
}

} // namespace kuvar
