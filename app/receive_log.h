// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QPlainTextEdit;

namespace kuvar {

// The receive log Memo1: every reply as one line, the newest kept within kMaxLines lines and
// kMaxChars characters. Lines are collected and appended together on a later pass of the event
// loop, at least kSpacingMs after the last append: a stream of hundreds of replies a second then
// lays out and paints the log 20 times a second instead of once per frame. A lone reply after a
// quiet spell still shows on the next pass. The operator may type into the log; what is typed
// counts towards the bounds like a reply, and nothing reads it.
class TReceiveLog : public QObject {
public:
    static constexpr int kMaxLines = 10000;
    // Long replies (the receive buffer lets one reach 64 KiB) would otherwise fill 10,000 lines
    // with gigabytes of text and layout.
    static constexpr qsizetype kMaxChars = 16 * 1024 * 1024;
    // A longer reply is shown up to here, followed by a mark that gives its whole length.
    static constexpr qsizetype kMaxLineChars = 4096;
    static constexpr qint64 kSpacingMs = 50;

    // Takes over memo's line bound; must not outlive memo.
    explicit TReceiveLog(QPlainTextEdit* memo);

    // A reply as the log shows it: control characters in caret notation (NUL as "^@", which also
    // keeps the log's text whole for assistive technology), and a reply longer than kMaxLineChars
    // cut there, with the mark.
    static QString Shown(const QString& reply);

    void Add(const QString& line);
    // Clear: the lines received before it go with it.
    void Clear();
    // Appends what is pending now (the port closes, say).
    void Flush();

private:
    void TrimFor(qsizetype lines, qsizetype chars);

    QPlainTextEdit* memo_;
    QStringList pending_;
    qsizetype pendingChars_ = 0; // of pending_, one line separator each
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastAppend_ = -1;
};

} // namespace kuvar
