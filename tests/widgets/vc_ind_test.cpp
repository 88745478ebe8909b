// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/instruments.h"
#include "tests/widgets/paint_count.h"
#include "widgets/ab_vc_ind.h"

#include <QPainter>
#include <QScreen>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <vector>

using namespace kuvar;

namespace {

const QColor kSky(0xBF, 0xBF, 0xFF);
const QColor kGround(0xCC, 0x8E, 0x00);

std::unique_ptr<TAbVCInd> Instance() {
    auto w = std::make_unique<TAbVCInd>();
    modules::SetupIndicator(*w);
    return w;
}

QColor At(TAbVCInd& w, int x, int y) {
    return QColor(w.Face().pixel(x, y));
}

bool HasWhite(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200)
                return true;
        }
    return false;
}

} // namespace

TEST(VCIndGeometry, InstanceNumbers) {
    auto w = Instance();
    const TAbVCIndGeometry g = w->Geometry();
    EXPECT_EQ(g.S, 360);
    EXPECT_EQ(QPoint(g.cx, g.cy), QPoint(180, 180));
    // Ellipses inset 2, 7, 9 and 59, and the ball (67, 67) up to (294, 294); the 2D library's
    // ellipse may leave out the single top pixel row.
    struct Ellipse {
        const QRegion* r;
        QRect want;
    } ellipses[] = {{&g.face, {2, 2, 356, 356}},
                    {&g.ring, {7, 7, 346, 346}},
                    {&g.middle, {9, 9, 342, 342}},
                    {&g.inner, {59, 59, 242, 242}},
                    {&g.ball, {67, 67, 227, 227}}};
    for (const Ellipse& e : ellipses) {
        const QRect b = e.r->boundingRect();
        EXPECT_EQ(b.left(), e.want.left());
        EXPECT_EQ(b.right(), e.want.right());
        EXPECT_EQ(b.bottom(), e.want.bottom());
        EXPECT_NEAR(b.top(), e.want.top(), 1);
    }
    EXPECT_EQ(g.pitchWindow.topLeft(), QPoint(76, 76));
    EXPECT_EQ(g.pitchWindow.bottomRight(), QPoint(284, 284));
    EXPECT_FLOAT_EQ(g.pixPerSubStep, 208.0f / 15.0f);
    EXPECT_NEAR(g.pixPerDegree, 13.87, 0.005);
    EXPECT_EQ(g.upper, QPolygon({QPoint(7, 7), QPoint(353, 7), QPoint(353, 120), QPoint(180, 180),
                                 QPoint(7, 120)}));
    EXPECT_EQ(g.lower, QPolygon({QPoint(7, 353), QPoint(353, 353), QPoint(353, 240),
                                 QPoint(180, 180), QPoint(7, 240)}));
    EXPECT_EQ(g.topArrow, QPolygon({QPoint(170, 6), QPoint(180, 26), QPoint(190, 6)}));
    EXPECT_EQ(g.bottomArrow, QPolygon({QPoint(170, 352), QPoint(180, 332), QPoint(190, 352)}));
    EXPECT_EQ(g.marker, QPolygon({QPoint(170, 46), QPoint(180, 26), QPoint(190, 46)}));
    // The course sector lies in the scale ring above the split, the side wedges beside it.
    EXPECT_TRUE(g.courseSector.contains(QPoint(180, 30)));
    EXPECT_FALSE(g.courseSector.contains(QPoint(30, 180)));
    EXPECT_TRUE(g.side.contains(QPoint(30, 180)));
    EXPECT_TRUE(g.rollSector.contains(QPoint(180, 330)));
}

