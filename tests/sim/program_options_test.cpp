// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/program_options.h"
#include "tools/sim/state_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kuvar::sim {
namespace {

std::optional<ProgramOptions> Parse(std::vector<std::string> args, std::string* error) {
    return ParseProgramOptions(args, error);
}

TEST(ProgramOptions, ReadsEveryOption) {
    std::string error;
    const auto o = Parse({"gy",
                          "--link",
                          "/tmp/x",
                          "--id",
                          "3",
                          "--baud",
                          "256000",
                          "--scale",
                          "8",
                          "--interval",
                          "20",
                          "--mode",
                          "1",
                          "--seed",
                          "42",
                          "--deaf",
                          "STOP,SAVE",
                          "--drop",
                          "10%",
                          "--corrupt",
                          "0.01",
                          "--split",
                          "5",
                          "--lf",
                          "--stx",
                          "--dollar",
                          "--flood",
                          "800",
                          "--wire-rate",
                          "20000000",
                          "--hangup-secs",
                          "1.5",
                          "--hangup-frames",
                          "9",
                          "--stream",
                          "--log-frames",
                          "/tmp/f"},
                         &error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->kind, ModuleKind::Gy);
    EXPECT_EQ(o->link, "/tmp/x");
    EXPECT_EQ(o->baud, 256000);
    EXPECT_EQ(o->mode, 1);
    EXPECT_EQ(o->seed, 42u);
    EXPECT_EQ(o->faults.deaf, (std::set<std::string>{"STOP", "SAVE"}));
    EXPECT_DOUBLE_EQ(o->faults.dropShare, 0.1);
    EXPECT_EQ(o->faults.splitPauseMs, 5);
    EXPECT_TRUE(o->faults.lineFeed && o->faults.stxEtb && o->faults.dollar);
    EXPECT_EQ(o->faults.floodRate, 800);
    EXPECT_EQ(o->faults.wireRate, 20000000);
    EXPECT_EQ(o->faults.hangupAfterTime, SimTime(1'500'000'000));
    EXPECT_EQ(o->faults.hangupAfterFrames, 9u);
    EXPECT_TRUE(o->streamAtPowerUp);
    EXPECT_EQ(o->logFrames, "/tmp/f");
}

TEST(ProgramOptions, RefusesWhatCannotRun) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"xx"},
        {"ac", "gy"},
        {"ac", "--id"},
        {"ac", "--id", "0"},
        {"ac", "--scale", "1"}, // a gyro scale
        {"gy", "--mode", "3"},
        {"ac", "--drop", "1.5"},
        {"ac", "--flood", "-1"},
        {"ac", "--wire-rate", "0"},
        {"ac", "--seed", "x"},
        {"ac", "--bogus"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(Parse(args, &error)) << (args.empty() ? "" : args.back());
        EXPECT_FALSE(error.empty());
    }
}

TEST(ProgramOptions, HelpNamesEveryOption) {
    const std::string usage = UsageText();
    for (const char* option :
         {"--link",     "--state",      "--id",        "--baud",        "--scale",
          "--interval", "--mode",       "--seed",      "--silent",      "--deaf",
          "--drop",     "--corrupt",    "--split",     "--lf",          "--stx",
          "--dollar",   "--flood",      "--wire-rate", "--hangup-secs", "--hangup-frames",
          "--stream",   "--log-frames", "--help",      "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(ProgramOptions, DefaultLinkFollowsXdgRuntimeDir) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/77", 1);
    EXPECT_EQ(DefaultLinkPath(ModuleKind::Gy), "/run/user/77/kuvar-sim/gy");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(DefaultLinkPath(ModuleKind::Ac),
              "/tmp/kuvar-sim-" + std::to_string(getuid()) + "/ac");
    if (old)
        setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST(StateFile, RoundTripsAndRejectsAnotherModulesState) {
    const ModuleSettings s{7, 57600, 8, 250, 1};
    std::string error;
    EXPECT_EQ(ParseState(ModuleKind::Gy, FormatState(ModuleKind::Gy, s), &error), s);
    EXPECT_FALSE(ParseState(ModuleKind::Ac, FormatState(ModuleKind::Gy, s), &error));
    EXPECT_FALSE(ParseState(ModuleKind::Gy, "module=gy\nid=0\n", &error));
    EXPECT_FALSE(ParseState(ModuleKind::Gy, "module=gy\ncolour=red\n", &error));

    const std::string path = ::testing::TempDir() + "kuvar-sim-state-test";
    ASSERT_TRUE(SaveStateFile(path, ModuleKind::Gy, s, &error)) << error;
    EXPECT_EQ(LoadStateFile(path, ModuleKind::Gy, &error), s);
    std::remove(path.c_str());
    error.clear();
    EXPECT_FALSE(LoadStateFile(path, ModuleKind::Gy, &error));
    EXPECT_TRUE(error.empty());
}

} // namespace
} // namespace kuvar::sim
