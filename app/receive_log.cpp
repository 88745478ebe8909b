// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/receive_log.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace kuvar {

TReceiveLog::TReceiveLog(QPlainTextEdit* memo) : memo_(memo) {
    memo_->setMaximumBlockCount(kMaxLines);
    clock_.start();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Flush(); });
}

QString TReceiveLog::Shown(const QString& reply) {
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; };
    const qsizetype length = reply.size();
    if (length <= kMaxLineChars && std::none_of(reply.begin(), reply.end(), isControl))
        return reply; // every reply of a stream: no copy
    // Caret notation ("^@" for NUL, "^?" for DEL): the window's fonts have no control pictures.
    QString shown;
    shown.reserve(std::min(length, kMaxLineChars) + 40);
    for (const QChar c : QStringView(reply).left(kMaxLineChars)) {
        if (isControl(c)) {
            shown += QLatin1Char('^');
            shown += QLatin1Char(static_cast<char>(c.unicode() ^ 0x40));
        } else {
            shown += c;
        }
    }
    if (length > kMaxLineChars)
        shown += QStringLiteral(" \u2026 [cut: %1 characters in all]").arg(length);
    return shown;
}

void TReceiveLog::Add(const QString& line) {
    pending_ << Shown(line);
    pendingChars_ += pending_.back().size() + 1;
    // Lines that the bounds would remove at once need not wait for it.
    while (pending_.size() > kMaxLines || pendingChars_ > kMaxChars) {
        pendingChars_ -= pending_.front().size() + 1;
        pending_.removeFirst();
    }
    if (timer_.isActive())
        return;
    const qint64 wait = lastAppend_ < 0 ? 0 : lastAppend_ + kSpacingMs - clock_.elapsed();
    timer_.start(static_cast<int>(std::max<qint64>(0, wait)));
}

void TReceiveLog::Clear() {
    pending_.clear();
    pendingChars_ = 0;
    timer_.stop();
    memo_->clear();
}

void TReceiveLog::Flush() {
    timer_.stop();
    if (pending_.isEmpty())
        return;
    TrimFor(pending_.size(), pendingChars_);
    memo_->appendPlainText(pending_.join(QLatin1Char('\n')));
    pending_.clear();
    pendingChars_ = 0;
    lastAppend_ = clock_.elapsed();
}

// Removes the oldest lines that `lines` new ones of `chars` characters would push past the
// bounds. The document would trim lines itself, but it walks the removed lines one by one and
// lays each out first: with a full log, that was four fifths of every append.
void TReceiveLog::TrimFor(qsizetype lines, qsizetype chars) {
    QTextDocument* doc = memo_->document();
    const qsizetype excessLines = doc->blockCount() + lines - kMaxLines;
    const qsizetype excessChars = doc->characterCount() + chars - kMaxChars;
    if (excessLines <= 0 && excessChars <= 0)
        return;
    qsizetype removedLines = 0;
    qsizetype removedChars = 0;
    QTextBlock keep = doc->firstBlock();
    while (keep.isValid() && (removedLines < excessLines || removedChars < excessChars)) {
        ++removedLines;
        removedChars += keep.length();
        keep = keep.next();
    }
    if (!keep.isValid()) {
        memo_->clear(); // everything goes
        return;
    }
    QTextCursor cut(doc);
    cut.setPosition(keep.position(), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
}

} // namespace kuvar
