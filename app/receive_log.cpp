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

void TReceiveLog::Add(const QString& line) {
    pending_ << line;
    if (timer_.isActive())
        return;
    const qint64 wait = lastAppend_ < 0 ? 0 : lastAppend_ + kSpacingMs - clock_.elapsed();
    timer_.start(static_cast<int>(std::max<qint64>(0, wait)));
}

void TReceiveLog::Clear() {
    pending_.clear();
    timer_.stop();
    memo_->clear();
}

void TReceiveLog::Flush() {
    timer_.stop();
    if (pending_.isEmpty())
        return;
    TrimFor(pending_.size());
    memo_->appendPlainText(pending_.join(QLatin1Char('\n')));
    pending_.clear();
    lastAppend_ = clock_.elapsed();
}

// Removes the oldest lines that `incoming` new ones would push past the bound. The document
// would trim them itself, but it walks the removed lines one by one and lays each out first:
// with a full log, that was four fifths of every append.
void TReceiveLog::TrimFor(qsizetype incoming) {
    QTextDocument* doc = memo_->document();
    const qsizetype bound = doc->maximumBlockCount();
    const qsizetype excess = doc->blockCount() + incoming - bound;
    if (bound <= 0 || excess <= 0 || excess >= doc->blockCount())
        return; // within bound, or everything goes: the document sees to it
    QTextCursor cut(doc);
    cut.setPosition(doc->findBlockByNumber(static_cast<int>(excess)).position(),
                    QTextCursor::KeepAnchor);
    cut.removeSelectedText();
}

} // namespace kuvar
