// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QPlainTextEdit;

namespace kuvar {

// The receive log Memo1: every reply as one line, the newest kMaxLines kept. Lines are collected
// and appended together on a later pass of the event loop, at least kSpacingMs after the last
// append: a stream of hundreds of replies a second then lays out and paints the log 20 times a
// second instead of once per frame. A lone reply after a quiet spell still shows on the next pass.
class TReceiveLog : public QObject {
public:
    static constexpr int kMaxLines = 10000;
    static constexpr qint64 kSpacingMs = 50;

    // Takes over memo's bound; must not outlive memo.
    explicit TReceiveLog(QPlainTextEdit* memo);

    void Add(const QString& line);
    // Clear: the lines received before it go with it.
    void Clear();
    // Appends what is pending now (the port closes, say).
    void Flush();

private:
    void TrimFor(qsizetype incoming);

    QPlainTextEdit* memo_;
    QStringList pending_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastAppend_ = -1;
};

} // namespace kuvar
