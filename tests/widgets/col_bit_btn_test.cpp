// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_col_bit_btn.h"
#include "modules/instruments.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kuvar;

namespace {
const QColor kLime(0, 0xFF, 0);

QImage Strip3() {
    QImage img(30, 10, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, 10, 10, Qt::red);
    p.fillRect(10, 0, 10, 10, Qt::green);
    p.fillRect(20, 0, 10, 10, Qt::blue);
    p.fillRect(0, 9, 1, 1, Qt::white); // the key colour, bottom-left
    return img;
}

QRect Ink(const QImage& img, bool (*match)(QRgb)) {
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (match(img.pixel(x, y)))
                r = r.united(QRect(x, y, 1, 1));
    return r;
}
} // namespace

class ButtonFixture : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(400, 300);
        b = new TAbColBitBtn(&parent);
        ASSERT_TRUE(modules::SetupColourButton(*b, "btGYSAVE"));
    }
    QImage Grab() { return b->grab().toImage(); }
    QWidget parent;
    TAbColBitBtn* b = nullptr;
};

TEST_F(ButtonFixture, HeldDownShowsTheOnTextInLimeSunkenAndShifted) {
    EXPECT_EQ(b->geometry(), QRect(216, 143, 106, 34));
    EXPECT_EQ(b->ShownText(), "Chart SAVE");
    EXPECT_EQ(b->ShownTextColor(), QColor(Qt::black));
    QImage up = Grab();
    EXPECT_EQ(QColor(up.pixel(0, 0)), QColor(Qt::white));           // raised: highlight
    EXPECT_EQ(QColor(up.pixel(105, 33)), QColor(0xA0, 0xA0, 0xA0)); // and shadow
    EXPECT_EQ(QColor(up.pixel(50, 1)), QColor(0xF0, 0xF0, 0xF0));   // gradient's top row
    // 32 face rows, one band each: band 16 is Trunc(240 - 16 * 135 / 32) = 172.
    EXPECT_EQ(QColor(up.pixel(3, 17)), QColor(172, 172, 172));

    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(b->ShownText(), "Chart  SAVE");
    EXPECT_EQ(b->ShownTextColor(), kLime);
    EXPECT_TRUE(b->ShownSunken());
    EXPECT_EQ(b->ContentOffset(), QPoint(1, 1));
    QImage down = Grab();
    EXPECT_EQ(QColor(down.pixel(0, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(down.pixel(105, 33)), QColor(0xD2, 0xD2, 0xD2));
    EXPECT_FALSE(Ink(down, [](QRgb c) {
                     return qGreen(c) > 200 && qRed(c) < 80 && qBlue(c) < 80;
                 }).isNull());

    int clicks = 0;
    bool pressedDuringClick = false;
    QObject::connect(b, &TAbColBitBtn::clicked, [&] {
        ++clicks;
        pressedDuringClick = b->ShownSunken() && b->ShownText() == "Chart  SAVE";
    });
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(pressedDuringClick);
    EXPECT_EQ(b->ShownText(), "Chart SAVE");
    EXPECT_FALSE(b->ShownSunken());
    EXPECT_EQ(QColor(Grab().pixel(0, 0)), QColor(Qt::white));
}

TEST_F(ButtonFixture, ReleaseOutsideGivesNoClickButLetsGo) {
    QSignalSpy spy(b, &TAbColBitBtn::clicked);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_EQ(spy.count(), 0);
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->ShownSunken());
    QTest::mouseClick(b, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(ButtonFixture, SwitchStaysDownUntilPressedAgain) {
    b->SetMode(mSwitch);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(b->ShownSunken());
    EXPECT_EQ(QColor(Grab().pixel(0, 0)), QColor(Qt::black));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(b->Checked());
    EXPECT_FALSE(b->ShownSunken());
}

TEST_F(ButtonFixture, EmptyOffTextShowsTheOnText) {
    b->SetTextOff(QString());
    b->SetTextOn("Go");
    EXPECT_EQ(b->ShownText(), "Go");
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(b->ShownText(), "Go");
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 10));
}

TEST_F(ButtonFixture, ThreeImageGlyphPressedAndDisabled) {
    b->SetGlyph(Strip3());
    b->SetNumGlyph(3);
    auto blue = [](QRgb c) { return qBlue(c) > 200 && qRed(c) < 50 && qGreen(c) < 50; };
    auto green = [](QRgb c) { return qGreen(c) > 200 && qRed(c) < 50 && qBlue(c) < 50; };
    auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 50 && qBlue(c) < 50; };
    EXPECT_EQ(b->GlyphIndex(), 0);
    EXPECT_FALSE(Ink(Grab(), red).isNull());
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(b->GlyphIndex(), 2);
    EXPECT_EQ(Ink(Grab(), blue).size(), QSize(10, 10));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 10));
    b->setEnabled(false);
    EXPECT_EQ(b->GlyphIndex(), 1);
    const QImage off = Grab();
    EXPECT_FALSE(Ink(off, green).isNull());
    EXPECT_EQ(b->ShownTextColor(), QColor(0xA0, 0xA0, 0xA0));
    // The strip's bottom-left pixel is the key colour: the red image shows without it.
    b->setEnabled(true);
    const QImage img = Grab();
    const QRect r = Ink(img, red);
    EXPECT_EQ(r.size(), QSize(10, 10));
    EXPECT_FALSE(red(img.pixel(r.left(), r.bottom())));
}

