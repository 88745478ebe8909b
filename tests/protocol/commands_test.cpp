// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/commands.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kuvar::protocol {
namespace {

TEST(CommandText, EveryShapeTheWindowSendsAsTyped) {
    struct Case {
        std::string made;
        const char* expected;
    } cases[] = {
        {CommandText("0"), "<0>"},          // KUVAR-GY ID search
        {CommandText("0", "ID"), "<0 ID>"}, // KUVAR-AC ID search
        {CommandText("1", "SAVE"), "<1 SAVE>"},
        {CommandText("12", "VER"), "<12 VER>"},
        {CommandText("1", "ID", "7"), "<1 ID 7>"},
        {CommandText("1", "INTERVAL", "100"), "<1 INTERVAL 100>"},
        {CommandText("1", "SCALE", ""), "<1 SCALE >"},      // an empty box goes as it is
        {CommandText("", "START"), "< START>"},             // so does an empty ID
        {CommandText("1 ", "MODE", "0"), "<1  MODE 0>"},    // and a blank typed after the ID
        {CommandText("\xBE\xC8", "VER"), "<\xBE\xC8 VER>"}, // bytes of the code page unchanged
        {SpeedCommandText("3", "57600"), "<3 SPEED 2>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.made, c.expected);
}

TEST(SpeedNumber, OnlyTheModuleRatesWholeAndExact) {
    struct Case {
        const char* rate;
        std::optional<int> number;
    } cases[] = {
        {"115200", 1},
        {"57600", 2},
        {"38400", 3},
        {"9600", std::nullopt},
        {"", std::nullopt},
        {"115200 ", std::nullopt},
        {" 57600", std::nullopt},
        {"0038400", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpeedNumber(c.rate), c.number) << '"' << c.rate << '"';
        if (c.number) {
            EXPECT_NO_THROW(RequireModuleRate(c.rate));
        } else {
            EXPECT_THROW(RequireModuleRate(c.rate), std::invalid_argument) << c.rate;
            EXPECT_THROW(SpeedCommandText("1", c.rate), std::invalid_argument) << c.rate;
        }
    }
}

TEST(SpeedNumber, TheRefusalNamesTheRate) {
    try {
        RequireModuleRate("9600");
        FAIL() << "no refusal";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("\"9600\""), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace kuvar::protocol
