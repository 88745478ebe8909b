// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/time_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

using namespace kuvar;

namespace {

// Sets the local time zone for one scope.
class TZone {
public:
    explicit TZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            saved_ = old;
            had_ = true;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TZone() {
        if (had_) {
            ::setenv("TZ", saved_.c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::string saved_;
    bool had_ = false;
};

// 2026-12-11T08:15:02.123Z and 2026-07-01T12:00:00.000Z.
constexpr qint64 kWinter = 1796976902123;
constexpr qint64 kSummer = 1782907200000;

} // namespace

TEST(IsoTimeText, LocalTimeWithItsOffsetAndMilliseconds) {
    const struct {
        const char* zone;
        qint64 ms;
        const char* text;
    } cases[] = {
        // POSIX rules, so that no time zone database is needed.
        {"CET-1CEST,M3.5.0,M10.5.0/3", kWinter, "2026-12-11T09:15:02.123+01:00"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", kSummer, "2026-07-01T14:00:00.000+02:00"},
        {"UTC0", kWinter, "2026-12-11T08:15:02.123+00:00"},
        {"EST5EDT,M3.2.0,M11.1.0", kWinter, "2026-12-11T03:15:02.123-05:00"},
        {"IST-5:30", kWinter, "2026-12-11T13:45:02.123+05:30"},
        {"NST3:30", kWinter, "2026-12-11T04:45:02.123-03:30"},
        {"UTC0", 7, "1970-01-01T00:00:00.007+00:00"},
        {"UTC0", -1, "1969-12-31T23:59:59.999+00:00"},
    };
    for (const auto& c : cases) {
        TZone zone(c.zone);
        EXPECT_EQ(IsoTimeText(c.ms).toStdString(), c.text) << c.zone << " " << c.ms;
    }
}

// The second kept from the last call must not leak into the next: each call writes its own.
TEST(IsoTimeText, ARunOfTimesAcrossSecondsAndAnOffsetChange) {
    TZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    // 2026-03-29T01:00:00Z: clocks go from 02:00 to 03:00 local.
    constexpr qint64 kChange = 1774746000000;
    TIsoTimeText text;
    QByteArray out;
    for (qint64 ms : {kChange - 1001, kChange - 1, kChange, kChange + 999, kChange - 1}) {
        text.Append(ms, out);
        out += '\n';
    }
    EXPECT_EQ(out.toStdString(), "2026-03-29T01:59:58.999+01:00\n"
                                 "2026-03-29T01:59:59.999+01:00\n"
                                 "2026-03-29T03:00:00.000+02:00\n"
                                 "2026-03-29T03:00:00.999+02:00\n"
                                 "2026-03-29T01:59:59.999+01:00\n");
}
