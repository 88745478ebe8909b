// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/frame.h"

#include <gtest/gtest.h>

namespace kuvar::protocol {
namespace {

struct FrameCase {
    std::string text;
    std::string frame;
    friend void PrintTo(const FrameCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class FrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameTest, TextThenUpperCaseDigitsThenCr) {
    EXPECT_EQ(BuildFrame(GetParam().text), GetParam().frame);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameTest,
                         ::testing::Values(FrameCase{"<0 ID>", "<0 ID>1F\r"},
                                           FrameCase{"<1 STOP>", "<1 STOP>0B\r"},
                                           FrameCase{"<1 VER>", "<1 VER>52\r"},
                                           FrameCase{"", "00\r"}, FrameCase{"abc", "abc60\r"},
                                           FrameCase{"<0>", "<0>32\r"}));

TEST(FrameChecksum, CountIsTakenModulo256) {
    const std::string text256(256, 'A');
    EXPECT_EQ(FrameChecksum(text256, 256), 0);
    EXPECT_EQ(BuildFrame(text256), text256 + "00\r");

    std::string text257 = "Z" + text256;
    EXPECT_EQ(FrameChecksum(text257, 257), 'Z');

    EXPECT_EQ(FrameChecksum("<0 ID>", 256 + 6), 0x1F);
    EXPECT_EQ(FrameChecksum("<0 ID>", 3), 0x3C ^ 0x30 ^ 0x20);
}

TEST(FrameChecksum, IdWithTrailingBlankIsCoveredAsTyped) {
    const std::string id = "1 ";
    const std::string text = "<" + id + " SCALE>";
    ASSERT_EQ(text, "<1  SCALE>");
    EXPECT_EQ(FrameChecksum(text, static_cast<int>(text.size())),
              FrameChecksum("<1 SCALE>", 9) ^ 0x20);
}

TEST(FrameChecksum, DigitsAreTwoUpperCaseHexWithLeadingZero) {
    EXPECT_EQ(ChecksumDigits(0x00), "00");
    EXPECT_EQ(ChecksumDigits(0x0B), "0B");
    EXPECT_EQ(ChecksumDigits(0xAF), "AF");
    EXPECT_EQ(ChecksumDigits(0xFF), "FF");
}

} // namespace
} // namespace kuvar::protocol
