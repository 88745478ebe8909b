// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/gy_commands.h"

#include <gtest/gtest.h>

#include "module_replies.h"
#include "protocol/messages.h"

using namespace kuvar;

namespace kuvar::modules {
namespace {

using namespace testing;

class GyCommandsTest : public ::testing::Test {
protected:
    GyCommandsTest() {
        h.module = Echo;
        ConnectGyPage(h.Gy, h.state, h);
    }
    std::array<float, 3> Indicator() const {
        return {h.Gy.abGYCircle->Pitch(), h.Gy.abGYCircle->Roll(), h.Gy.abGYCircle->Course()};
    }
    PageHost h;
    RecordingGuard g;
};

TEST_F(GyCommandsTest, IdFindSetsIdModeRadioButtonsAndUnitLabels) {
    h.module = [](const std::string& frame) -> Strings {
        if (frame == "<0>")
            return {Reply("[2 18 ID]")};
        if (frame == "<2 VER>")
            return {Reply("[2 KUVAR-GY V3]")};
        return Echo(frame);
    };
    Press(h.Gy.btGYIDfind);
    EXPECT_EQ(h.frames, (Strings{"<0>", "<2 STOP>", "<2 VER>"})) << "no scale query";
    EXPECT_EQ(Qs(h.Gy.edGYID->text()), "2");
    EXPECT_EQ(Qs(h.Gy.cbGYMode->currentText()), "1");
    EXPECT_TRUE(h.Gy.rbGYDegSpeed->isChecked());
    EXPECT_FALSE(h.Gy.rbGYDegrees->isChecked());
    EXPECT_EQ(Qs(h.Gy.lbGYRoll->text()), "Roll(mDegrees/Sec)");
    EXPECT_EQ(Qs(h.Gy.lbGYYaw->text()), "Yaw(mDegrees/Sec)");
    EXPECT_EQ(Qs(h.Gy.edGYVersion->text()), "[2 KUVAR-GY V3]");
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(h.state.RxMode, protocol::RxModes::GyVersion);
}

TEST_F(GyCommandsTest, IdFindWithoutModuleQueriesTheVersionAndRefusesTheProduct) {
    h.module = Silent;
    Press(h.Gy.btGYIDfind);
    EXPECT_EQ(h.frames, (Repeat("<0>", 6) + Strings{"<1 STOP>", "<1 VER>"}));
    EXPECT_EQ(h.status0, TryConnect(1, 6) + Strings{"No answer"});
    EXPECT_EQ(h.messages, Strings{protocol::kNotKuvarGy});
}

struct GyCommandCase {
    const char* name;
    std::function<void(modules::TGyPage&)> setUp;
    std::function<QWidget*(modules::TGyPage&)> button;
    std::string question;
    Strings frames;
    int delayMs;
};

TEST_F(GyCommandsTest, EveryCommandStopsTheStreamAsksSendsAndSaves) {
    // Every stop first: the request's 20 ms and one 500 ms wait for the echoed STOP.
    constexpr int stop = 520;
    constexpr int save = 140;
    const GyCommandCase cases[] = {
        {"ID Change",
         [](modules::TGyPage& p) { p.edGYNewID->setText("4"); },
         [](modules::TGyPage& p) { return p.btGYNewID; },
         protocol::IdChangeQuestion("1", "4").Text(),
         {"<1 STOP>", "<1 ID 4>", "<4 SAVE>"},
         stop + save},
        {"Baudrate",
         [](modules::TGyPage& p) { p.cbGYBaudrate->setEditText("38400"); },
         [](modules::TGyPage& p) { return p.btGYBaudrate; },
         protocol::BaudrateQuestion("38400").Text(),
         {"<1 STOP>", "<1 SPEED 3>", "<1 SAVE>"},
         stop + 1000 + save},
        {"SCALE waits a second",
         [](modules::TGyPage& p) { p.cbGYScale->setEditText("8"); },
         [](modules::TGyPage& p) { return p.Button7; },
         protocol::ScaleQuestion("8").Text(),
         {"<1 STOP>", "<1 SCALE 8>", "<1 SAVE>"},
         stop + 1000 + save},
        {"Interval",
         [](modules::TGyPage& p) { p.edGYINT->setText("250"); },
         [](modules::TGyPage& p) { return p.btGYINT; },
         protocol::IntervalQuestion("250").Text(),
         {"<1 STOP>", "<1 INTERVAL 250>", "<1 SAVE>"},
         stop + save},
        {"Mode",
         [](modules::TGyPage& p) { p.cbGYMode->setEditText("1"); },
         [](modules::TGyPage& p) { return p.btGYMode; },
         protocol::ModeQuestion("1").Text(),
         {"<1 STOP>", "<1 MODE 1>", "<1 SAVE>"},
         stop + 500 + save},
        {"Reset",
         [](modules::TGyPage&) {},
         [](modules::TGyPage& p) { return p.btGYRESET; },
         protocol::kRestoreQuestion,
         {"<1 STOP>", "<1 RESTORE>"},
         stop},
        {"Yaw Reset",
         [](modules::TGyPage&) {},
         [](modules::TGyPage& p) { return p.btGYAngleReset; },
         protocol::kYawResetQuestion,
         {"<1 STOP>", "<1 INIT>"},
         stop + 500},
        {"Version?",
         [](modules::TGyPage&) {},
         [](modules::TGyPage& p) { return p.btGYVersion; },
         "",
         {"<1 STOP>", "<1 VER>"},
         stop},
    };
    for (const auto& c : cases) {
        PageHost host;
        host.module = Echo;
        RecordingGuard guard;
        ConnectGyPage(host.Gy, host.state, host);
        c.setUp(host.Gy);
        Press(c.button(host.Gy));
        EXPECT_TRUE(guard.errors.empty()) << c.name;
        EXPECT_EQ(host.frames, c.frames) << c.name;
        EXPECT_EQ(host.questions, c.question.empty() ? Strings{} : Strings{c.question}) << c.name;
        EXPECT_EQ(host.delayMs, c.delayMs) << c.name;
        EXPECT_TRUE(host.state.StreamPaused) << c.name;
    }
}

TEST_F(GyCommandsTest, IntervalIsSentOnceWhateverTheModuleAnswers) {
    h.module = Silent;
    Press(h.Gy.btGYINT);
    EXPECT_EQ(h.frames, (Strings{"<1 STOP>", "<1 INTERVAL 100>", "<1 SAVE>"}));
    EXPECT_TRUE(h.status0.empty());
}

TEST_F(GyCommandsTest, NoLeavesTheControlsAsTheOperatorLeftThem) {
    h.answer = [](const std::string&) { return false; };
    h.Gy.cbGYScale->setEditText(QStringLiteral("08"));
    h.Gy.edGYNewID->setText(QStringLiteral("x"));
    for (QWidget* button : std::initializer_list<QWidget*>{
             h.Gy.Button7, h.Gy.btGYNewID, h.Gy.btGYINT, h.Gy.btGYMode, h.Gy.btGYBaudrate}) {
        h.frames.clear();
        Press(button);
        EXPECT_EQ(h.frames, Strings{"<1 STOP>"}) << Qs(button->objectName());
    }
    EXPECT_EQ(Qs(h.Gy.cbGYScale->currentText()), "08");
    EXPECT_EQ(Qs(h.Gy.edGYNewID->text()), "x");
    EXPECT_EQ(Qs(h.Gy.edGYINT->text()), "100");
    EXPECT_TRUE(h.state.StreamPaused);
}

TEST_F(GyCommandsTest, ModeSetsTheRadioButtonsFromTheBoxEvenAfterNoAnswer) {
    const struct {
        const char* mode;
        bool degrees, rates;
    } cases[] = {{"1", false, true}, {"0", true, false}, {"2", true, false}};
    h.module = Silent;
    h.Gy.rbGYDegrees->setChecked(true);
    for (const auto& c : cases) {
        h.frames.clear();
        h.Gy.cbGYMode->setEditText(QString::fromLatin1(c.mode));
        Press(h.Gy.btGYMode);
        EXPECT_EQ(h.frames, Strings{"<1 STOP>"} +
                                Repeat(std::string("<1 MODE ") + c.mode + ">", 6) +
                                Strings{"<1 SAVE>"})
            << c.mode;
        EXPECT_EQ(h.Gy.rbGYDegrees->isChecked(), c.degrees) << c.mode;
        EXPECT_EQ(h.Gy.rbGYDegSpeed->isChecked(), c.rates) << c.mode;
    }
    EXPECT_EQ(Qs(h.Gy.lbGYRoll->text()), "Roll") << "the labels follow the ID reply only";
}

TEST_F(GyCommandsTest, ModeEndsOnTheFirstFrameWithABracket) {
    h.module = [](const std::string& frame) -> Strings {
        return frame.find("MODE") != std::string::npos ? Strings{Reply("MODE 0 OK")} : Echo(frame);
    };
    Press(h.Gy.btGYMode);
    EXPECT_EQ(h.frames, Strings{"<1 STOP>"} + Repeat("<1 MODE 0>", 6) + Strings{"<1 SAVE>"});
}

TEST_F(GyCommandsTest, YawResetLevelsTheIndicatorEvenWithoutAnswer) {
    h.module = Silent;
    h.Gy.abGYCircle->SetPitch(10);
    h.Gy.abGYCircle->SetRoll(20);
    h.Gy.abGYCircle->SetCourse(30);
    h.Gy.ssGYYaw->SetValue(30);
    Press(h.Gy.btGYAngleReset);
    EXPECT_EQ(h.frames, Strings{"<1 STOP>"} + Repeat("<1 INIT>", 6)) << "no SAVE follows";
    EXPECT_EQ(h.status0.back(), "No answer");
    EXPECT_EQ(Indicator(), (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(h.Gy.ssGYYaw->Value(), 30) << "the displays keep their values";
}

TEST_F(GyCommandsTest, YawResetAnsweredNoLeavesTheIndicator) {
    h.answer = [](const std::string&) { return false; };
    h.Gy.abGYCircle->SetCourse(30);
    Press(h.Gy.btGYAngleReset);
    EXPECT_EQ(h.Gy.abGYCircle->Course(), 30);
}

TEST_F(GyCommandsTest, BaudrateWithoutACommandIsRefused) {
    for (const char* rate : {"9600", "38400x"}) {
        h.frames.clear();
        g.errors.clear();
        h.Gy.cbGYBaudrate->setEditText(QString::fromLatin1(rate));
        Press(h.Gy.btGYBaudrate);
        ASSERT_EQ(g.errors.size(), 1u) << rate;
        EXPECT_NE(g.errors[0].find(rate), std::string::npos) << g.errors[0];
        EXPECT_TRUE(h.frames.empty()) << rate;
        EXPECT_TRUE(h.questions.empty()) << rate;
    }
}

TEST_F(GyCommandsTest, SaveSettingKeepsTheGyroStreamShown) {
    h.module = [](const std::string& frame) -> Strings {
        if (frame == "<1 SAVE>")
            return {Reply("[1 01 +00100 +00200 +00300]"), Reply("[1 SAVE]")};
        return {};
    };
    Press(h.Gy.AbColBitBtn4);
    EXPECT_EQ(h.state.RxMode, protocol::RxModes::GyStream);
    EXPECT_DOUBLE_EQ(h.Gy.ssGYRoll->Value(), 10) << "a frame during the wait is shown";
    EXPECT_EQ(h.frames, (Strings{"<1 SAVE>", "<1 SAVE>"})) << "the SAVE reply came in try 2";
    h.Receive("[1 01 +00400 +00200 +00300]");
    EXPECT_DOUBLE_EQ(h.Gy.ssGYRoll->Value(), 40);
}

TEST_F(GyCommandsTest, StopOnEitherPageFreezesBothViewsAndStartReleasesThem) {
    h.state.RxMode = protocol::RxModes::GyStream;
    PageHost& w = h;
    btACStopClick(w.state, w);
    w.timerArmed = false; // the stop sequence is not what this test looks at
    w.Receive("[1 01 +00100 +00200 +00300]");
    EXPECT_EQ(w.Gy.ssGYRoll->Value(), 0);
    Press(h.Gy.btGYSTART);
    EXPECT_FALSE(w.state.StreamPaused);
    EXPECT_EQ(w.state.PendingAction, "GY_START");
    EXPECT_EQ(w.delayMs, 10) << "the gyro's Start waits 10 ms before arming the timer";
    w.timerArmed = false;
    w.Receive("[1 01 +00100 +00200 +00300]");
    EXPECT_DOUBLE_EQ(w.Gy.ssGYRoll->Value(), 10);
}

} // namespace
} // namespace kuvar::modules
