// SPDX-License-Identifier: GPL-3.0-or-later
// The instance table of the window's instruments: every entry made, nothing unknown accepted.
#include "modules/instruments.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <stdexcept>

namespace kuvar::modules {
namespace {

TEST(ColourButtonTable, EveryButtonWithItsPictureSize) {
    struct Case {
        const char* name;
        QSize glyph;
    } cases[] = {
        {"btConnect", {32, 32}},  {"btClose", {32, 32}},      {"btAC", {28, 32}},
        {"btGY", {28, 32}},       {"AbColBitBtn1", {28, 32}}, {"AbColBitBtn2", {28, 32}},
        {"btACStart", {16, 16}},  {"btACStop", {16, 16}},     {"btGYSTART", {16, 16}},
        {"btGYStop", {16, 16}},   {"btACRESTORE", {23, 14}},  {"btGYRESET", {23, 14}},
        {"btACSAVE", {18, 18}},   {"btGYSAVE", {18, 18}},     {"btGYAngleReset", {18, 18}},
        {"AbColBitBtn3", {0, 0}}, {"AbColBitBtn4", {0, 0}},   {"btRecord", {84, 28}},
    };
    QWidget parent;
    for (const Case& c : cases) {
        TAbColBitBtn b(&parent);
        ASSERT_TRUE(SetupColourButton(b, c.name)) << c.name;
        EXPECT_EQ(b.objectName(), c.name);
        EXPECT_EQ(b.Glyph().size(), c.glyph) << c.name;
        EXPECT_EQ(b.ButtonBevel.Width(), 1);
        EXPECT_FALSE(b.Text3D());
        EXPECT_FALSE(b.accessibleName().isEmpty());
    }
    TAbColBitBtn b(&parent);
    EXPECT_FALSE(SetupColourButton(b, "btNope"));
    ASSERT_TRUE(SetupColourButton(b, "btGYSTART"));
    EXPECT_EQ(b.font().family(), "NanumGothic");
}

// The record button shows whether a recording runs, whatever the mouse does: a click reports
// itself and leaves the face to the program.
TEST(ColourButtonTable, TheRecordButtonKeepsTheFaceTheProgramGivesIt) {
    QWidget parent;
    TAbColBitBtn b(&parent);
    ASSERT_TRUE(SetupColourButton(b, "btRecord"));
    b.resize(65, 41);
    int clicks = 0;
    QObject::connect(&b, &TAbColBitBtn::clicked, [&] { ++clicks; });
    EXPECT_EQ(b.NumGlyph(), 3);
    for (bool recording : {false, true, false}) {
        b.SetChecked(recording);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 20), QPointF(30, 20),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(30, 20), QPointF(30, 20),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&b, &press);
        EXPECT_TRUE(b.ShownSunken());
        QCoreApplication::sendEvent(&b, &release);
        EXPECT_EQ(b.Checked(), recording);
        EXPECT_EQ(b.ShownSunken(), recording);
        EXPECT_EQ(b.GlyphIndex(), recording ? 2 : 0);
    }
    EXPECT_EQ(clicks, 3);
}

TEST(DisplayTable, SixNamesAndTheirSizes) {
    struct Case {
        const char* name;
        QSize size;
        int px;
    } cases[] = {{"ssACX", {129, 30}, 19},     {"ssACY", {129, 30}, 19},
                 {"ssACZ", {129, 30}, 19},     {"ssGYRoll", {129, 25}, 16},
                 {"ssGYPitch", {129, 25}, 16}, {"ssGYYaw", {129, 25}, 16}};
    for (const Case& c : cases) {
        TiAnalogDisplay d;
        ASSERT_TRUE(SetupDisplay(d, c.name));
        EXPECT_EQ(d.objectName(), c.name);
        EXPECT_EQ(d.size(), c.size);
        EXPECT_EQ(d.Font().pixelSize(), c.px);
        EXPECT_TRUE(d.Font().bold());
        EXPECT_EQ(d.FontColor(), QColor(0, 0xFF, 0));
    }
    TiAnalogDisplay d;
    EXPECT_FALSE(SetupDisplay(d, "ssNope"));
}

TEST(ColourButtonTable, TheFactoriesRefuseUnknownNamesAndShowTheHints) {
    QWidget page;
    EXPECT_THROW(ColourButton(&page, "btNope"), std::logic_error);
    EXPECT_THROW(Display(&page, "ssNope"), std::logic_error);
    struct Case {
        const char* name;
        const char* hint;
        const char* accessible;
    } cases[] = {
        {"btConnect", "ComPort Open or Close", "ComPort Open or Close"},
        {"btClose", "", "Close"},
        {"btACSAVE", "Download of data list", "Chart SAVE"},
        {"btGYSAVE", "Download of data list", "Chart SAVE"},
        {"btACStart", "", "Start"},
    };
    for (const Case& c : cases) {
        const TAbColBitBtn* b = ColourButton(&page, c.name);
        EXPECT_EQ(b->toolTip(), QString::fromLatin1(c.hint)) << c.name;
        EXPECT_EQ(b->accessibleName(), QString::fromLatin1(c.accessible)) << c.name;
    }
    EXPECT_EQ(ColourButton(&page, "btGYSAVE")->TextOn(), QStringLiteral("Chart  SAVE"));
    EXPECT_FALSE(ColourButton(&page, "AbColBitBtn1")->isVisibleTo(&page));
}

} // namespace
} // namespace kuvar::modules
