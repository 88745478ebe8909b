// SPDX-License-Identifier: GPL-3.0-or-later
// The recording's file: its rows as CSV that reads back to the bytes received, and a queue that
// never makes a row vanish without a trace.
#include "app/recording_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace kuvar;

namespace {

// A field of RFC 4180 CSV read back, from `at` to the separator or line end after it.
std::string ReadField(const QByteArray& text, qsizetype& at) {
    std::string field;
    if (at < text.size() && text[at] == '"') {
        for (++at; at < text.size(); ++at) {
            if (text[at] == '"') {
                if (at + 1 < text.size() && text[at + 1] == '"') {
                    field += '"';
                    ++at;
                    continue;
                }
                ++at;
                break;
            }
            field += text[at];
        }
        return field;
    }
    while (at < text.size() && text[at] != ',' && text[at] != '\r') {
        field += text[at++];
    }
    return field;
}

} // namespace

// Whatever bytes a reply holds (a separator, quotes, control bytes, code page 949, every byte
// there is), its field reads back to exactly them with any CSV reader.
TEST(RecordingFile, RawRepliesReadBackToTheirBytes) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    const struct {
        std::string raw;
        const char* written;
    } cases[] = {
        {"[1 02 +00012 -00034 +01000]", "[1 02 +00012 -00034 +01000]"},
        {"@+00012 -00034 +01000 ", "@+00012 -00034 +01000 "},
        {"[1 a,b]", "\"[1 a,b]\""},
        {"[1 \"quoted\"]", "\"[1 \"\"quoted\"\"]\""},
        {std::string("[1 \x01\x7F]"), "\"[1 \x01\x7F]\""},
        {std::string("[1 \0 2]", 7), nullptr},
        {"", ""},
        {"\xBC\xBE\xBC\xAD", "\xBC\xBE\xBC\xAD"},
        {everyByte, nullptr},
    };
    for (const auto& c : cases) {
        QByteArray out;
        TRecordingFile::AppendRaw(c.raw, out);
        if (c.written) {
            EXPECT_EQ(out.toStdString(), c.written);
        }
        qsizetype at = 0;
        EXPECT_EQ(ReadField(out, at), c.raw);
        EXPECT_EQ(at, out.size());
    }
}

TEST(RecordingFile, RowsAsTheFileHoldsThem) {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    TIsoTimeText times;
    QByteArray out;
    TRecordRow frame;
    frame.kind = TRecordRow::TKind::Frame;
    frame.gy = true;
    frame.unixMs = 1796976902123;
    frame.values = {12.3, -0.04, 359.96};
    frame.unit = "deg";
    frame.raw = "[1 00 +00123 -00000 +03599]";
    TRecordingFile::AppendRow(frame, out, times);
    TRecordRow sent;
    sent.kind = TRecordRow::TKind::Sent;
    sent.unixMs = 1796976902124;
    sent.raw = "<1 STOP>2C";
    TRecordingFile::AppendRow(sent, out, times);
    EXPECT_EQ(out.toStdString(), "2026-12-11T08:15:02.123+00:00,frame,GY,deg,12.3,0.0,360.0,"
                                 "[1 00 +00123 -00000 +03599]\r\n"
                                 "2026-12-11T08:15:02.124+00:00,sent,AC,,,,,<1 STOP>2C\r\n");
    ::unsetenv("TZ");
    ::tzset();
}

// A queue that overflows drops rows, but the file says where and how many: written rows and the
// counts of the "lost" rows add up to every row handed over.
TEST(RecordingFile, EveryRowIsWrittenOrCountedAsLost) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.csv"));
    constexpr int kRows = 20000;
    qint64 lostReported = 0;
    {
        TRecordingFile file(path, "time,kind,page,unit,value1,value2,value3,raw\r\n", 8);
        for (int i = 0; i < kRows; ++i) {
            TRecordRow row;
            row.unixMs = i;
            row.raw = std::to_string(i);
            file.Push(std::move(row));
        }
        file.Finish();
        while (!file.Done()) {
        }
        lostReported = file.RowsLost();
        EXPECT_EQ(file.Failure(), QString());
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    qint64 written = 0;
    qint64 lost = 0;
    int previous = -1;
    for (const QByteArray& line : lines.mid(1)) {
        if (line.isEmpty()) {
            continue;
        }
        const QByteArray raw = line.mid(line.lastIndexOf(',') + 1).trimmed();
        if (line.contains(",lost,")) {
            lost += raw.toLongLong();
        } else {
            ++written;
            EXPECT_GT(raw.toInt(), previous) << "rows keep their order";
            previous = raw.toInt();
        }
    }
    EXPECT_EQ(written + lost, kRows);
    EXPECT_EQ(lost, lostReported);
}
