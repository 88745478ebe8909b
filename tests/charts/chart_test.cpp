// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart.h"
#include "tests/widgets/paint_count.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

using namespace kuvar;

using charts::EChartAxisError;
using charts::TChart;
using charts::TChartAxis;

namespace {

class ChartTest : public ::testing::Test {
protected:
    ChartTest() {
        for (const char* title : {"A", "B", "C"})
            chart.AddSeries(QString::fromLatin1(title), Qt::red);
        chart.resize(400, 300);
    }
    // Runs queued replots and counts them.
    int PumpReplots() {
        int replots = 0;
        auto connection = QObject::connect(&chart, &QCustomPlot::afterReplot, [&] { ++replots; });
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QObject::disconnect(connection);
        return replots;
    }
    TChart chart;
};

TEST_F(ChartTest, StartsWithFixedLeftAxisAndAutomaticBottomAxis) {
    EXPECT_FALSE(chart.LeftAxis().AutomaticMinimum());
    EXPECT_FALSE(chart.LeftAxis().AutomaticMaximum());
    EXPECT_EQ(chart.LeftAxis().Minimum(), -1000);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 2000);
    EXPECT_TRUE(chart.BottomAxis().AutomaticMinimum());
    EXPECT_TRUE(chart.BottomAxis().AutomaticMaximum());
}

TEST_F(ChartTest, PointsGetTheirIndexAsX) {
    chart.Series(1).Add(5);
    chart.Series(1).Add(-3);
    chart.Series(1).Add(5);
    ASSERT_EQ(chart.Series(1).Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(chart.Series(1).XValue(i), i);
    EXPECT_EQ(chart.Series(1).YValue(1), -3);
    EXPECT_EQ(chart.Series(0).Count(), 0);
    chart.Series(1).Clear();
    chart.Series(1).Add(9);
    EXPECT_EQ(chart.Series(1).XValue(0), 0);
}

TEST_F(ChartTest, AxisRefusesCrossedBoundsAndKeepsItsOwn) {
    struct Case {
        bool setMinimum;
        double value;
        const char* message; // nullptr: accepted
    } cases[] = {
        {true, 2000.5, "Axis Minimum Value must be <= Maximum"},
        {false, -1000.5, "Axis Maximum Value must be >= Minimum"},
        {true, 2000, nullptr}, // equal bounds are allowed
        {false, 2000, nullptr},
    };
    for (const Case& c : cases) {
        TChartAxis& left = chart.LeftAxis();
        left.SetMaximum(2000);
        left.SetMinimum(-1000);
        const double before = c.setMinimum ? left.Minimum() : left.Maximum();
        try {
            c.setMinimum ? left.SetMinimum(c.value) : left.SetMaximum(c.value);
            EXPECT_EQ(c.message, nullptr) << c.value;
            EXPECT_EQ(c.setMinimum ? left.Minimum() : left.Maximum(), c.value);
        } catch (const EChartAxisError& e) {
            ASSERT_NE(c.message, nullptr) << c.value;
            EXPECT_STREQ(e.what(), c.message);
            EXPECT_EQ(c.setMinimum ? left.Minimum() : left.Maximum(), before);
        }
    }
}

TEST_F(ChartTest, AutomaticBoundsFollowTheDataAndFreezeWhenTurnedManual) {
    for (double y : {3.0, -4.0, 10.0})
        chart.Series(0).Add(y);
    chart.Series(2).Add(-8);
    EXPECT_EQ(chart.BottomAxis().Minimum(), 0);
    EXPECT_EQ(chart.BottomAxis().Maximum(), 2);

    chart.LeftAxis().SetAutomatic(true);
    EXPECT_EQ(chart.LeftAxis().Minimum(), -8);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 10);
    chart.Series(2).SetVisible(false);
    EXPECT_EQ(chart.LeftAxis().Minimum(), -4) << "a hidden line does not widen the axis";

    chart.LeftAxis().SetAutomatic(false);
    chart.Series(0).Add(100);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 10);
    // A refusal compares with the automatic bound of the moment.
    chart.Series(0).Add(50);
    EXPECT_THROW(chart.BottomAxis().SetMinimum(4.5), EChartAxisError);
    EXPECT_NO_THROW(chart.BottomAxis().SetMinimum(4));
}

TEST_F(ChartTest, AutomaticLeftAxisFollowsOnlyTheVisibleWindow) {
    chart.Series(0).Add(1e6); // far outside the window below
    for (int i = 1; i < 100; ++i)
        chart.Series(0).Add(i % 2 ? 5 : -5);
    chart.LeftAxis().SetAutomatic(true);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 1e6);
    chart.BottomAxis().SetAutomaticMinimum(false);
    chart.BottomAxis().SetMinimum(50);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 5);
    EXPECT_EQ(chart.LeftAxis().Minimum(), -5);
    chart.RepaintNow();
    EXPECT_EQ(chart.yAxis->range().upper, 5);
    EXPECT_EQ(chart.xAxis->range().lower, 50);
    EXPECT_EQ(chart.xAxis->range().upper, 99);
}