TEST(VCIndAngles, FoldWrapAndDeviation) {
    struct Fold {
        float in, out;
    } folds[] = {{190, 10},  {-190, -10}, {10, 10},  {180, 180},  {-180, -180},
                 {360, 180}, {540, 180},  {370, 10}, {-370, -10}, {1e9f, std::fmod(1e9f, 180.0f)}};
    for (const Fold& f : folds)
        EXPECT_FLOAT_EQ(FoldPitch(f.in), f.out) << f.in;
    EXPECT_EQ(FoldPitch(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(WrapAngle360(-10), 350);
    EXPECT_EQ(WrapAngle360(360), 360);
    EXPECT_EQ(WrapAngle360(725), 5);
    EXPECT_EQ(WrapAngle360(std::numeric_limits<double>::infinity()), 0);
    EXPECT_FLOAT_EQ(CourseDeviation(-10, 0), -10);
    EXPECT_FLOAT_EQ(CourseDeviation(350, 0), -10);
    EXPECT_FLOAT_EQ(CourseDeviation(10, 350), 20);
    EXPECT_FLOAT_EQ(CourseDeviation(180, 0), 180);
}

TEST(VCIndLadder, RungOfThePitchStandsAtTheCentre) {
    auto w = Instance();
    const TAbVCIndGeometry g = w->Geometry();
    for (float pitch : {10.0f, 0.0f, -5.0f, 3.0f}) {
        const auto rows =
            PitchLadderRows(pitch, g.pitchWindow, 15, 1.0f, 5, g.pixPerSubStep, g.pixPerDegree);
        bool found = false;
        for (const TAbLadderRow& r : rows) {
            EXPECT_GE(r.y, 76);
            EXPECT_LE(r.y, 284);
            // A rung of value v stands Round((P - v) * k) below the centre.
            EXPECT_NEAR(r.y, 180 + (pitch - r.value) * g.pixPerDegree, 1.01) << pitch;
            EXPECT_EQ(r.step, std::fmod(std::fabs(r.value), 5.0f) == 0.0f);
            if (r.value == pitch) {
                found = true;
                EXPECT_EQ(r.y, 180) << pitch;
            }
        }
        EXPECT_TRUE(found) << pitch;
    }
    // Near 180 the values run on through -180.
    const auto rows =
        PitchLadderRows(178, g.pitchWindow, 15, 1.0f, 5, g.pixPerSubStep, g.pixPerDegree);
    bool wrapped = false;
    for (const TAbLadderRow& r : rows)
        wrapped |= r.value < -170;
    EXPECT_TRUE(wrapped);
}

// The ladder keeps the rows of the pitch window, 76 to 284 with both ends; the row after it is
// outside. At 7.6 and -7.4 the sixteenth rung would fall on row 285.
TEST(VCIndLadder, RowsStayInsideThePitchWindow) {
    auto w = Instance();
    const TAbVCIndGeometry g = w->Geometry();
    struct Row {
        float value;
        int y;
    };
    const struct {
        float pitch;
        std::size_t count;
        Row first, last;
        std::vector<int> stepRows;
    } cases[] = {
        {7.6f, 15, {15, 77}, {1, 271}, {77, 146, 216}},
        {-7.4f, 15, {0, 77}, {-14, 271}, {77, 146, 216}},
        {0.0f, 15, {7, 83}, {-7, 277}, {111, 180, 249}},
        {3.5f, 16, {11, 76}, {-4, 284}, {90, 159, 229}}, // both edges of the window
        {-7.6f, 15, {-1, 89}, {-15, 283}, {144, 214, 283}},
    };
    for (const auto& c : cases) {
        const auto rows =
            PitchLadderRows(c.pitch, g.pitchWindow, 15, 1.0f, 5, g.pixPerSubStep, g.pixPerDegree);
        ASSERT_EQ(rows.size(), c.count) << c.pitch;
        EXPECT_EQ(rows.front().value, c.first.value) << c.pitch;
        EXPECT_EQ(rows.front().y, c.first.y) << c.pitch;
        EXPECT_EQ(rows.back().value, c.last.value) << c.pitch;
        EXPECT_EQ(rows.back().y, c.last.y) << c.pitch;
        std::vector<int> steps;
        for (const TAbLadderRow& r : rows)
            if (r.step)
                steps.push_back(r.y);
        EXPECT_EQ(steps, c.stepRows) << c.pitch;
    }
}

TEST(VCIndPaint, NoRungBelowThePitchWindow) {
    auto w = Instance();
    w->SetPitch(7.6f);
    const QImage face = w->Face();
    // Row 285 is where the horizon lies at this pitch: ground, with neither rung nor label.
    const QRegion ball = w->Geometry().ball;
    int white = 0;
    for (int y = 284; y <= 291; ++y)
        for (int x = 150; x <= 240; ++x)
            if (ball.contains(QPoint(x, y)) && face.pixel(x, y) == qRgb(255, 255, 255))
                ++white;
    EXPECT_EQ(white, 0);
    EXPECT_EQ(At(*w, 175, 286), kGround);
    // The last rung inside, value 1 on row 271, is drawn.
    EXPECT_EQ(At(*w, 180, 271), QColor(0x80, 0x80, 0x80));
}

TEST(VCIndPaint, PitchMovesTheHorizonDown) {
    auto w = Instance();
    EXPECT_EQ(At(*w, 100, 176), kSky);
    EXPECT_EQ(At(*w, 100, 184), kGround);
    w->SetPitch(5); // horizon Round(5 * 13.87) = 69 below the centre
    EXPECT_EQ(At(*w, 100, 246), kSky);
    EXPECT_EQ(At(*w, 100, 252), kGround);
    w->SetPitch(10); // 139 below: past the ball's edge, the ball is all sky
    EXPECT_EQ(At(*w, 180, 290), kSky);
    EXPECT_EQ(At(*w, 100, 260), kSky);
    w->SetPitch(-5);
    EXPECT_EQ(At(*w, 100, 108), kSky);
    EXPECT_EQ(At(*w, 100, 114), kGround);
}

TEST(VCIndPaint, RollTurnsTheHorizonButNotTheHorizonLine) {
    auto w = Instance();
    EXPECT_EQ(At(*w, 240, 200), kGround);
    EXPECT_EQ(At(*w, 135, 180), QColor(Qt::white));
    w->SetRoll(30); // right side of the horizon goes down: y = 180 + dx * tan 30
    EXPECT_EQ(At(*w, 240, 200), kSky);
    EXPECT_EQ(At(*w, 240, 222), kGround);
    EXPECT_EQ(At(*w, 120, 160), kGround);
    EXPECT_EQ(At(*w, 135, 180), QColor(Qt::white));
    EXPECT_EQ(At(*w, 225, 180), QColor(Qt::white));
}

TEST(VCIndPaint, PitchBeyondAHalfTurnShowsFolded) {
    for (float big : {190.0f, -190.0f}) {
        auto w = Instance();
        auto ref = Instance();
        w->SetPitch(big);
        ref->SetPitch(big > 0 ? 10.0f : -10.0f);
        EXPECT_EQ(w->Face(), ref->Face()) << big;
        EXPECT_FLOAT_EQ(w->Pitch(), big > 0 ? 10.0f : -10.0f);
    }
}

TEST(VCIndPaint, CourseLabelUnderTheTopArrow) {
    const QRect under(150, 31, 61, 30);
    auto north = Instance();
    auto east = Instance();
    east->SetCourse(90);
    east->SetCourseShould(90); // keep the set-point marker at the top in both pictures
    auto eastFirst = Instance();
    eastFirst->CourseScale.SetText("E;NE;E;SE;S;SW;W;NW");
    const QImage n = north->Face().copy(under);
    EXPECT_TRUE(HasWhite(n));
    EXPECT_EQ(east->Face().copy(under), eastFirst->Face().copy(under));
    EXPECT_NE(n, east->Face().copy(under));
}

TEST(VCIndPaint, ReadoutsShowCourseAndSignedDeviation) {
    struct Case {
        float course;
        double shown, deviation;
    } cases[] = {{-10, -10.0, -10.0}, {350, 350.0, -10.0}, {370, 370.0, 10.0}};
    for (const Case& c : cases) {
        auto w = Instance();
        w->SetCourse(c.course);
        const QImage face = w->Face();
        // The same readout drawn by itself, at the same place.
        auto expect = [&](const TAbValInd& ind, QPoint at, toPos anchor, double v) {
            TAbValInd ref;
            ref.SetFont(ind.Font());
            ref.Caption.SetVisible(false);
            QImage img(face.size(), QImage::Format_RGB32);
            img.fill(Qt::gray);
            QPainter p(&img);
            ref.Layout(p, at, anchor);
            ref.Value(p, v);
            p.end();
            ASSERT_EQ(ref.InnerRect(), ind.InnerRect());
            EXPECT_EQ(face.copy(ind.InnerRect()), img.copy(ref.InnerRect())) << c.course;
        };
        expect(w->IndCourse, QPoint(34, 178), toBotCenter, c.shown);
        expect(w->IndDeviation, QPoint(34, 182), toTopCenter, c.deviation);
    }
}

TEST(VCIndPaint, WidgetBecomesSquare) {
    TAbVCInd w;
    w.resize(300, 200);
    w.Face();
    EXPECT_EQ(w.size(), QSize(300, 300));
}

namespace {

// A magenta page with the indicator at (10, 10) on it.
struct TIndicatorPage {
    QWidget page;
    TAbVCInd* indicator;

    TIndicatorPage() : indicator(new TAbVCInd(&page)) {
        page.resize(400, 400);
        page.setAutoFillBackground(true);
        QPalette pal;
        pal.setColor(QPalette::Window, Qt::magenta);
        page.setPalette(pal);
        modules::SetupIndicator(*indicator);
        indicator->move(10, 10);
    }
};

} // namespace

TEST(VCIndPaint, CornersKeepTheParentsPixels) {
    TIndicatorPage p;
    const QImage img = p.page.grab().toImage();
    for (QPoint corner : {QPoint(11, 11), QPoint(369, 11), QPoint(11, 369), QPoint(369, 369)})
        EXPECT_EQ(QColor(img.pixel(corner)), QColor(Qt::magenta))
            << corner.x() << "," << corner.y();
    EXPECT_EQ(QColor(img.pixel(190, 190)), QColor(Qt::white)); // the centre of the face
}

// Each frame repaints the face alone, not the page beneath it, and the window shows the same
// picture as a paint of the whole page: the face in its circle, the page in the corners.
TEST(VCIndPaint, AFrameRepaintsTheFaceAloneAndTheCornersStayThePages) {
    TIndicatorPage p;
    QWidget& page = p.page;
    TAbVCInd* w = p.indicator;
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    QTest::qWait(50);
    TPaintCount pagePaints, facePaints;
    page.installEventFilter(&pagePaints);
    w->installEventFilter(&facePaints);
    for (int i = 1; i <= 5; ++i) {
        w->SetPitch(i * 7.0f);
        w->SetRoll(i * -11.0f);
        w->SetCourse(i * 40.0f);
        QTest::qWait(40);
    }
    EXPECT_GT(facePaints.paints, 0);
    EXPECT_EQ(pagePaints.paints, 0);
    // A slow machine may still have a paint to come; a picture left over never goes.
    QImage shown, own;
    for (int attempt = 0; attempt < 50 && (shown.isNull() || shown != own); ++attempt) {
        QTest::qWait(attempt == 0 ? 0 : 20);
        shown =
            page.screen()->grabWindow(page.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        own = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    EXPECT_EQ(shown, own);
    EXPECT_EQ(QColor(shown.pixel(11, 11)), QColor(Qt::magenta));
}

TEST(VCIndRedraw, EqualValuesRedrawNothingAndManySettersOneRedraw) {
    auto w = Instance();
    w->Face();
    int n = w->RedrawCount();
    w->SetCourse(0);
    w->SetPitch(0);
    w->SetRoll(0);
    w->Face();
    EXPECT_EQ(w->RedrawCount(), n);
    for (int i = 1; i <= 100; ++i)
        w->SetPitch(i * 0.1f);
    w->Face();
    EXPECT_EQ(w->RedrawCount(), n + 1); // the ball once
    n = w->RedrawCount();
    w->SetCourse(12);
    w->Face();
    EXPECT_EQ(w->RedrawCount(), n + 1); // the course tape only
}

TEST(VCIndRedraw, GuardsRefuseBadSizes) {
    auto w = Instance();
    w->SetScaleHeight(0);
    w->SetScaleHeight(-4);
    w->SetArrowSize(-1);
    w->SetArrShouldSize(-1);
    EXPECT_EQ(w->ScaleHeight(), 50);
    EXPECT_EQ(w->ArrowSize(), 10);
    EXPECT_EQ(w->ArrShouldSize(), 10);
}

TEST(VCIndRedraw, AnyAngleAndNotANumberDrawAndKeepThePitchFinite) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float v : {1e30f, -3e38f, nan, inf, -inf, 7200.5f}) {
        auto w = Instance();
        w->SetPitch(v);
        w->SetRoll(v);
        w->SetCourse(v);
        w->Face();
        // The ball step folds the stored pitch: whatever came in, a finite angle stays.
        EXPECT_TRUE(std::isfinite(w->Pitch())) << v;
        EXPECT_LE(std::fabs(w->Pitch()), 180.0f) << v;
    }
    // After not a number, the next real angles draw as they would have.
    auto level = Instance();
    auto w = Instance();
    w->SetPitch(nan);
    w->SetRoll(nan);
    w->SetCourse(nan);
    w->Face();
    w->SetPitch(5);
    w->SetRoll(10);
    w->SetCourse(20);
    level->SetPitch(5);
    level->SetRoll(10);
    level->SetCourse(20);
    EXPECT_EQ(w->Face(), level->Face());
}
