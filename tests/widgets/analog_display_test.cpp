// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/instruments.h"
#include "widgets/ti_analog_display.h"

#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace kuvar;

TEST(DisplayText, Table) {
    struct Case {
        double v;
        int precision;
        const char* units;
        const char* want;
    } cases[] = {
        {0.25, 1, "", "0.3"},
        {-0.25, 1, "", "-0.3"},
        {-0.04, 1, "", "0.0"},
        {12.5, 0, "", "13"},
        {12.34, 1, "   ", "12.3"},
        {12.34, 1, " mg", "12.3 mg"},
        {-1234.56, 2, "mg", "-1234.56mg"},
        {0, 1, "", "0.0"},
        {999.96, 1, "", "1000.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayText(c.v, c.precision, QString::fromLatin1(c.units)).toStdString(), c.want)
            << c.v;
}

TEST(DisplayText, TextRectangleByBorderAndAlignment) {
    const QRect lowered = DisplayTextRect(129, 30, ibsLowered, iahCenter, 5);
    EXPECT_EQ(lowered.top(), 2);
    EXPECT_EQ(lowered.top() + lowered.height(), 26); // rows 2 up to 26
    EXPECT_EQ(lowered.left(), 2);
    EXPECT_EQ(lowered.left() + lowered.width(), 127);
    const QRect raised = DisplayTextRect(129, 30, ibsRaised, iahLeft, 5);
    EXPECT_EQ(raised.top() + raised.height(), 28);
    EXPECT_EQ(raised.left(), 7);
    const QRect right = DisplayTextRect(129, 30, ibsNone, iahRight, 5);
    EXPECT_EQ(right.left() + right.width(), 122);
}

class DisplayFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(modules::SetupDisplay(d, "ssACX")); }
    QImage Paint() {
        QImage img(d.size(), QImage::Format_RGB32);
        QPainter p(&img);
        d.PaintTo(p);
        return img;
    }
    static bool HasColour(const QImage& img, const QRect& r, bool (*match)(QRgb)) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (match(img.pixel(x, y)))
                    return true;
        return false;
    }
    TiAnalogDisplay d;
};

TEST_F(DisplayFixture, ChangeOnlyOnADifferentValue) {
    QSignalSpy spy(&d, &TiAnalogDisplay::changed);
    const int requests = d.RepaintRequests();
    d.SetValue(0.0);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(d.RepaintRequests(), requests);
    d.SetValue(1.5);
    d.SetValue(1.5);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(d.RepaintRequests(), requests + 1);
    EXPECT_EQ(spy.at(0).at(0).value<TiAnalogDisplay*>(), &d);
    EXPECT_EQ(d.Value(), 1.5); // reads back exactly
    d.SetValue(0.1 + 0.2);
    EXPECT_EQ(d.Value(), 0.1 + 0.2);
}

TEST_F(DisplayFixture, InstanceLooksLimeOnBlackWithALoweredEdge) {
    EXPECT_EQ(d.size(), QSize(129, 30));
    d.SetValue(-123.4);
    const QImage img = Paint();
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(0xA0, 0xA0, 0xA0)); // shadow at top-left
    EXPECT_EQ(QColor(img.pixel(128, 29)), QColor(Qt::white));     // highlight at bottom-right
    EXPECT_EQ(QColor(img.pixel(64, 27)), QColor(Qt::black));
    EXPECT_TRUE(HasColour(img, QRect(2, 2, 125, 24),
                          [](QRgb c) { return qGreen(c) > 200 && qRed(c) < 60 && qBlue(c) < 60; }));
}

TEST_F(DisplayFixture, ErrorStateShowsErrorTextOnItsBackground) {
    d.SetValue(5);
    d.SetErrorBackGroundColor(QColor(0, 0, 0x40));
    d.SetErrorActive(true);
    EXPECT_EQ(d.Text(), "Error");
    QImage img = Paint();
    EXPECT_EQ(QColor(img.pixel(64, 27)), QColor(0, 0, 0x40));
    EXPECT_TRUE(HasColour(img, QRect(2, 2, 125, 24),
                          [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 60; }));
    d.SetErrorActive(false);
    EXPECT_EQ(d.Text(), "5.0");
}

TEST_F(DisplayFixture, WideTextIsClippedToItsRectangle) {
    d.SetValue(123456789012345.0);
    d.SetPrecision(3);
    const QImage img = Paint();
    // Columns 0 and 1 are the edge, never text.
    EXPECT_EQ(QColor(img.pixel(1, 15)), QColor(0x69, 0x69, 0x69));
    EXPECT_EQ(QColor(img.pixel(127, 15)), QColor(0xE3, 0xE3, 0xE3));
    EXPECT_EQ(d.Text(), "123456789012345.000");
}

TEST_F(DisplayFixture, NegativePrecisionIsIgnored) {
    d.SetPrecision(-2);
    EXPECT_EQ(d.Precision(), 1);
}