TEST_F(ChartTest, ManyChangesBetweenTwoPaintsGiveOneReplot) {
    PumpReplots();
    QTest::qWait(100); // past the spacing of replots
    for (int i = 0; i < 500; ++i) {
        for (int s = 0; s < 3; ++s)
            chart.Series(s).Add(i);
        chart.BottomAxis().SetAutomaticMinimum(false);
    }
    chart.SetTitleColor(Qt::white);
    EXPECT_EQ(PumpReplots(), 1);
    EXPECT_EQ(PumpReplots(), 0);
}

// Points that stream in faster than the screen refreshes are replotted a batch at a time, at
// evenly spaced replots, and the last point is drawn once the stream stops.
TEST_F(ChartTest, AStreamReplotsEvenlySpacedAndShowsItsLastPoint) {
    PumpReplots();
    std::vector<qint64> replots;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&chart, &QCustomPlot::afterReplot,
                     [&] { replots.push_back(clock.elapsed()); });
    int points = 0;
    while (clock.elapsed() < 400) {
        for (int s = 0; s < 3; ++s)
            chart.Series(s).Add(points);
        ++points;
        QCoreApplication::processEvents();
        QTest::qSleep(1);
    }
    const std::size_t whileStreaming = replots.size();
    QTest::qWait(100);
    ASSERT_GE(whileStreaming, 2u);
    EXPECT_LT(whileStreaming, static_cast<std::size_t>(points) / 4);
    // At most one replot per 33 ms over the span: counted over the whole span, since a replot
    // the machine delays narrows the gap to the next one without adding a replot.
    const qint64 span = replots[whileStreaming - 1] - replots[0];
    EXPECT_LE(static_cast<qint64>(whileStreaming), span / 32 + 2)
        << whileStreaming << " replots in " << span << " ms";
    EXPECT_EQ(chart.xAxis->range().upper, points - 1);
}

TEST_F(ChartTest, EmptyAxisIsDrawnWithAWidth) {
    chart.BottomAxis().SetMinimum(0);
    chart.BottomAxis().SetMaximum(0);
    chart.RepaintNow();
    EXPECT_EQ(chart.BottomAxis().Minimum(), 0);
    EXPECT_EQ(chart.BottomAxis().Maximum(), 0);
    EXPECT_GT(chart.xAxis->range().size(), 0);
}

TEST_F(ChartTest, LegendEntriesTakeTheirLineColour) {
    chart.Series(1).SetColor(Qt::yellow);
    auto* item = chart.legend->itemWithPlottable(chart.Series(1).Graph());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->textColor(), QColor(Qt::yellow));
    EXPECT_EQ(chart.Series(1).Color(), QColor(Qt::yellow));
}

// The layout keeps the sizes of the title and the legend entries between replots: a new title
// font and a new line name must still reach it.
TEST_F(ChartTest, TheLayoutFollowsANewTitleFontAndANewLineName) {
    chart.SetTitle(QStringLiteral("KUVAR-AC Chart"));
    chart.show();
    chart.RepaintNow();
    const int frameHeight = chart.TitleFrame().height();
    auto* entry = chart.legend->itemWithPlottable(chart.Series(1).Graph());
    ASSERT_NE(entry, nullptr);
    const int entryWidth = entry->outerRect().width();

    QFont big = chart.TitleFont();
    big.setPointSize(big.pointSize() * 3);
    chart.SetTitleFont(big);
    const QString name = QStringLiteral("a much longer name for the second line");
    chart.Series(1).SetTitle(name);
    chart.RepaintNow();
    EXPECT_GT(chart.TitleFrame().height(), frameHeight);
    EXPECT_GE(chart.TitleFrame().height(), QFontMetrics(big).height());
    EXPECT_GT(entry->outerRect().width(), entryWidth);
    EXPECT_GE(entry->outerRect().width(),
              QFontMetrics(entry->font()).horizontalAdvance(name) + chart.legend->iconSize().width());
}

