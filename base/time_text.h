// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <limits>

namespace kuvar {

// Wall-clock milliseconds since the Unix epoch as ISO 8601 local time with milliseconds and the
// UTC offset of that moment, for instance 2026-12-11T09:15:02.123+01:00. The local date, time
// and offset of a second are worked out once and kept, so that a long run of times (a stream's
// rows) costs a few digits each. One instance per thread.
class TIsoTimeText {
public:
    // Appends the 29 characters to out.
    void Append(qint64 unixMs, QByteArray& out);
    QString Text(qint64 unixMs);

private:
    qint64 second_ = std::numeric_limits<qint64>::min();
    char head_[20] = {};  // "2026-12-11T09:15:02", for second_
    char offset_[7] = {}; // "+01:00"
};

// One time as TIsoTimeText writes it.
QString IsoTimeText(qint64 unixMs);

} // namespace kuvar