TEST(ColBitBtnLayout, GlyphPositionsAndTwoLineText) {
    const QRect area(1, 1, 100, 40); // centre (51, 21)
    const QSize g(10, 10);
    // Text 30 x 14, spacing 4: side box 44 x 14, stacked box 30 x 28.
    struct Case {
        TPos pos;
        QSize box;
        QPoint glyph, anchor;
        toPos a;
    } cases[] = {
        {pLeft, {44, 14}, {29, 16}, {43, 21}, toMidLeft},
        {pRight, {44, 14}, {63, 16}, {59, 21}, toMidRight},
        {pTop, {30, 28}, {46, 7}, {51, 21}, toTopCenter},
        {pBottom, {30, 28}, {46, 25}, {51, 21}, toBotCenter},
    };
    for (const Case& c : cases) {
        const TAbBtnLayout l =
            LayoutButtonContent(area, g, 30, 14, 4, c.pos, phCenter, pvCenter, QPoint(0, 0));
        EXPECT_EQ(l.box, c.box) << c.pos;
        EXPECT_EQ(l.glyph.topLeft(), c.glyph) << c.pos;
        EXPECT_EQ(l.anchor, c.anchor) << c.pos;
        EXPECT_EQ(l.textAnchor, c.a);
        const TAbBtnLayout moved =
            LayoutButtonContent(area, g, 30, 14, 4, c.pos, phCenter, pvCenter, QPoint(1, 1));
        EXPECT_EQ(moved.glyph.topLeft(), l.glyph.topLeft() + QPoint(1, 1));
    }
    // No text: no spacing.
    EXPECT_EQ(LayoutButtonContent(area, g, 0, 0, 4, pLeft, phCenter, pvCenter, {}).box,
              QSize(10, 10));
}

TEST(ColBitBtnPaint, TwoLinesCentreTogetherOnTheGlyph) {
    QWidget parent;
    auto* b = new TAbColBitBtn(&parent);
    b->resize(90, 60);
    b->GradBtnFace.SetVisible(false);
    b->SetText3D(false);
    b->SetColorOff(Qt::white);
    b->SetTextOff("AB|CD");
    QImage g(10, 10, QImage::Format_RGB32);
    g.fill(Qt::red);
    g.setPixel(0, 9, qRgb(255, 255, 255));
    b->SetGlyph(g);
    b->SetBeveled(false);
    const QImage img = b->grab().toImage();
    const QRect text =
        Ink(img, [](QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; });
    const QRect glyph = Ink(img, [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 60; });
    ASSERT_FALSE(text.isNull());
    ASSERT_FALSE(glyph.isNull());
    EXPECT_GT(text.height(), 16); // two lines
    EXPECT_NEAR(text.center().y(), glyph.center().y(), 3);
    EXPECT_GT(text.left(), glyph.right());
}

TEST(ColBitBtnState, FlashClockTogglesThePhaseAtItsRate) {
    TAbColBitBtn b;
    b.SetChecked(true);
    b.SetFrequency(ff8Hz); // bit 2 of the tick counter: a toggle every 4 ticks
    b.SetFlashing(true);
    TAbFlashClock& clock = TAbFlashClock::Instance();
    ASSERT_TRUE(clock.Joined(&b));
    int toggles = 0;
    bool last = b.FlashPhase();
    for (int i = 0; i < 32; ++i) {
        clock.Tick();
        if (b.FlashPhase() != last) {
            ++toggles;
            last = b.FlashPhase();
        }
    }
    EXPECT_EQ(toggles, 8);
    b.SetFlashing(false);
    EXPECT_FALSE(clock.Joined(&b));
    b.SetFlashing(true);
    b.SetChecked(false);
    EXPECT_FALSE(clock.Joined(&b));
}

TEST(ColBitBtnState, RadioGroupSharesTheStatusWord) {
    QWidget parent;
    TAbColBitBtn a(&parent), c(&parent), other(&parent);
    for (TAbColBitBtn* x : {&a, &c, &other})
        x->SetMode(mRadioButton);
    a.SetGroupIndex(1);
    c.SetGroupIndex(1);
    a.SetStatusBit(0);
    c.SetStatusBit(1);
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(c.StatusInt(), 2);
    EXPECT_EQ(a.StatusInt(), 2);
    EXPECT_TRUE(c.Checked());
    EXPECT_FALSE(a.Checked());
    EXPECT_EQ(other.StatusInt(), 1); // not in the group
    EXPECT_EQ(a.LowestBit(), 1);
    QTest::mouseClick(&a, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(a.Checked());
    EXPECT_FALSE(c.Checked());
}

