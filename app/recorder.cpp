// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recorder.h"

#include "app/link_controller.h"
#include "app/user_preferences.h"
#include "app/window_panels.h"
#include "base/guard.h"
#include "base/time_text.h"
#include "modules/page_builder.h"
#include "protocol/messages.h"
#include "serial/va_dcb.h"

#include "kuvar_version.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

#include <chrono>

namespace kuvar {

namespace {

const QString kFolderKey = QStringLiteral("Recording/Folder");
constexpr int kPollMs = 250;
const QColor kRecordingRed{0xFF, 0x30, 0x30};

} // namespace

TRecorder::TRecorder(TLinkController& link, TUserPreferences& preferences, TAbColBitBtn* button,
                     QLabel* label, QWidget* dialogParent, std::function<bool()> gyShown)
    : link_(link), preferences_(preferences), button_(button), label_(label),
      dialogParent_(dialogParent), gyShown_(std::move(gyShown)) {
    chooseFile = [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, tr("Record to"), suggested,
                                            tr("CSV files (*.csv)"));
    };
    poll_.setInterval(kPollMs);
    ConnectGuarded(&poll_, &QTimer::timeout, this, [this] { Poll(); });
    link_.SetRecordSink(this);
}

TRecorder::~TRecorder() {
    link_.SetRecordSink(nullptr);
    // The files end here, each with every row handed over.
    file_.reset();
    finishing_.clear();
}

QString TRecorder::Path() const {
    return file_ ? file_->Path() : QString();
}

QString TRecorder::SuggestedPath() const {
    return OfferedPath(preferences_, kFolderKey, QStringLiteral("kuvar"), QStringLiteral("csv"));
}

void TRecorder::btRecordClick() {
    if (Recording()) {
        Stop();
        return;
    }
    if (!link_.PortOpen()) {
        link_.ShowMessage(protocol::kOpenComPort);
        return;
    }
    const QString path = chooseFile(dialogParent_, SuggestedPath());
    if (path.isEmpty()) {
        return;
    }
    KeepFolderOf(preferences_, kFolderKey, path);
    Start(path);
}

QByteArray TRecorder::Header() const {
    const serial::TVaComm& comm = *link_.VaComm1;
    const std::uint32_t baud = comm.Baudrate() == serial::brUser
                                   ? static_cast<std::uint32_t>(comm.UserBaudrate())
                                   : serial::BaudrateValue(comm.Baudrate());
    QByteArray h;
    h += "# KUVAR recording\r\n";
    h += "# program: kuvar " KUVAR_VERSION "\r\n";
    h += "# port: " + QByteArray::fromStdString(comm.PortName()) + "\r\n";
    h += "# baud rate: " + QByteArray::number(baud) + "\r\n";
    h += "# started: ";
    // On the clock of the rows' times, so that the start reads as they do.
    TIsoTimeText().Append(link_.Clock().Now().unixMs, h);
    h += "\r\n";
    h += "# time: when the reply's last byte arrived or the frame was sent, ISO 8601 local time "
         "with milliseconds and UTC offset\r\n";
    h += "# kind: frame (a measurement frame as the displays show it), reply (any other reply), "
         "sent (a frame the window sent), lost (rows the disk could not take; raw: how many)\r\n";
    h += "# page: AC (KUVAR-AC) or GY (KUVAR-GY)\r\n";
    h += "# unit: of value1..value3: mg (AC), deg (GY angles) or mdeg/s (GY rates)\r\n";
    h += "# value1, value2, value3: AC AccX, AccY, AccZ; GY Roll, Pitch, Yaw; after the offsets "
         "and the scale, as the displays show them\r\n";
    h += "# raw: the reply as received without its checksum characters, or the frame as sent "
         "without its CR (quoted where it holds a comma, a quote or a control byte)\r\n";
    h += "time,kind,page,unit,value1,value2,value3,raw\r\n";
    return h;
}

void TRecorder::Start(const QString& path) {
    if (Recording()) {
        Stop();
    }
    try {
        file_ = std::make_unique<TRecordingFile>(path, Header());
    } catch (const EFileError& e) {
        ReportStopped(e.Why(), path);
        return;
    }
    lostReported_ = 0;
    poll_.start();
    ShowState();
}

void TRecorder::Stop() {
    if (!file_) {
        return;
    }
    file_->Finish();
    finishing_.push_back(std::move(file_));
    ShowState();
}

void TRecorder::Poll() {
    if (file_ && file_->RowsLost() > lostReported_) {
        lostReported_ = file_->RowsLost();
        Report(QStringLiteral("Recording: %1 rows lost, the disk did not keep up (%2)")
                   .arg(lostReported_)
                   .arg(file_->Path()));
    }
    if (file_ && file_->Done()) {
        Stop();
    }
    for (auto it = finishing_.begin(); it != finishing_.end();) {
        if (!(*it)->Done()) {
            ++it;
            continue;
        }
        const QString failure = (*it)->Failure();
        if (!failure.isEmpty()) {
            ReportStopped(failure, (*it)->Path());
        }
        it = finishing_.erase(it);
    }
    if (!file_ && finishing_.empty()) {
        poll_.stop();
    }
}

void TRecorder::ShowState() {
    button_->SetChecked(Recording());
    modules::SetLabelColour(label_, Recording() ? kRecordingRed : kGreen);
}

void TRecorder::Report(const QString& text) {
    HandleAppException(std::runtime_error(text.toStdString()));
}

void TRecorder::ReportStopped(const QString& why, const QString& path) {
    Report(QStringLiteral("Recording stopped: %1 (%2)").arg(why, path));
}

void TRecorder::Reply(const protocol::ReplyRecord& reply) noexcept {
    if (!file_) {
        return;
    }
    try {
        TRecordRow row;
        row.unixMs = reply.at.unixMs;
        row.gy = reply.page == protocol::ModulePage::None ? gyShown_()
                                                          : reply.page == protocol::ModulePage::Gy;
        if (reply.shown.shown) {
            row.kind = TRecordRow::TKind::Frame;
            row.values = reply.shown.values;
            row.precision = reply.shown.precision;
            row.unit = reply.shown.unit;
        }
        row.raw = reply.text;
        file_->Push(std::move(row));
    } catch (...) {
        // Out of memory for one row: the row is lost, the stream goes on.
    }
}

void TRecorder::Sent(const protocol::ArrivalTime& at, const std::string& frame) noexcept {
    if (!file_) {
        return;
    }
    try {
        TRecordRow row;
        row.kind = TRecordRow::TKind::Sent;
        row.unixMs = at.unixMs;
        row.gy = gyShown_();
        row.raw = frame;
        if (!row.raw.empty() && row.raw.back() == '\r') {
            row.raw.pop_back();
        }
        file_->Push(std::move(row));
    } catch (...) {
    }
}

void TRecorder::PortClosed() noexcept {
    Stop();
}

} // namespace kuvar
