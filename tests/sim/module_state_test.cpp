// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace kuvar::sim::test {
namespace {

std::vector<SentFrame> Measurements(const ModuleOutput& out) {
    std::vector<SentFrame> frames;
    for (const auto& f : out.frames)
        if (f.measurement)
            frames.push_back(f);
    return frames;
}

TEST(ModuleState, SettingsChangeWhatTheStreamSends) {
    Bench bench(DefaultConfig(ModuleKind::Ac));
    bench.Send("<1 START>");
    auto frames = Measurements(bench.Run(1s));
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().text.substr(0, 6), "[1 02 ");

    bench.Send("<1 SCALE 8>");
    bench.Send("<1 INTERVAL 20>");
    frames = Measurements(bench.Run(1s));
    EXPECT_NEAR(static_cast<double>(frames.size()), 50, 1);
    EXPECT_EQ(frames.back().text.substr(0, 6), "[1 08 ");

    bench.Send("<1 MODE 3>");
    frames = Measurements(bench.Run(100ms));
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().text[0], '@');

    bench.Send("<1 STOP>");
    EXPECT_TRUE(Measurements(bench.Run(1s)).empty());
    EXPECT_FALSE(bench.module.Streaming());
}

TEST(ModuleState, StopReplyComesAfterTheFramesAlreadyOnTheLine) {
    SimConfig config = DefaultConfig(ModuleKind::Gy);
    config.faults.floodRate = 100000; // back to back, so a frame is always on the line
    Bench bench(config);
    bench.Send("<1 START>", 10ms);
    bench.module.Receive(bench.now, Framed("<1 STOP>"));
    const std::string bytes = bench.Run(50ms).bytes;
    EXPECT_EQ(bytes.substr(bytes.size() - Framed("[1 STOP]").size()), Framed("[1 STOP]"));
    EXPECT_EQ(bytes.find("[1 STOP]"), bytes.size() - Framed("[1 STOP]").size());
    EXPECT_EQ(bench.Run(100ms).bytes, "");
}

TEST(ModuleState, SaveStoresAndRestoreBringsBackTheFactorySettings) {
    Bench bench(DefaultConfig(ModuleKind::Ac));
    std::vector<ModuleSettings> stored;
    bench.module.SetStoreHandler([&](const ModuleSettings& s) { stored.push_back(s); });
    bench.Send("<1 SCALE 4>");
    bench.Send("<1 INTERVAL 50>");
    EXPECT_TRUE(stored.empty());
    EXPECT_EQ(bench.module.Stored(), FactorySettings(ModuleKind::Ac));
    bench.Send("<1 SAVE>");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].scale, 4);
    EXPECT_EQ(stored[0].interval, 50);

    bench.Send("<1 ID 5>");
    EXPECT_EQ(bench.Send("<5 RESTORE>"), Framed("[5 RESTORE]"));
    EXPECT_EQ(bench.module.Settings(), FactorySettings(ModuleKind::Ac));
    EXPECT_EQ(bench.module.Stored(), FactorySettings(ModuleKind::Ac));
    EXPECT_EQ(stored.size(), 2u);
    EXPECT_EQ(bench.Send("<1 SCALE>"), Framed("[1 SCALE 2]"));
}

TEST(ModuleState, AnIdChangeMovesTheModuleToItsNewAddress) {
    Bench bench(DefaultConfig(ModuleKind::Gy));
    EXPECT_EQ(bench.Send("<1 ID 9>"), Framed("[9 ID]"));
    EXPECT_EQ(bench.Send("<1 VER>"), "");
    EXPECT_EQ(bench.Send("<9 VER>"), Framed("[9 VER KUVAR-GY V2.0]"));
    EXPECT_EQ(bench.Send("<0>"), Framed("[9 01]"));
}

TEST(ModuleState, AfterSpeedTheModuleHearsOnlyTheNewRate) {
    Bench bench(DefaultConfig(ModuleKind::Ac));
    // The reply still goes out at the old rate.
    EXPECT_EQ(bench.Send("<1 SPEED 2>"), Framed("[1 SPEED 2]"));
    EXPECT_EQ(bench.module.Settings().baud, 57600);
    EXPECT_EQ(bench.Send("<1 VER>"), "");
    bench.module.SetHostBaud(57600);
    EXPECT_EQ(bench.Send("<1 VER>"), Framed("[1 VER KUVAR-AC V2.0]"));
}

TEST(ModuleState, AHostAtAnotherRateReceivesGarbage) {
    SimConfig config = DefaultConfig(ModuleKind::Ac);
    config.streamAtPowerUp = true;
    Bench bench(config);
    bench.module.SetHostBaud(38400);
    const ModuleOutput out = bench.Run(1s + 5ms);
    const auto frames = Measurements(out);
    ASSERT_EQ(frames.size(), 10u);
    EXPECT_TRUE(frames[0].garbled);
    EXPECT_EQ(out.bytes.find("[1 02"), std::string::npos);
    // A receiver at a third of the rate sees about a third of the bytes.
    const std::size_t sent = 10 * Framed(frames[0].text).size();
    EXPECT_NEAR(static_cast<double>(out.bytes.size()), sent / 3.0, 2);
}

TEST(ModuleState, InitTakesThePresentHeadingAsYawZero) {
    SimConfig config = DefaultConfig(ModuleKind::Gy);
    config.streamAtPowerUp = true;
    Bench bench(config);
    bench.Run(5s);
    bench.Send("<1 INIT>", 1ms);
    const auto frames = Measurements(bench.Run(105ms));
    ASSERT_EQ(frames.size(), 2u); // the one under way at INIT, then the first after it
    const int yaw = frames[1].values[2];
    EXPECT_NEAR(yaw, 12, 1) << frames[1].text; // 0.1 s at 12 degrees a second
}

} // namespace
} // namespace kuvar::sim::test
