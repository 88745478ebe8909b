// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/measurement_views.h"

#include <gtest/gtest.h>

#include <array>

#include "page_host.h"

using namespace kuvar;

namespace kuvar::modules {
namespace {

using testing::PageHost;
using testing::Qs;

std::array<double, 3> LastPoints(charts::TStripChart* chart) {
    auto& c = chart->Chart();
    const int last = c.Series(0).Count() - 1;
    return {c.Series(0).YValue(last), c.Series(1).YValue(last), c.Series(2).YValue(last)};
}

int Points(charts::TStripChart* chart) {
    return chart->Chart().Series(0).Count();
}

class AcViewTest : public ::testing::Test {
protected:
    AcViewTest() {
        h.state.RxMode = protocol::RxModes::AcStream;
        h.views.Connect();
    }
    std::array<double, 3> Shown() const {
        return {h.Ac.ssACX->Value(), h.Ac.ssACY->Value(), h.Ac.ssACZ->Value()};
    }
    PageHost h;
};

TEST_F(AcViewTest, FrameShowsReadingsAndFeedsTheChartTheSameValues) {
    h.Receive("[1 02 +00012 -00034 +01000]");
    EXPECT_EQ(Shown(), (std::array<double, 3>{12, -34, 1000}));
    ASSERT_EQ(Points(h.Ac.Chart1), 1);
    EXPECT_EQ(LastPoints(h.Ac.Chart1), Shown());

    h.Receive("@+00012 -00034 +01000 ");
    EXPECT_EQ(Shown(), (std::array<double, 3>{12, -34, 1000}));
    EXPECT_EQ(Points(h.Ac.Chart1), 2);
}

TEST_F(AcViewTest, AutoOffsetSubtractsTheCapturedReadingsUntilUnchecked) {
    h.Receive("[1 02 +00010 -00030 +01000]");
    h.Ac.CheckBox1->click();
    EXPECT_EQ(h.views.AcView.AcOffsetX, 10);
    EXPECT_EQ(h.views.AcView.AcOffsetY, -30);
    EXPECT_EQ(h.views.AcView.AcOffsetZ, 1000);
    EXPECT_EQ(Shown(), (std::array<double, 3>{10, -30, 1000})) << "capturing shows nothing new";

    h.Receive("[1 02 +00012 -00034 +01000]");
    EXPECT_EQ(Shown(), (std::array<double, 3>{2, -4, 0}));
    EXPECT_EQ(LastPoints(h.Ac.Chart1), Shown()) << "the chart takes the offset values";

    h.Ac.CheckBox1->click();
    EXPECT_EQ(Shown(), (std::array<double, 3>{2, -4, 0})) << "shown values stay until a frame";
    h.Receive("[1 02 +00012 -00034 +01000]");
    EXPECT_EQ(Shown(), (std::array<double, 3>{12, -34, 1000}));
}

TEST_F(AcViewTest, ShowingThePageZeroesTheOffsetsAndKeepsTheBoxChecked) {
    h.Receive("[1 02 +00010 -00030 +01000]");
    h.Ac.CheckBox1->click();
    h.views.AcView.ResetAcOffsets();
    EXPECT_TRUE(h.Ac.CheckBox1->isChecked());
    h.Receive("[1 02 +00012 -00034 +01000]");
    EXPECT_EQ(Shown(), (std::array<double, 3>{12, -34, 1000}));
}

TEST_F(AcViewTest, CheckingBeforeAnyFrameCapturesZero) {
    h.Ac.CheckBox1->click();
    h.Receive("[1 02 +00012 -00034 +01000]");
    EXPECT_EQ(Shown(), (std::array<double, 3>{12, -34, 1000}));
}

TEST_F(AcViewTest, IgnoredFramesChangeNothing) {
    h.Receive("[1 02 +00012 -00034 +01000]");
    const struct {
        const char* why;
        const char* frame;
        bool paused;
    } cases[] = {
        {"five characters", "[1 2]", false},
        {"@ not first", "[1 02 @00001 -00002 +00003]", false},
        {"paused", "[1 02 +00001 -00002 +00003]", true},
    };
    for (const auto& c : cases) {
        h.state.StreamPaused = c.paused;
        h.Receive(c.frame);
        EXPECT_EQ(Shown(), (std::array<double, 3>{12, -34, 1000})) << c.why;
        EXPECT_EQ(Points(h.Ac.Chart1), 1) << c.why;
    }
}

TEST_F(AcViewTest, ScaleReplyOfTheIdSearchZeroesTheDisplaysWithoutFeedingTheChart) {
    h.Receive("[1 02 +00012 -00034 +01000]");
    h.views.AcView.AcOffsetX = 5;
    h.state.RxMode = protocol::RxModes::AcIdQuery;
    h.Receive("[1 SCALE 4]");
    EXPECT_EQ(Qs(h.Ac.cbACScale->currentText()), "4");
    EXPECT_EQ(Shown(), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(Points(h.Ac.Chart1), 1);
}

class GyViewTest : public ::testing::Test {
protected:
    GyViewTest() {
        h.state.RxMode = protocol::RxModes::GyStream;
        h.Gy.cbGYScale->setEditText(QStringLiteral("8"));
    }
    std::array<double, 3> Shown() const {
        return {h.Gy.ssGYRoll->Value(), h.Gy.ssGYPitch->Value(), h.Gy.ssGYYaw->Value()};
    }
    std::array<float, 3> Indicator() const {
        return {h.Gy.abGYCircle->Pitch(), h.Gy.abGYCircle->Roll(), h.Gy.abGYCircle->Course()};
    }
    PageHost h;
};

TEST_F(GyViewTest, AngleFrameInTenthsOfADegree) {
    h.Receive("[1 01 +00123 -00045 +01800]");
    EXPECT_EQ(h.state.LastFrame, "01 +00123 -00045 +01800]");
    const auto shown = Shown();
    EXPECT_DOUBLE_EQ(shown[0], 12.3);
    EXPECT_DOUBLE_EQ(shown[1], -4.5);
    EXPECT_DOUBLE_EQ(shown[2], 180);
    EXPECT_EQ(Qs(h.Gy.cbGYScale->currentText()), "1");
    ASSERT_EQ(Points(h.Gy.Chart2), 1);
    EXPECT_EQ(LastPoints(h.Gy.Chart2), (std::array<double, 3>{shown[1], shown[0], shown[2]}))
        << "pitch, roll, yaw into series 0, 1, 2";
    EXPECT_EQ(Indicator(), (std::array<float, 3>{-4.5f, 12.3f, 180.0f}));
}

TEST_F(GyViewTest, RateFrameUnchangedAndLeavesScaleAndIndicator) {
    h.Gy.abGYCircle->SetPitch(7);
    h.Receive("[1 11 +00123 -00045 +01800]");
    EXPECT_EQ(h.state.LastFrame, "11 +00123 -00045 +01800]");
    EXPECT_EQ(Shown(), (std::array<double, 3>{123, -45, 1800}));
    EXPECT_EQ(LastPoints(h.Gy.Chart2), (std::array<double, 3>{-45, 123, 1800}));
    EXPECT_EQ(Qs(h.Gy.cbGYScale->currentText()), "8");
    EXPECT_EQ(Indicator(), (std::array<float, 3>{7, 0, 0}));
}

TEST_F(GyViewTest, FramesThatShowNothing) {
    const struct {
        const char* why;
        const char* frame;
        bool paused;
        const char* lastFrame;
    } cases[] = {
        {"exactly ten characters", "[1 01 +1 ]", false, "[1 01 +1 ]"},
        {"mode digit 2, still shortened", "[1 21 +00123 -00045 +01800]", false,
         "21 +00123 -00045 +01800]"},
        {"paused", "[1 01 +00123 -00045 +01800]", true, "[1 01 +00123 -00045 +01800]"},
    };
    for (const auto& c : cases) {
        h.state.StreamPaused = c.paused;
        h.Receive(c.frame);
        EXPECT_EQ(h.state.LastFrame, c.lastFrame) << c.why;
        EXPECT_EQ(Shown(), (std::array<double, 3>{0, 0, 0})) << c.why;
        EXPECT_EQ(Points(h.Gy.Chart2), 0) << c.why;
        EXPECT_EQ(Qs(h.Gy.cbGYScale->currentText()), "8") << c.why;
    }
}

TEST_F(GyViewTest, NoClosingBracketGivesYawZero) {
    h.Receive("[1 01 +00123 -00045 +01800");
    EXPECT_DOUBLE_EQ(h.Gy.ssGYRoll->Value(), 12.3);
    EXPECT_EQ(h.Gy.ssGYYaw->Value(), 0);
    EXPECT_EQ(Points(h.Gy.Chart2), 1);
}

TEST_F(GyViewTest, IndicatorIsSetBeforeTheWindowMoveCanRefuse) {
    // A negative point count makes the window move refuse the frame's new bottom edge.
    h.Gy.Chart2->SetViewQuantity(-5);
    EXPECT_THROW(h.Receive("[1 01 +00123 -00045 +01800]"), std::exception);
    EXPECT_EQ(Points(h.Gy.Chart2), 1);
    EXPECT_EQ(Indicator(), (std::array<float, 3>{-4.5f, 12.3f, 180.0f}));
}

} // namespace
} // namespace kuvar::modules
