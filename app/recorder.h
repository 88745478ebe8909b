// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/record_sink.h"
#include "app/recording_file.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <list>
#include <memory>

class QLabel;
class QWidget;

namespace kuvar {

class TAbColBitBtn;
class TLinkController;
class TUserPreferences;

// Records the link to a CSV file while the operator wants it: btRecord starts (after a file
// dialog) and stops it, and shows by its face and its label whether a recording runs. Every reply
// goes in with its time, page and, for a frame the displays show, the values shown; so do the
// frames the window sends. Closing the port or the window ends the file cleanly. A file that
// cannot be written stops the recording with "Recording stopped: <reason> (<file>)" in the
// error line; the stream, the displays and the charts go on.
class TRecorder : public QObject, public IRecordSink {
public:
    // gyShown tells which page the window shows, for replies and frames of no page of their own.
    TRecorder(TLinkController& link, TUserPreferences& preferences, TAbColBitBtn* button,
              QLabel* label, QWidget* dialogParent, std::function<bool()> gyShown);
    ~TRecorder() override;

    // Asks for a file name (suggested: the last folder or the documents folder, and the start's
    // local time); replaceable so that tests run without a dialog. Empty: not chosen.
    std::function<QString(QWidget* parent, const QString& suggested)> chooseFile;

    // btRecord: stops a running recording, else asks for a file and starts one.
    void btRecordClick();
    // Starts recording to path at once (the port must be open).
    void Start(const QString& path);
    void Stop();
    bool Recording() const { return file_ != nullptr; }
    // A recording runs or a stopped one is still writing its last rows.
    bool Writing() const { return file_ || !finishing_.empty(); }
    QString Path() const;
    // The file's name as suggested now, in the folder remembered or the documents folder.
    QString SuggestedPath() const;

    void Reply(const protocol::ReplyRecord& reply) noexcept override;
    void Sent(const protocol::ArrivalTime& at, const std::string& frame) noexcept override;
    void PortClosed() noexcept override;

private:
    QByteArray Header() const;
    void Poll();
    void ShowState();
    void Report(const QString& text);
    void ReportStopped(const QString& why, const QString& path);

    TLinkController& link_;
    TUserPreferences& preferences_; // the folder of the last recording
    TAbColBitBtn* button_;
    QLabel* label_;
    QWidget* dialogParent_;
    std::function<bool()> gyShown_;
    std::unique_ptr<TRecordingFile> file_;
    // Recordings stopped but still writing their last rows.
    std::list<std::unique_ptr<TRecordingFile>> finishing_;
    qint64 lostReported_ = 0;
    QTimer poll_;
};

} // namespace kuvar
