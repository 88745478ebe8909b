// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/text_fields.h"

#include <gtest/gtest.h>

namespace kuvar::protocol {
namespace {

TEST(TextFields, HeadAndTailSplitAtTheFirstCharacter) {
    struct Case {
        std::string text;
        char c;
        std::string head, tail;
    };
    const Case cases[] = {
        {"[1 02 +1 -2]", ' ', "[1", "02 +1 -2]"},
        {"+01000]", ']', "+01000", ""},
        {"+01000", ']', "", "+01000"}, // no c: empty head, whole tail
        {"", ' ', "", ""},
        {" a", ' ', "", "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Head(c.text, c.c), c.head) << c.text;
        EXPECT_EQ(Tail(c.text, c.c), c.tail) << c.text;
    }
}

TEST(TextFields, CopyRangeClipsAndNeverThrows) {
    EXPECT_EQ(CopyRange("abcdef", 1, 3), "bc");
    EXPECT_EQ(CopyRange("abcdef", 4, 100), "ef");
    EXPECT_EQ(CopyRange("abcdef", 3, 3), "");
    EXPECT_EQ(CopyRange("abcdef", 5, 2), "");
    EXPECT_EQ(CopyRange("abc", 10, 20), "");
}

} // namespace
} // namespace kuvar::protocol
