// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace kuvar::sim::test {
namespace {

double Ms(SimTime t) {
    return static_cast<double>(t.count()) / 1e6;
}

// Splits a measurement frame as the window does.
Reading ParseBack(const std::string& text, bool atSign) {
    std::string x, y, z;
    if (atSign) {
        x = Head(text, ' ').substr(1);
        const std::string t1 = Tail(text, ' ');
        y = Head(t1, ' ');
        z = Head(Tail(t1, ' '), ' ');
    } else {
        const std::string t2 = Tail(Tail(text, ' '), ' ');
        x = Head(t2, ' ');
        const std::string t3 = Tail(t2, ' ');
        y = Head(t3, ' ');
        z = Head(Tail(t3, ' '), ']');
    }
    return {std::atoi(x.c_str()), std::atoi(y.c_str()), std::atoi(z.c_str())};
}

struct StreamCase {
    const char* name;
    ModuleKind kind;
    int mode;
    int interval;
};

class Stream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(Stream, KeepsTheIntervalAndParsesBackToTheReadings) {
    const StreamCase& c = GetParam();
    SimConfig config = DefaultConfig(c.kind);
    config.settings.mode = c.mode;
    config.settings.interval = c.interval;
    Bench bench(config);
    bench.Send("<1 START>", 1ms);
    const ModuleOutput out = bench.Run(2s);

    // The line carries exactly the frames, each with its checksum and CR.
    std::string expectedBytes;
    std::vector<SentFrame> frames;
    for (const auto& f : out.frames) {
        expectedBytes += Framed(f.text);
        if (f.measurement)
            frames.push_back(f);
    }
    EXPECT_EQ(out.bytes, expectedBytes);
    ASSERT_GE(frames.size(), 2000u / c.interval - 1);

    const bool atSign = c.kind == ModuleKind::Ac && c.mode == 3;
    const SimTime frameTime = SimTime(10'000'000'000LL / 115200) * Framed(frames[0].text).size();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const SentFrame& f = frames[i];
        if (i > 0) {
            // Frames can differ in length by a digit, and so in their time on the line.
            const auto gap = f.at - frames[i - 1].at;
            EXPECT_NEAR(Ms(gap), c.interval, 0.2);
        }
        EXPECT_EQ(ParseBack(f.text, atSign), f.values) << f.text;
        if (!atSign) {
            EXPECT_EQ(f.text.substr(0, 6), "[1 " + std::to_string(c.mode) +
                                               std::to_string(bench.module.Settings().scale) + " ");
            EXPECT_EQ(f.text.back(), ']');
        } else {
            EXPECT_EQ(f.text.back(), ' ');
        }
    }
    // The first frame is due one interval after START and is on the line a frame time later.
    EXPECT_NEAR(Ms(frames[0].at - 1ms - frameTime), c.interval, 2.0);

    const Reading& v = frames.back().values;
    if (c.kind == ModuleKind::Ac) {
        const double g = std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
        EXPECT_NEAR(g, 1000, 10); // gravity, in mg
    } else if (c.mode == 0) {
        EXPECT_LE(std::abs(v[0]), 201); // tenths of a degree
        EXPECT_GE(v[2], 0);
        EXPECT_LT(v[2], 3600);
    } else {
        EXPECT_NEAR(v[2], 12000, 20); // the heading turns at 12 degrees a second
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, Stream,
                         ::testing::Values(StreamCase{"AcBlanks", ModuleKind::Ac, 0, 100},
                                           StreamCase{"AcMode1", ModuleKind::Ac, 1, 10},
                                           StreamCase{"AcAtSign", ModuleKind::Ac, 3, 50},
                                           StreamCase{"GyAngles", ModuleKind::Gy, 0, 100},
                                           StreamCase{"GyRates", ModuleKind::Gy, 1, 20}),
                         [](const auto& info) { return info.param.name; });

TEST(StreamPacing, BytesLeaveAtTenBitsEach) {
    SimConfig config = DefaultConfig(ModuleKind::Ac);
    config.settings.baud = 9600;
    Bench bench(config);
    bench.module.SetHostBaud(9600);
    bench.module.Receive(bench.now, Framed("<1 VER>"));
    const std::string reply = Framed("[1 VER KUVAR-AC V2.0]"); // 24 bytes, 25 ms at 9600
    EXPECT_EQ(bench.Run(1ms + 10ms).bytes, reply.substr(0, 9));
    EXPECT_EQ(bench.Run(15ms).bytes, reply.substr(9));
}

TEST(StreamPacing, FloodRunsAsFastAsTheLineAllows) {
    SimConfig config = DefaultConfig(ModuleKind::Ac);
    config.settings.baud = 256000;
    config.faults.floodRate = 5000;
    config.streamAtPowerUp = true;
    Bench bench(config);
    bench.module.SetHostBaud(256000);
    const ModuleOutput out = bench.Run(1s);
    // 25,600 bytes a second; the line never idles and never queues more than it can carry.
    EXPECT_NEAR(static_cast<double>(out.bytes.size()), 25600, 40);
    ASSERT_TRUE(bench.module.NextEventTime());
    EXPECT_LT(*bench.module.NextEventTime() - bench.now, 2ms);
}

TEST(StreamPacing, FloodBelowTheLineKeepsItsRate) {
    SimConfig config = DefaultConfig(ModuleKind::Gy);
    config.faults.floodRate = 200;
    config.streamAtPowerUp = true;
    Bench bench(config);
    EXPECT_EQ(bench.Run(1s + 4ms).frames.size(), 200u); // the 200th is due at 1 s
}

} // namespace
} // namespace kuvar::sim::test
