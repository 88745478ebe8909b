// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_draw.h"
#include "widgets/decimal_text.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace kuvar;

TEST(FillDiagonalGradient, ThreeHundredSixtySquareRunsWhiteToGrey) {
    QImage img(360, 360, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    const QColor from(Qt::white), to(0x73, 0x73, 0x73);
    EXPECT_EQ(FillDiagonalGradient(p, QRect(0, 0, 360, 360), from, to), 563);
    p.end();
    EXPECT_EQ(DiagonalGradientColor(from, to, 562, 0), from);
    EXPECT_EQ(DiagonalGradientColor(from, to, 562, 562), to);
    // Line k lies on x + y = c + k - 1 with c = 79.
    EXPECT_EQ(QColor(img.pixel(78, 0)), from);
    EXPECT_EQ(QColor(img.pixel(0, 78)), from);
    EXPECT_EQ(QColor(img.pixel(359, 281)), to);
    EXPECT_EQ(QColor(img.pixel(281, 359)), to);
    // The corner triangles before the first and after the last line stay untouched.
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(img.pixel(359, 359)), QColor(Qt::black));
    const QColor mid(img.pixel(180, 180));
    EXPECT_LT(mid.red(), 255);
    EXPECT_GT(mid.red(), 0x73);
}

TEST(RotatePoint, TurnsClockwiseOnScreenAndRoundsTiesToEven) {
    struct Case {
        QPoint pt, c;
        double a;
        QPoint want;
    } cases[] = {
        {{190, 180}, {180, 180}, 90, {180, 190}},
        {{190, 180}, {180, 180}, -90, {180, 170}},
        {{190, 180}, {180, 180}, 180, {170, 180}},
        {{180, 170}, {180, 180}, 30, {185, 171}}, // (5.0, -8.66)
        {{170, 46}, {180, 180}, 0, {170, 46}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RotatePoint(c.pt, c.c, c.a), c.want) << c.a;
}

TEST(FormatNumber, Patterns) {
    struct Case {
        const char* pattern;
        double v;
        const char* want;
    } cases[] = {
        {"##0.#", 5, "5"},
        {"##0.#", 2.25, "2.3"},
        {"##0.#", -0.5, "-0.5"},
        {"##0.#", 10, "10"},
        {"##0.#", 7.5, "7.5"},
        {"##0.#", -5, "-5"},
        {"##0.#", -180, "-180"},
        {"##0.#", 0.04, "0"},
        {"##0.#", -0.04, "0"},
        {"##0.0", 12.34, "12.3"},
        {"##0.0", 0.5, "0.5"},
        {"##0.0", -7, "-7.0"},
        {"##0.0", 370, "370.0"},
        {"##0.0", -10, "-10.0"},
        {"##0.0", 0.05, "0.1"},
        {"##0.0", -0.05, "-0.1"},
        {"##0.0", 1234567, "1234567.0"},
        {"00.00", 3.14159, "03.14"},
        {"##0", 2.5, "3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumber(QString::fromLatin1(c.pattern), c.v).toStdString(), c.want)
            << c.pattern << " " << c.v;
    EXPECT_EQ(FormatNumber("##0.0", 2.5, QLatin1Char(',')), QStringLiteral("2,5"));
    EXPECT_EQ(FormatNumber("##0.0", std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(FixedDecimal, RoundsTheDecimalFormHalfAwayFromZero) {
    struct Case {
        double v;
        int n;
        const char* want;
    } cases[] = {
        {0.25, 1, "0.3"},
        {-0.25, 1, "-0.3"},
        {-0.04, 1, "0.0"},
        {12.5, 0, "13"},
        {-12.5, 0, "-13"},
        {0.0, 1, "0.0"},
        {-0.0, 1, "0.0"},
        {9.96, 1, "10.0"},
        {-999.95, 1, "-1000.0"},
        {1e20, 1, "100000000000000000000.0"},
        {1.005, 2, "1.00"} /* 1.00499999999999989 */,
        {123.456, 3, "123.456"},
        {0.000001, 2, "0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixedDecimal(c.v, c.n), c.want) << c.v << " " << c.n;
    EXPECT_EQ(FixedDecimal(std::numeric_limits<double>::infinity(), 1), "INF");
}

TEST(AnchoredText, NineAnchorsPlaceTheBox) {
    const int tw = 40, th = 12;
    struct Case {
        toPos a;
        QPoint want;
    } cases[] = {
        {toTopLeft, {100, 50}}, {toTopCenter, {80, 50}}, {toTopRight, {60, 50}},
        {toMidLeft, {100, 44}}, {toMidCenter, {80, 44}}, {toMidRight, {60, 44}},
        {toBotLeft, {100, 38}}, {toBotCenter, {80, 38}}, {toBotRight, {60, 38}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnchoredTopLeft(100, 50, c.a, tw, th), c.want) << c.a;
}

namespace {
QRect InkBounds(const QImage& img, QRgb background) {
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background)
                r = r.united(QRect(x, y, 1, 1));
    return r;
}
} // namespace

TEST(AnchoredText, DrawsInsideTheAnchoredBox) {
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QFont f("DejaVu Sans");
    f.setPixelSize(14);
    p.setFont(f);
    p.setPen(Qt::black);
    DrawAnchoredText(p, 100, 50, toBotRight, QStringLiteral("Course"));
    p.end();
    const QFontMetrics fm(f);
    const QRect ink = InkBounds(img, qRgb(255, 255, 255));
    const QRect box(100 - fm.horizontalAdvance("Course"), 50 - fm.height(),
                    fm.horizontalAdvance("Course"), fm.height());
    ASSERT_FALSE(ink.isNull());
    EXPECT_TRUE(box.adjusted(-1, -1, 1, 1).contains(ink)) << ink.x() << "," << ink.y();
}

TEST(RotatedText, MiddleAlignedTextCentresOnTheAnchorAtAnyAngle) {
    QFont f("DejaVu Sans");
    f.setPixelSize(20);
    f.setBold(true);
    for (double angle : {0.0, 90.0, 45.0, -135.0}) {
        QImage img(200, 200, QImage::Format_RGB32);
        img.fill(Qt::black);
        QPainter p(&img);
        p.setFont(f);
        p.setPen(Qt::white);
        DrawRotatedText(p, QPoint(100, 100), QStringLiteral("NE"), toMidCenter, angle);
        p.end();
        const QRect ink = InkBounds(img, qRgb(0, 0, 0));
        ASSERT_FALSE(ink.isNull());
        EXPECT_NEAR(ink.center().x(), 100, 4) << angle;
        EXPECT_NEAR(ink.center().y(), 100, 4) << angle;
        if (angle == 90.0) {
            EXPECT_GT(ink.height(), ink.width()); // turned text stands on its side
        }
    }
}

// Band i of n gets Trunc(from + i * (to - from) / n) in each channel. Where a falling channel's
// step is not whole, that is one level below from + Trunc(step); a rising channel and whole steps
// give the same either way.
TEST(FillGradHorizontal1, EachBandTruncatesTheWholeChannelValue) {
    const QColor face(0xF0, 0xF0, 0xF0), shade(0x69, 0x69, 0x69);
    const struct {
        QColor from, to;
        int height;
        int row;
        QColor want;
    } cases[] = {
        // 39 rows: 39 bands of one row.
        {face, shade, 39, 0, face},
        {face, shade, 39, 1, QColor(236, 236, 236)},  // 240 - 3.46
        {face, shade, 39, 13, QColor(195, 195, 195)}, // 240 - 45 exactly
        {face, shade, 39, 38, QColor(108, 108, 108)}, // 240 - 131.54
        // Red rises, green falls, blue stays: n = 30 bands of one row.
        {QColor(10, 200, 50), QColor(251, 27, 50), 30, 1, QColor(18, 194, 50)},
        {QColor(10, 200, 50), QColor(251, 27, 50), 30, 29, QColor(242, 32, 50)},
        // 300 rows, 135 steps: bands of 300 div 135 = 2 rows, n = 150.
        {face, shade, 300, 1, face},
        {face, shade, 300, 2, QColor(239, 239, 239)}, // 240 - 0.9
        {face, shade, 300, 20, QColor(231, 231, 231)},
        {face, shade, 300, 299, shade}, // 240 - 134.1
    };
    for (const auto& c : cases) {
        QImage img(12, c.height, QImage::Format_RGB32);
        img.fill(Qt::black);
        QPainter p(&img);
        FillGradHorizontal1(p, img.rect(), c.from, c.to);
        p.end();
        EXPECT_EQ(QColor(img.pixel(5, c.row)), c.want)
            << c.height << " rows, row " << c.row << ": "
            << QColor(img.pixel(5, c.row)).name().toStdString();
    }
    // The face darkens row by row from the top to the bottom.
    QImage img(12, 39, QImage::Format_RGB32);
    QPainter p(&img);
    FillGradHorizontal1(p, img.rect(), face, shade);
    p.end();
    for (int y = 1; y < 39; ++y)
        EXPECT_LT(qRed(img.pixel(5, y)), qRed(img.pixel(5, y - 1))) << y;
}
