// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/number_text.h"

#include <gtest/gtest.h>
#include <optional>

using namespace kuvar;

using charts::FloatFromText;
using charts::FloatFromTextOr;
using charts::IntFromText;

TEST(IntFromText, ReadsDecimalIntegersAndFallsBackOtherwise) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"300", 300},
        {"-5", -5},
        {"+7", 7},
        {" 42 ", 42},
        {"0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", -1},
        {"", -1},
        {"abc", -1},
        {"12a", -1},
        {"1.5", -1},
        {"1e3", -1},
        {"- 3", -1},
        {"0x10", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntFromText(QString::fromUtf8(c.text), -1), c.expected) << c.text;
}

TEST(FloatFromText, ReadsDecimalNumbersStrictly) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"2000", 2000},
        {"-1000", -1000},
        {"1.5", 1.5},
        {".5", 0.5},
        {"5.", 5},
        {"-2.5e3", -2500},
        {"1E-2", 0.01},
        {" 30 ", 30},
        {"+3", 3},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1,5", std::nullopt},
        {"1e", std::nullopt},
        {"--1", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e999", std::nullopt},
        {".", std::nullopt},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        if (c.expected) {
            EXPECT_DOUBLE_EQ(FloatFromText(text), *c.expected) << c.text;
            EXPECT_DOUBLE_EQ(FloatFromTextOr(text, -7), *c.expected) << c.text;
        } else {
            EXPECT_THROW(FloatFromText(text), charts::ENumberTextError) << c.text;
            EXPECT_EQ(FloatFromTextOr(text, -7), -7) << c.text;
        }
    }
}

TEST(FloatFromText, RefusalNamesTheText) {
    try {
        FloatFromText(QStringLiteral("12x"));
        FAIL() << "no refusal";
    } catch (const charts::ENumberTextError& e) {
        EXPECT_STREQ(e.what(), "'12x' is not a valid floating point value");
    }
}
