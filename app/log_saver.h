// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QPlainTextEdit;
class QPoint;

namespace kuvar {

class TUserPreferences;

// Saves the receive log Memo1 to a text file, from Memo1's context menu (after the standard edit
// actions) or with Ctrl+S while Memo1 has the focus: every line the log holds, the ones still
// waiting to be shown included, one per line in the line's code page (949), through the safe
// writer, with a progress dialog when the write takes long. A failure shows in the error line.
class TLogSaver : public QObject {
public:
    // flushPending shows the lines the log has not shown yet.
    TLogSaver(QPlainTextEdit* memo, TUserPreferences& preferences,
              std::function<void()> flushPending);

    // Asks for a file name; replaceable so that tests run without a dialog. Empty: not chosen.
    std::function<QString(QWidget* parent, const QString& suggested)> chooseFile;

    // The context menu's "Save Log..." and Ctrl+S.
    void SaveLogClick();
    // Writes the log to path; false when the operator cancelled the write. Throws EFileError.
    bool SaveTo(const QString& path);
    // The file's bytes: each line in code page 949, ended by LF.
    QByteArray LogBytes() const;
    QString SuggestedPath() const;

private:
    void ShowMenu(const QPoint& at);

    QPlainTextEdit* memo_;
    TUserPreferences& preferences_; // the folder of the last save
    std::function<void()> flushPending_;
};

} // namespace kuvar
