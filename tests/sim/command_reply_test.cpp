// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_test_support.h"

#include "tools/sim/command_frame.h"

#include <gtest/gtest.h>

namespace kuvar::sim::test {
namespace {

TEST(Checksum, MatchesTheWorkedExamples) {
    EXPECT_EQ(Framed("<0 ID>"), "<0 ID>1F\r");
    EXPECT_EQ(Framed("<1 STOP>"), "<1 STOP>0B\r");
    EXPECT_EQ(Framed("<1 VER>"), "<1 VER>52\r");
    EXPECT_EQ(ChecksumDigits(0), "00");
}

struct ReplyCase {
    ModuleKind kind;
    const char* command;
    const char* reply; // empty: the module stays silent
};

class CommandReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(CommandReply, AnswersWithTextChecksumAndCr) {
    const ReplyCase& c = GetParam();
    Bench bench(DefaultConfig(c.kind));
    const std::string expected = *c.reply ? Framed(c.reply) : "";
    EXPECT_EQ(bench.Send(c.command), expected) << c.command;
}

constexpr auto AC = ModuleKind::Ac;
constexpr auto GY = ModuleKind::Gy;

INSTANTIATE_TEST_SUITE_P(
    BothModules, CommandReply,
    ::testing::Values(
        ReplyCase{AC, "<0 ID>", "[1 02 ID]"}, ReplyCase{AC, "<1 SCALE>", "[1 SCALE 2]"},
        ReplyCase{AC, "<1 SCALE 4>", "[1 SCALE 4]"},
        ReplyCase{AC, "<1 INTERVAL 250>", "[1 INTERVAL 250]"},
        ReplyCase{AC, "<1 MODE 3>", "[1 MODE 3]"}, ReplyCase{AC, "<1 SPEED 2>", "[1 SPEED 2]"},
        ReplyCase{AC, "<1 ID 7>", "[7 ID]"}, ReplyCase{AC, "<0 ID 7>", "[7 ID]"},
        ReplyCase{AC, "<1 VER>", "[1 VER KUVAR-AC V2.0]"}, ReplyCase{AC, "<1 SAVE>", "[1 SAVE]"},
        ReplyCase{AC, "<1 RESTORE>", "[1 RESTORE]"}, ReplyCase{AC, "<1 START>", "[1 START]"},
        ReplyCase{AC, "<1 STOP>", "[1 STOP]"}, ReplyCase{AC, "<0 VER>", "[1 VER KUVAR-AC V2.0]"},
        ReplyCase{GY, "<0>", "[1 01]"}, ReplyCase{GY, "<1 SCALE 8>", "[1 SCALE 8]"},
        ReplyCase{GY, "<1 INTERVAL 10>", "[1 INTERVAL 10]"},
        ReplyCase{GY, "<1 MODE 1>", "[1 MODE 1]"}, ReplyCase{GY, "<1 SPEED 3>", "[1 SPEED 3]"},
        ReplyCase{GY, "<1 SPEED 4>", "[1 SPEED 4]"}, ReplyCase{GY, "<1 ID 12>", "[12 ID]"},
        ReplyCase{GY, "<1 VER>", "[1 VER KUVAR-GY V2.0]"}, ReplyCase{GY, "<1 SAVE>", "[1 SAVE]"},
        ReplyCase{GY, "<1 INIT>", "[1 INIT]"}, ReplyCase{GY, "<1 START>", "[1 START]"},
        ReplyCase{GY, "<1 STOP>", "[1 STOP]"},
        // Values and commands a module does not know get no answer.
        ReplyCase{AC, "<0>", ""}, ReplyCase{AC, "<1 INIT>", ""}, ReplyCase{AC, "<1 SCALE 3>", ""},
        ReplyCase{AC, "<1 MODE 2>", ""}, ReplyCase{AC, "<1 SPEED 4>", ""},
        ReplyCase{AC, "<1 SPEED 9>", ""}, ReplyCase{AC, "<1 INTERVAL 0>", ""},
        ReplyCase{AC, "<1 INTERVAL abc>", ""}, ReplyCase{AC, "<1 ID 0>", ""},
        ReplyCase{AC, "<1 ID 256>", ""}, ReplyCase{AC, "<1 HELLO>", ""},
        ReplyCase{AC, "<1  SCALE>", ""}, ReplyCase{GY, "<0 ID>", ""},
        ReplyCase{GY, "<1 SCALE 4>", ""}, ReplyCase{GY, "<1 MODE 3>", ""}));

struct IgnoredCase {
    const char* name;
    std::string bytes;
};

class IgnoredFrame : public ::testing::TestWithParam<IgnoredCase> {};

TEST_P(IgnoredFrame, GetsNoAnswer) {
    Bench bench(DefaultConfig(ModuleKind::Ac));
    bench.module.Receive(bench.now, GetParam().bytes);
    EXPECT_EQ(bench.Run(50ms).bytes, "");
    // The module still hears the next good frame.
    EXPECT_EQ(bench.Send("<1 VER>"), Framed("[1 VER KUVAR-AC V2.0]"));
}

INSTANTIATE_TEST_SUITE_P(Ac, IgnoredFrame,
                         ::testing::Values(IgnoredCase{"BadChecksum", "<1 VER>53\r"},
                                           IgnoredCase{"LowerCaseDigits", "<0 ID>1f\r"},
                                           IgnoredCase{"ForeignId", Framed("<2 VER>")},
                                           IgnoredCase{"NoDigits", "<1 VER>\r"},
                                           IgnoredCase{"NoClosingBracket", Framed("<1 VER")},
                                           IgnoredCase{"NoCarriageReturn", "<1 VER>52"},
                                           IgnoredCase{"EmptyLine", "\r"},
                                           IgnoredCase{"TextWithoutBracket", "abc60\r"}),
                         [](const auto& info) { return info.param.name; });

TEST(CommandFrame, SkipsNoiseBeforeTheCommand) {
    EXPECT_EQ(ParseCommandFrame("\x7f\x13garbage" + Framed("<3 MODE 1>").substr(0, 12)),
              (Command{3, "MODE", "1"}));
    EXPECT_EQ(ParseCommandFrame("<0>32"), (Command{0, "", std::nullopt}));
}

} // namespace
} // namespace kuvar::sim::test
