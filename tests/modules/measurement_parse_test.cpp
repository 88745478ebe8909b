// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/measurement_parse.h"

#include <gtest/gtest.h>

#include <string>

namespace kuvar::modules {
namespace {

TEST(NumberOrZero, DecimalTextOrZero) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"+00012", 12}, {"-00034", -34}, {"1000", 1000}, {"-4.5", -4.5}, {".5", 0.5}, {"1.", 1},
        {"1e3", 1000},  {"-0", 0},       {"", 0},        {"+", 0},       {"-", 0},    {".", 0},
        {"+-5", 0},     {"++5", 0},      {"12a", 0},     {" 12", 0},     {"12]", 0},  {"inf", 0},
        {"nan", 0},     {"-inf", 0},     {"0x10", 0},    {"1e999", 0},   {"abc", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberOrZero(c.text), c.value) << '"' << c.text << '"';
}

TEST(IntOrDefault, IntegerTextOrFallback) {
    const struct {
        const char* text;
        std::int32_t fallback;
        std::int32_t value;
    } cases[] = {
        {"08", 0, 8},
        {"+4", 0, 4},
        {"-12", 0, -12},
        {"", 0, 0},
        {"", 100, 100},
        {"abc", 100, 100},
        {"2.5", 0, 0},
        {"2 ", 0, 0},
        {"2147483647", 0, 2147483647},
        {"2147483648", 7, 7},
        {"-2147483648", 0, INT32_MIN},
        {"+-1", 9, 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IntOrDefault(c.text, c.fallback), c.value) << '"' << c.text << '"';
}

struct AcCase {
    const char* frame;
    bool shown;
    double x, y, z;
};

class ParseAcFrameTest : public ::testing::TestWithParam<AcCase> {};

TEST_P(ParseAcFrameTest, FieldsByHeadAndTail) {
    const AcCase& c = GetParam();
    const auto reading = ParseAcFrame(c.frame);
    ASSERT_EQ(reading.has_value(), c.shown);
    if (!reading)
        return;
    EXPECT_EQ(reading->x, c.x);
    EXPECT_EQ(reading->y, c.y);
    EXPECT_EQ(reading->z, c.z);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ParseAcFrameTest,
    ::testing::Values(
        AcCase{"[1 02 +00012 -00034 +01000]", true, 12, -34, 1000},
        AcCase{"@+00012 -00034 +01000 ", true, 12, -34, 1000},
        // Without the blank after it, Z has no closing blank and reads as 0.
        AcCase{"@+00012 -00034 +01000", true, 12, -34, 0},
        // The rule gives Y only up to a following blank, so "@1 2" shows X 1, Y 0, Z 0.
        AcCase{"@1 2", true, 1, 0, 0}, AcCase{"@", true, 0, 0, 0}, AcCase{"@12345", true, 0, 0, 0},
        // No "]": Z is empty.
        AcCase{"[1 02 +00012 -00034 +01000", true, 12, -34, 0},
        // A command reply in stream mode lacks the five fields: no reading, no false zeros.
        AcCase{"[1 SCALE 2]", false, 0, 0, 0}, AcCase{"[1 START]", false, 0, 0, 0},
        AcCase{"123456", false, 0, 0, 0},
        // Five fields whose readings are not numbers still give three values.
        AcCase{"[1 02 x -00034 ?]", true, 0, -34, 0},
        // Five characters without "@", and "@" anywhere but first.
        AcCase{"[1 2]", false, 0, 0, 0}, AcCase{"", false, 0, 0, 0},
        AcCase{"[1 02 @00012 -00034 +01000]", false, 0, 0, 0}, AcCase{"x@1 2 3 ", false, 0, 0, 0}));

struct GyCase {
    const char* shortened;
    bool shown;
    char mode;
    int scale;
    double roll, pitch, yaw;
};

class ParseGyFrameTest : public ::testing::TestWithParam<GyCase> {};

TEST_P(ParseGyFrameTest, ModeDigitAndReadings) {
    const GyCase& c = GetParam();
    const auto reading = ParseGyFrame(c.shortened);
    ASSERT_EQ(reading.has_value(), c.shown);
    if (!reading)
        return;
    EXPECT_EQ(reading->mode, c.mode);
    EXPECT_EQ(reading->scaleDigit, c.scale);
    EXPECT_EQ(reading->roll, c.roll);
    EXPECT_EQ(reading->pitch, c.pitch);
    EXPECT_EQ(reading->yaw, c.yaw);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ParseGyFrameTest,
    ::testing::Values(GyCase{"01 +00123 -00045 +01800]", true, '0', 1, 123, -45, 1800},
                      GyCase{"18 +00123 -00045 +01800]", true, '1', 8, 123, -45, 1800},
                      // No "]": yaw 0.
                      GyCase{"02 +00123 -00045 +01800", true, '0', 2, 123, -45, 0},
                      // A scale character that is no digit gives 0.
                      GyCase{"0x +1 +2 +3]", true, '0', 0, 1, 2, 3},
                      GyCase{"0", true, '0', 0, 0, 0, 0}, GyCase{"1 a b c]", true, '1', 0, 0, 0, 0},
                      GyCase{"21 +00123 -00045 +01800]", false, 0, 0, 0, 0, 0},
                      GyCase{"[1 01 +00123 -00045 +01800]", false, 0, 0, 0, 0, 0},
                      GyCase{"", false, 0, 0, 0, 0, 0}));

} // namespace
} // namespace kuvar::modules