// The white frame spans its stretch of the row, not the text; a stretch too narrow for the title
// font gets a smaller one, so the whole title stays inside its frame.
TEST_F(ChartTest, TitleStandsCentredInAWhiteFrameWiderThanItsText) {
    chart.SetTitle(QStringLiteral("KUVAR-GY Chart"));
    chart.SetTitleColor(Qt::white);
    const struct {
        int left, right; // the span; left > right: the whole row
        bool smaller;    // drawn in a smaller font than the title font
    } cases[] = {{0, -1, false}, {150, 300, false}, {30, 110, true}};
    chart.show();
    const int fullWidth = QFontMetrics(chart.TitleFont()).horizontalAdvance(chart.Title());
    for (const auto& c : cases) {
        chart.SetTitleSpan(c.left, c.right);
        chart.RepaintNow();
        const QRect frame = chart.TitleFrame();
        const QRect text = chart.TitleTextRect();
        if (c.left <= c.right) {
            EXPECT_EQ(frame.left(), c.left);
            EXPECT_EQ(frame.right(), c.right);
        } else {
            EXPECT_EQ(frame.left(), 0);
            EXPECT_EQ(frame.right(), chart.width() - 1);
        }
        EXPECT_TRUE(frame.contains(text)) << c.left;
        EXPECT_GT(frame.height(), text.height()) << c.left;
        EXPECT_NEAR(text.center().x(), frame.center().x(), 1) << c.left;
        EXPECT_EQ(text.width() < fullWidth, c.smaller) << c.left;
        const QImage shot = chart.toPixmap().toImage();
        for (int x : {frame.left(), frame.center().x(), frame.right()}) {
            EXPECT_EQ(QColor(shot.pixel(x, frame.top())), QColor(Qt::white)) << c.left << " " << x;
            EXPECT_EQ(QColor(shot.pixel(x, frame.bottom())), QColor(Qt::white)) << c.left;
        }
    }
}

TEST_F(ChartTest, DoubleClickIsReported) {
    int reported = 0;
    QObject::connect(&chart, &TChart::DoubleClicked, [&] { ++reported; });
    chart.show();
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(200, 150), QPointF(200, 150),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &event);
    EXPECT_EQ(reported, 1);
}

} // namespace

// A stream copies only the plot area to the window, so the controls over the chart's title row
// are not painted at every replot; whatever the changes, the window then shows exactly the
// chart's own picture, with nothing left over from an earlier one.
TEST_F(ChartTest, AStreamPaintsOnlyThePlotAreaAndTheWindowShowsTheWholeChart) {
    chart.SetTitle(QStringLiteral("Chart"));
    auto* control = new QWidget(&chart); // as the boxes and buttons over the title
    control->setGeometry(4, 2, 40, 16);
    TPaintCount controlPaints;
    control->installEventFilter(&controlPaints);
    auto* box = new QWidget(&chart); // as the range box at the top of the left axis's labels
    box->setGeometry(2, 36, 24, 12);
    TPaintCount boxPaints;
    box->installEventFilter(&boxPaints);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    const auto settle = [&] {
        QTest::qWait(60); // past the spacing of replots
        QCoreApplication::processEvents();
        QTest::qWait(20);
    };
    // A slow machine may still have a paint to come; a picture left over never goes.
    const auto windowMatchesChart = [&] {
        for (int attempt = 0; attempt < 50; ++attempt) {
            const QImage shown = chart.screen()
                                     ->grabWindow(chart.winId())
                                     .toImage()
                                     .convertToFormat(QImage::Format_RGB32);
            const QImage own = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
            if (!shown.isNull() && shown == own)
                return true;
            QTest::qWait(20);
        }
        return false;
    };
    settle();
    int added = 0;
    const auto addPoints = [&](int count, double scale) {
        for (int i = 0; i < count; ++i, ++added)
            for (int s = 0; s < 3; ++s)
                chart.Series(s).Add(scale * ((added * (s + 1)) % 37));
        chart.BottomAxis().SetAutomaticMinimum(false);
        chart.BottomAxis().SetMinimum(std::max(0, added - 20));
    };

    // Paints between a change and its picture on screen (the comparison paints the chart anew).
    int paintsShown = 0;
    int boxPaintsShown = 0;
    const auto show = [&] {
        controlPaints.paints = boxPaints.paints = 0;
        settle();
        paintsShown += controlPaints.paints;
        boxPaintsShown += boxPaints.paints;
    };
    for (int round = 0; round < 5; ++round) {
        addPoints(7, 40);
        show();
        EXPECT_TRUE(windowMatchesChart()) << "after points, round " << round;
    }
    EXPECT_EQ(paintsShown, 0);
    EXPECT_EQ(boxPaintsShown, 0); // the fixed axis's labels beneath it stayed as they were
    // The stream's replots left the title and the legend as the last whole replot drew them:
    // a whole replot now draws the same picture.
    const QImage streamed = chart.grab().toImage();
    chart.RepaintNow();
    EXPECT_EQ(chart.grab().toImage(), streamed);

    const struct {
        const char* change;
        std::function<void()> apply;
    } changes[] = {
        {"a wider left axis", [&] { chart.LeftAxis().SetMaximum(250000); }},
        {"a new title", [&] { chart.SetTitle(QStringLiteral("Another title")); }},
        {"a hidden line", [&] { chart.Series(1).SetVisible(false); }},
        {"a new line colour", [&] { chart.Series(0).SetColor(Qt::green); }},
        {"a smaller chart", [&] { chart.resize(360, 280); }},
    };
    for (const auto& c : changes) {
        c.apply();
        addPoints(3, 900);
        show();
        EXPECT_TRUE(windowMatchesChart()) << c.change;
    }
    EXPECT_GT(paintsShown, 0);    // the title's changes reach the whole chart
    EXPECT_GT(boxPaintsShown, 0); // and the new labels reach the box
}
