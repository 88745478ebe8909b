// SPDX-License-Identifier: GPL-3.0-or-later
// The KUVAR-GY page against a simulated attitude module, as an operator uses it.
#include "tests/e2e/sim_process.h"
#include "tests/e2e/window_driver.h"

#include <gtest/gtest.h>

using namespace kuvar;

namespace {

class GyPage : public ::testing::Test {
protected:
    QTemporaryDir simDir;
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
    modules::TGyPage& gy = w.GyPage;

    void SetUp() override { fixture.ClickButton(w.TopPanel.btGY); }
    std::unique_ptr<TSimProcess> StartSim(const QString& kind, const QStringList& options = {}) {
        auto sim = std::make_unique<TSimProcess>(kind, simDir.filePath(kind), options);
        EXPECT_TRUE(sim->Started());
        return sim;
    }
    int Points() { return gy.Chart2->Chart().Series(0).Count(); }
    void Click(QWidget* button) { fixture.ClickButton(button); }
    static QStringList Interval(const char* ms) {
        return {QStringLiteral("--interval"), QString::fromLatin1(ms)};
    }
};

} // namespace

TEST_F(GyPage, IdFindFillsThePageAndTheUnitLabels) {
    auto sim = StartSim(QStringLiteral("gy"), {QStringLiteral("--id"), QStringLiteral("4"),
                                               QStringLiteral("--mode"), QStringLiteral("1")});
    ASSERT_TRUE(fixture.OpenPort(sim->Link()));
    Click(gy.btGYIDfind);
    EXPECT_EQ(gy.edGYID->text(), QStringLiteral("4"));
    EXPECT_EQ(gy.cbGYMode->currentText(), QStringLiteral("1"));
    EXPECT_TRUE(gy.rbGYDegSpeed->isChecked());
    EXPECT_EQ(gy.lbGYRoll->text(), QStringLiteral("Roll(mDegrees/Sec)"));
    EXPECT_TRUE(gy.edGYVersion->text().contains(QStringLiteral("KUVAR-GY")));
    EXPECT_FALSE(fixture.boxes.seen.contains(QStringLiteral("KUVAR-GY 제품이 아닙니다.")));
}

TEST_F(GyPage, AnAccelerometerIsNotAGyroModule) {
    auto sim = StartSim(QStringLiteral("ac"));
    ASSERT_TRUE(fixture.OpenPort(sim->Link()));
    Click(gy.btGYIDfind);
    EXPECT_TRUE(fixture.boxes.seen.contains(QStringLiteral("KUVAR-GY 제품이 아닙니다.")));
}

TEST_F(GyPage, StartMovesTheIndicatorAndTheChart) {
    auto sim = StartSim(QStringLiteral("gy"), Interval("20"));
    ASSERT_TRUE(fixture.OpenPort(sim->Link()));
    Click(gy.btGYSTART);
    ASSERT_TRUE(WaitFor([&] { return Points() >= 20; }, 4000));
    // The indicator follows the displays: pitch, roll and course from the angles shown.
    EXPECT_FLOAT_EQ(gy.abGYCircle->Roll(), static_cast<float>(gy.ssGYRoll->Value()));
    EXPECT_FLOAT_EQ(gy.abGYCircle->Pitch(), static_cast<float>(gy.ssGYPitch->Value()));
    EXPECT_NE(gy.ssGYYaw->Value(), 0.0) << "the simulated module turns";
    // Series 0 is pitch, series 1 roll.
    const int last = Points() - 1;
    EXPECT_DOUBLE_EQ(gy.Chart2->Chart().Series(1).YValue(last), gy.ssGYRoll->Value());
}

TEST_F(GyPage, ModeOneSwitchesTheStreamToRates) {
    auto sim = StartSim(QStringLiteral("gy"), Interval("20"));
    ASSERT_TRUE(fixture.OpenPort(sim->Link()));
    gy.cbGYMode->setEditText(QStringLiteral("1"));
    Click(gy.btGYMode);
    EXPECT_TRUE(w.LeftColumn.Memo1->toPlainText().contains(QStringLiteral("[1 MODE 1]")));
    EXPECT_TRUE(gy.rbGYDegSpeed->isChecked());
    EXPECT_FALSE(gy.rbGYDegrees->isChecked());
    Click(gy.btGYSTART);
    ASSERT_TRUE(WaitFor([&] { return Points() >= 5; }, 4000));
    EXPECT_TRUE(w.LeftColumn.Memo1->toPlainText().contains(QStringLiteral("[1 11 ")));
}

TEST_F(GyPage, YawResetZeroesTheModuleAndLevelsTheIndicator) {
    auto sim = StartSim(QStringLiteral("gy"), Interval("20"));
    ASSERT_TRUE(fixture.OpenPort(sim->Link()));
    Click(gy.btGYSTART);
    ASSERT_TRUE(WaitFor([&] { return gy.ssGYYaw->Value() > 3; }, 5000));
    // Without the reset the heading would go on from here, 3 degrees or more ahead.
    QElapsedTimer sinceReset;
    sinceReset.start();
    Click(gy.btGYAngleReset);
    EXPECT_TRUE(w.LeftColumn.Memo1->toPlainText().contains(QStringLiteral("[1 INIT]")));
    EXPECT_EQ(gy.abGYCircle->Roll(), 0.0f);
    EXPECT_EQ(gy.abGYCircle->Pitch(), 0.0f);
    EXPECT_EQ(gy.abGYCircle->Course(), 0.0f);
    // Streaming again, the heading counts from the reset (which came after the clock started):
    // the module turns 12 degrees a second.
    Click(gy.btGYSTART);
    const int from = Points();
    ASSERT_TRUE(WaitFor([&] { return Points() >= from + 2; }, 4000));
    const double turned = 12.0 * sinceReset.elapsed() / 1000.0;
    EXPECT_LT(gy.ssGYYaw->Value(), turned + 1.0);
}

TEST_F(GyPage, StopOnTheAcPageFreezesTheGyView) {
    auto sim = StartSim(QStringLiteral("gy"), Interval("20"));
    ASSERT_TRUE(fixture.OpenPort(sim->Link()));
    Click(gy.btGYSTART);
    ASSERT_TRUE(WaitFor([&] { return Points() >= 5; }, 4000));
    // The shared pause takes effect at once, whatever the AC stop sequence then sends.
    w.Link->State.PendingAction.clear();
    emit w.AcPage.btACStop->clicked();
    EXPECT_TRUE(w.Link->State.StreamPaused);
    const int frozen = Points();
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(Points(), frozen);
    // A Start on either page releases both.
    Click(gy.btGYSTART);
    EXPECT_TRUE(WaitFor([&] { return Points() > frozen; }, 4000));
}
