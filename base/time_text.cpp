// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/time_text.h"

#include <QDateTime>

#include <algorithm>
#include <cstdlib>

namespace kuvar {

namespace {

void Digits(char* at, int value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

} // namespace

void TIsoTimeText::Append(qint64 unixMs, QByteArray& out) {
    // Floor division, so that a time before the epoch still has milliseconds 0..999.
    qint64 second = unixMs / 1000;
    int ms = static_cast<int>(unixMs % 1000);
    if (ms < 0) {
        ms += 1000;
        --second;
    }
    if (second != second_) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(second);
        const QDate date = local.date();
        const QTime time = local.time();
        // "YYYY-MM-DDTHH:MM:SS"
        Digits(head_, std::clamp(date.year(), 0, 9999), 4);
        Digits(head_ + 5, date.month(), 2);
        Digits(head_ + 8, date.day(), 2);
        Digits(head_ + 11, time.hour(), 2);
        Digits(head_ + 14, time.minute(), 2);
        Digits(head_ + 17, time.second(), 2);
        head_[4] = head_[7] = '-';
        head_[10] = 'T';
        head_[13] = head_[16] = ':';
        const int offset = local.offsetFromUtc();
        const int minutes = std::abs(offset) / 60;
        offset_[0] = offset < 0 ? '-' : '+';
        Digits(offset_ + 1, minutes / 60, 2);
        offset_[3] = ':';
        Digits(offset_ + 4, minutes % 60, 2);
        second_ = second;
    }
    char millis[4] = {'.'};
    Digits(millis + 1, ms, 3);
    out.append(head_, 19);
    out.append(millis, 4);
    out.append(offset_, 6);
}

QString TIsoTimeText::Text(qint64 unixMs) {
    QByteArray text;
    Append(unixMs, text);
    return QString::fromLatin1(text);
}

QString IsoTimeText(qint64 unixMs) {
    return TIsoTimeText().Text(unixMs);
}

} // namespace kuvar
