// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kuvar::sim::test {
namespace {

SimConfig Streaming(Faults faults, std::uint64_t seed = 1) {
    SimConfig config = DefaultConfig(ModuleKind::Ac);
    config.settings.interval = 10;
    config.streamAtPowerUp = true;
    config.faults = std::move(faults);
    config.seed = seed;
    return config;
}

std::string RunFor(const SimConfig& config, SimTime time) {
    Bench bench(config);
    return bench.Run(time).bytes;
}

TEST(Faults, TheSameSeedGivesTheSameLine) {
    Faults f;
    f.dropShare = 0.2;
    f.corruptShare = 0.01;
    f.splitPauseMs = 3;
    EXPECT_EQ(RunFor(Streaming(f, 7), 2s), RunFor(Streaming(f, 7), 2s));
    EXPECT_NE(RunFor(Streaming(f, 7), 2s), RunFor(Streaming(f, 8), 2s));
}

TEST(Faults, DropLosesAShareOfWholeFrames) {
    Faults f;
    f.dropShare = 0.25;
    Bench bench(Streaming(f));
    const ModuleOutput out = bench.Run(10s);
    const double total = static_cast<double>(out.frames.size() + bench.module.FramesDropped());
    EXPECT_NEAR(bench.module.FramesDropped() / total, 0.25, 0.05);
    std::string expected;
    for (const auto& frame : out.frames)
        expected += Framed(frame.text);
    EXPECT_EQ(out.bytes, expected);
}

TEST(Faults, CorruptFlipsOneBitInAShareOfBytes) {
    Faults f;
    f.corruptShare = 0.05;
    Bench bench(Streaming(f));
    const ModuleOutput out = bench.Run(10s);
    std::string clean;
    for (const auto& frame : out.frames)
        clean += Framed(frame.text);
    ASSERT_EQ(out.bytes.size(), clean.size());
    std::size_t changed = 0;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const unsigned diff = static_cast<unsigned char>(clean[i] ^ out.bytes[i]);
        if (diff) {
            ++changed;
            EXPECT_EQ(diff & (diff - 1), 0u); // a single bit
        }
    }
    EXPECT_NEAR(static_cast<double>(changed) / clean.size(), 0.05, 0.01);
}

TEST(Faults, SplitSendsChunksWithPausesButTheSameBytes) {
    Faults f;
    f.splitPauseMs = 20;
    SimConfig config = DefaultConfig(ModuleKind::Gy);
    config.faults = f;
    Bench bench(config);
    bench.module.Receive(bench.now, Framed("<1 VER>"));
    std::string bytes;
    int bursts = 0;
    bool idle = true;
    for (int ms = 0; ms < 200; ++ms) {
        const std::string got = bench.Run(1ms).bytes;
        bursts += idle && !got.empty();
        idle = got.empty();
        bytes += got;
    }
    EXPECT_EQ(bytes, Framed("[1 VER KUVAR-GY V2.0]"));
    EXPECT_GT(bursts, 1); // at least one pause of a millisecond or more
}

struct FramingCase {
    const char* name;
    bool lineFeed, stxEtb, dollar;
    std::string expected;
};

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, WrapsEveryReply) {
    SimConfig config = DefaultConfig(ModuleKind::Ac);
    config.faults.lineFeed = GetParam().lineFeed;
    config.faults.stxEtb = GetParam().stxEtb;
    config.faults.dollar = GetParam().dollar;
    Bench bench(config);
    EXPECT_EQ(bench.Send("<1 SAVE>"), GetParam().expected);
}

// The checksum always covers the reply text alone: "[1 SAVE]" gives 16.
INSTANTIATE_TEST_SUITE_P(
    Options, Framing,
    ::testing::Values(FramingCase{"Plain", false, false, false, "[1 SAVE]16\r"},
                      FramingCase{"LineFeed", true, false, false, "[1 SAVE]16\r\n"},
                      FramingCase{"StxEtb", false, true, false,
                                  "\x02[1 SAVE]\x17"
                                  "16\r"},
                      FramingCase{"Dollar", false, false, true, "$[1 SAVE]16\r"},
                      FramingCase{"All", true, true, true,
                                  "$\x02[1 SAVE]\x17"
                                  "16\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(Faults, DeafModuleIgnoresOnlyTheNamedCommands) {
    SimConfig config = DefaultConfig(ModuleKind::Ac);
    config.faults.deaf = {"STOP", "SAVE"};
    Bench bench(config);
    EXPECT_EQ(bench.Send("<1 START>"), Framed("[1 START]"));
    bench.Send("<1 STOP>");
    EXPECT_TRUE(bench.module.Streaming());
    EXPECT_EQ(bench.Send("<1 SAVE>").find("SAVE"), std::string::npos);
}

TEST(Faults, SilentModuleNeverAnswers) {
    SimConfig config = DefaultConfig(ModuleKind::Gy);
    config.faults.silent = true;
    Bench bench(config);
    for (const char* command : {"<0>", "<1 VER>", "<1 START>", "<1 SAVE>"})
        EXPECT_EQ(bench.Send(command), "") << command;
    EXPECT_FALSE(bench.module.Streaming());
}

TEST(Faults, HangsUpAfterFramesOrTime) {
    Faults f;
    f.hangupAfterFrames = 5;
    Bench byFrames(Streaming(f));
    EXPECT_EQ(byFrames.Run(1s).frames.size(), 5u);
    EXPECT_TRUE(byFrames.module.HungUp());
    EXPECT_EQ(byFrames.Run(1s).bytes, "");

    Faults t;
    t.hangupAfterTime = 300ms;
    Bench byTime(Streaming(t));
    byTime.Run(299ms);
    EXPECT_FALSE(byTime.module.HungUp());
    ASSERT_TRUE(byTime.module.NextEventTime());
    byTime.Run(1ms);
    EXPECT_TRUE(byTime.module.HungUp());
    EXPECT_FALSE(byTime.module.NextEventTime());
}

} // namespace
} // namespace kuvar::sim::test
