// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/receive_framer.h"

#include <chrono>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace kuvar::protocol {
namespace {

const std::string STX = "\x02";
const std::string ETB = "\x17";

struct Framer {
    LinkState state;
    std::vector<std::string> replies;
    ReceiveFramer framer{state, [this](const std::string& text) { replies.push_back(text); }};

    void Feed(const std::vector<std::string>& chunks) {
        for (const auto& chunk : chunks)
            framer.Feed(chunk);
    }
};

struct FramingCase {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> replies;
    std::string rest; // RxBuffer afterwards
    friend void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }
};

class FramingTest : public ::testing::TestWithParam<FramingCase> {};

TEST_P(FramingTest, HandsOnEachReplyWithoutItsChecksumCharacters) {
    Framer f;
    f.Feed(GetParam().chunks);
    EXPECT_EQ(f.replies, GetParam().replies);
    EXPECT_EQ(f.state.RxBuffer, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FramingTest,
    ::testing::Values(
        FramingCase{"Whole", {"[1 SAVE]5A\r"}, {"[1 SAVE]"}, ""},
        FramingCase{"ThreeChunks", {"[1 SA", "VE]5", "A\r"}, {"[1 SAVE]"}, ""},
        FramingCase{"ChunkEndsInsideChecksum", {"[1 SAVE]5", "A", "\r"}, {"[1 SAVE]"}, ""},
        FramingCase{"LfAfterCr", {"[1 SAVE]5A\r\n"}, {"[1 SAVE]"}, ""},
        FramingCase{"DollarDropped", {"$[1 VER]4C\r"}, {"[1 VER]"}, ""},
        FramingCase{"StxEtbAroundBracketText", {STX + "[1 VER]" + ETB + "4C\r"}, {"[1 VER]"}, ""},
        FramingCase{
            "StxEtbAroundPlainText", {STX + "@+1 -2 +3 " + ETB + "33\r"}, {"@+1 -2 +3 "}, ""},
        FramingCase{"TwoRepliesInOneChunk", {"[1 A]11\r[1 B]22\r"}, {"[1 A]", "[1 B]"}, ""},
        // A bracket reply followed by an at-sign frame in the same chunk: both are whole replies.
        FramingCase{"MixedFormsInOneChunk",
                    {"[1 START]11\r@+1 -2 +3 22\r@+4 -5 +6 33\r"},
                    {"[1 START]", "@+1 -2 +3 ", "@+4 -5 +6 "},
                    ""},
        FramingCase{"CrWithFewerThanTwoBytes", {"x\r", "\r"}, {"", ""}, ""},
        FramingCase{"BytesAfterLastCrWait", {"[1 A]11\r[1 B"}, {"[1 A]"}, "[1 B"},
        FramingCase{"EmptyChunk", {""}, {}, ""},
        // Two replies run together (their CR lost) are discarded, and do not spoil the next.
        FramingCase{"LostCrRepliesDiscarded", {"[1 A]11[1 B]22\r[1 C]33\r"}, {"[1 C]"}, ""},
        FramingCase{"LostCrAcrossChunks", {"[1 A]11", "[1 B]22\r", "[1 C]33\r"}, {"[1 C]"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The line may cut a stream of replies anywhere; framing must not depend on where.
TEST(ReceiveFramer, SameRepliesWhereverTheChunksAreCut) {
    const std::string line = "[1 SAVE]5A\r\n$[1 VER]4C\r" + STX + "[1 02 +1 -2 +3]" + ETB +
                             "77\r@+1 -2 +3 33\r[1 STOP]0B\r";
    const std::vector<std::string> expected = {"[1 SAVE]", "[1 VER]", "[1 02 +1 -2 +3]",
                                               "@+1 -2 +3 ", "[1 STOP]"};
    for (std::size_t cut = 0; cut <= line.size(); ++cut) {
        Framer f;
        f.Feed({line.substr(0, cut), line.substr(cut)});
        EXPECT_EQ(f.replies, expected) << "cut at " << cut;
        EXPECT_EQ(f.state.RxBuffer, "");
    }
    Framer bytes;
    for (const char c : line)
        bytes.Feed({std::string(1, c)});
    EXPECT_EQ(bytes.replies, expected);
}

TEST(ReceiveFramer, SenderEmptyingRxBufferDropsAPartialReply) {
    Framer f;
    f.Feed({"[1 02 +1 -2"});
    f.state.RxBuffer.clear();
    f.Feed({" +3]11\r[1 STOP]0B\r"});
    EXPECT_EQ(f.replies, (std::vector<std::string>{" +3]", "[1 STOP]"}));
}

TEST(ReceiveFramer, FloodWithoutCrKeepsTheNewestBytesOnly) {
    Framer f;
    std::string flood;
    for (int i = 0; flood.size() < 3 * ReceiveFramer::kMaxBuffer; ++i)
        flood += "[" + std::to_string(i) + " 02 +1 -2 +3]";
    // In small chunks and as one large chunk.
    for (std::size_t at = 0; at < flood.size(); at += 1000)
        f.Feed({flood.substr(at, 1000)});
    EXPECT_LE(f.state.RxBuffer.size(), ReceiveFramer::kMaxBuffer);
    EXPECT_EQ(f.state.RxBuffer, flood.substr(flood.size() - f.state.RxBuffer.size()));

    Framer big;
    big.Feed({flood});
    EXPECT_EQ(big.state.RxBuffer, flood.substr(flood.size() - ReceiveFramer::kMaxBuffer));

    // The flood's bytes are never handed on as one reply; the next whole reply is.
    big.state.RxBuffer.clear();
    big.Feed({"[1 STOP]0B\r"});
    EXPECT_EQ(big.replies, (std::vector<std::string>{"[1 STOP]"}));
}

TEST(ReceiveFramer, FailingHandlerLosesNoLaterReplyAndLeavesNothingBehind) {
    LinkState state;
    std::vector<std::string> replies;
    ReceiveFramer framer(state, [&](const std::string& text) {
        replies.push_back(text);
        if (text == "[1 BAD]")
            throw std::runtime_error("display failed");
    });
    EXPECT_THROW(framer.Feed("[1 A]11\r[1 BAD]22\r[1 C]33\r[1 D"), std::runtime_error);
    EXPECT_EQ(replies, (std::vector<std::string>{"[1 A]", "[1 BAD]", "[1 C]"}));
    EXPECT_EQ(state.RxBuffer, "[1 D");
}

} // namespace
} // namespace kuvar::protocol

namespace kuvar::protocol {
namespace {

// A reply's time is taken when its CR is framed, not when its first bytes came; replies of one
// chunk are stamped in order.
TEST(ReceiveFramer, EachReplyIsStampedWhenItsCrIsFramed) {
    LinkState state;
    std::vector<std::pair<std::string, ArrivalTime>> replies;
    ReceiveFramer framer(state, [&](const std::string& text, const ArrivalTime& at) {
        replies.emplace_back(text, at);
    });
    const auto steadyNs = [] {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    framer.Feed("[1 SA");
    const std::int64_t beforeEnd = steadyNs();
    framer.Feed("VE]00\r[2 SAVE]00\r");
    const std::int64_t afterEnd = steadyNs();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].first, "[1 SAVE]");
    EXPECT_GE(replies[0].second.steadyNs, beforeEnd);
    EXPECT_LE(replies[1].second.steadyNs, afterEnd);
    EXPECT_LE(replies[0].second.steadyNs, replies[1].second.steadyNs);
    EXPECT_LE(replies[0].second.unixMs, replies[1].second.unixMs);
}

} // namespace
} // namespace kuvar::protocol
