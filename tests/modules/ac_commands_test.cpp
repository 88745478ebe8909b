// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ac_commands.h"

#include <QTest>
#include <gtest/gtest.h>

#include "module_replies.h"
#include "protocol/messages.h"

using namespace kuvar;

namespace kuvar::modules {
namespace {

using namespace testing;

class AcCommandsTest : public ::testing::Test {
protected:
    AcCommandsTest() {
        h.module = Echo;
        ConnectAcPage(h.Ac, h.state, h, prev);
    }
    PageHost h;
    TAcPrevious prev;
    RecordingGuard g;
};

TEST_F(AcCommandsTest, IdFindTakesIdModeAndScaleThenChecksTheProduct) {
    h.module = [](const std::string& frame) -> Strings {
        if (frame == "<0 ID>")
            return {Reply("[3 02 ID]")};
        if (frame == "<3 SCALE>")
            return {Reply("[3 SCALE 4]")};
        if (frame == "<3 VER>")
            return {Reply("[3 KUVAR-AC V1.2]")};
        return Echo(frame);
    };
    h.Ac.btACIDFind->click();
    EXPECT_EQ(h.questions, Strings{protocol::kIdFindQuestion});
    EXPECT_EQ(h.frames, (Strings{"<0 ID>", "<3 SCALE>", "<3 STOP>", "<3 VER>"}));
    EXPECT_EQ(Qs(h.Ac.eID->text()), "3");
    EXPECT_EQ(Qs(h.Ac.cbACMode->currentText()), "0");
    EXPECT_EQ(Qs(h.Ac.cbACScale->currentText()), "4") << "the scale reply comes after the ID's";
    EXPECT_EQ(Qs(h.Ac.edACVersion->text()), "[3 KUVAR-AC V1.2]");
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(h.state.RxMode, protocol::RxModes::AcVersion);
}

TEST_F(AcCommandsTest, IdFindWithoutModuleTriesBothQueriesAndRefusesTheProduct) {
    h.module = Silent;
    h.Ac.eID->setText(QStringLiteral("7"));
    h.Ac.edACVersion->setText(QStringLiteral("old KUVAR-AC"));
    h.Ac.btACIDFind->click();
    EXPECT_EQ(h.frames,
              (Repeat("<0 ID>", 6) + Repeat("<7 SCALE>", 6) + Strings{"<7 STOP>", "<7 VER>"}));
    EXPECT_EQ(h.status0,
              TryConnect(1, 6) + Strings{"No answer"} + TryConnect(1, 6) + Strings{"No answer"});
    EXPECT_EQ(h.messages, Strings{protocol::kNotKuvarAc}) << "the old version text was emptied";
}

TEST_F(AcCommandsTest, IdFindOfAGyroModuleNamesTheWrongProduct) {
    h.module = [](const std::string& frame) -> Strings {
        return frame == "<1 VER>" ? Strings{Reply("[1 KUVAR-GY V1]")} : Echo(frame);
    };
    h.Ac.btACIDFind->click();
    EXPECT_EQ(h.messages, Strings{protocol::kNotKuvarAc});
}

TEST_F(AcCommandsTest, IdFindAnsweredNoSendsNothing) {
    h.answer = [](const std::string&) { return false; };
    h.Ac.btACIDFind->click();
    EXPECT_TRUE(h.frames.empty());
}

struct AcCommandCase {
    const char* name;
    std::function<void(modules::TAcPage&)> setUp;
    std::function<QWidget*(modules::TAcPage&)> button;
    std::string question;
    Strings frames;
    std::int32_t rxMode;
};

TEST_F(AcCommandsTest, EveryCommandStopsTheStreamAsksSendsAndSaves) {
    const AcCommandCase cases[] = {
        {"ID Change",
         [](modules::TAcPage& p) { p.edACNewID->setText("5"); },
         [](modules::TAcPage& p) { return p.btIDchange; },
         protocol::IdChangeQuestion("1", "5").Text(),
         {"<1 STOP>", "<1 ID 5>", "<5 SAVE>"},
         0},
        {"Baudrate",
         [](modules::TAcPage& p) { p.cbACBaudrate->setEditText("57600"); },
         [](modules::TAcPage& p) { return p.btACBaudrate; },
         protocol::BaudrateQuestion("57600").Text(),
         {"<1 STOP>", "<1 SPEED 2>", "<1 SAVE>"},
         0},
        {"SCALE",
         [](modules::TAcPage& p) { p.cbACScale->setEditText("8"); },
         [](modules::TAcPage& p) { return p.btACScale; },
         protocol::ScaleQuestion("8").Text(),
         {"<1 STOP>", "<1 SCALE 8>", "<1 SAVE>"},
         0},
        {"Interval",
         [](modules::TAcPage& p) { p.edACINT->setText("50"); },
         [](modules::TAcPage& p) { return p.btACINT; },
         protocol::IntervalQuestion("50").Text(),
         {"<1 STOP>", "<1 INTERVAL 50>", "<1 SAVE>"},
         0},
        {"Mode as typed",
         [](modules::TAcPage& p) { p.cbACMode->setEditText("7"); },
         [](modules::TAcPage& p) { return p.btACMode; },
         protocol::ModeQuestion("7").Text(),
         {"<1 STOP>", "<1 MODE 7>", "<1 SAVE>"},
         0},
        {"Restore",
         [](modules::TAcPage&) {},
         [](modules::TAcPage& p) { return p.btACRESTORE; },
         protocol::kRestoreQuestion,
         {"<1 STOP>", "<1 RESTORE>"},
         0},
        {"Version?",
         [](modules::TAcPage&) {},
         [](modules::TAcPage& p) { return p.btACVersion; },
         "",
         {"<1 STOP>", "<1 VER>"},
         protocol::RxModes::AcVersion},
    };
    for (const auto& c : cases) {
        PageHost host;
        host.module = Echo;
        TAcPrevious remembered;
        RecordingGuard guard;
        ConnectAcPage(host.Ac, host.state, host, remembered);
        c.setUp(host.Ac);
        Press(c.button(host.Ac));
        EXPECT_TRUE(guard.errors.empty()) << c.name;
        EXPECT_EQ(host.frames, c.frames) << c.name;
        EXPECT_EQ(host.questions, c.question.empty() ? Strings{} : Strings{c.question}) << c.name;
        EXPECT_EQ(host.state.RxMode, c.rxMode) << c.name;
        EXPECT_TRUE(host.state.StreamPaused) << c.name;
        EXPECT_TRUE(host.messages.empty()) << c.name;
    }
}

TEST_F(AcCommandsTest, IdChangeTakesTheNewIdAtOnceWhateverTheModuleSays) {
    h.module = Silent;
    h.Ac.edACNewID->setText(QStringLiteral("9"));
    h.Ac.btIDchange->click();
    EXPECT_EQ(Qs(h.Ac.eID->text()), "9");
    EXPECT_EQ(h.frames, (Strings{"<1 STOP>", "<1 ID 9>", "<9 SAVE>"}));
}

TEST_F(AcCommandsTest, IntervalEndsOnlyOnAnIntReplyAndSavesAfterNoAnswer) {
    h.module = [](const std::string& frame) -> Strings {
        return frame.find("INTERVAL") != std::string::npos ? Strings{Reply("[1 OK 50]")}
                                                           : Echo(frame);
    };
    h.Ac.btACINT->click();
    EXPECT_EQ(h.frames, Strings{"<1 STOP>"} + Repeat("<1 INTERVAL 100>", 6) + Strings{"<1 SAVE>"});
    EXPECT_EQ(h.status0,
              TryConnect(1, 1) + TryConnect(1, 6) + Strings{"No answer"} + TryConnect(1, 1));
}

TEST_F(AcCommandsTest, BaudrateWaitsASecondPerTry) {
    h.module = Silent;
    h.Ac.btACBaudrate->click();
    // Stop request 20, stop sequence 500, six tries of 1000, SAVE's 140 ms once (silent).
    EXPECT_EQ(h.delayMs, 20 + 500 + 6 * 1000 + 140);
    EXPECT_EQ(h.frames, Strings{"<1 STOP>"} + Repeat("<1 SPEED 1>", 6) + Strings{"<1 SAVE>"});
}

TEST_F(AcCommandsTest, BaudrateWithoutACommandIsRefusedBeforeAnythingHappens) {
    for (const char* rate : {"9600", "", "115200 ", "abc"}) {
        PageHost host;
        TAcPrevious remembered;
        RecordingGuard guard;
        ConnectAcPage(host.Ac, host.state, host, remembered);
        host.Ac.cbACBaudrate->setEditText(QString::fromLatin1(rate));
        host.Ac.btACBaudrate->click();
        ASSERT_EQ(guard.errors.size(), 1u) << rate;
        EXPECT_NE(guard.errors[0].find(std::string("\"") + rate + "\""), std::string::npos)
            << guard.errors[0];
        EXPECT_TRUE(host.frames.empty()) << rate;
        EXPECT_TRUE(host.questions.empty()) << rate;
        EXPECT_FALSE(host.state.StreamPaused) << rate;
    }
}

TEST_F(AcCommandsTest, ClosedPortIsReportedByTheStopSequenceAndAgainAfterYes) {
    h.portOpen = false;
    h.Ac.btACScale->click();
    EXPECT_TRUE(h.frames.empty());
    EXPECT_EQ(h.messages, (Strings{protocol::kOpenComPort, protocol::kOpenComPort}));
}

// A remembered value: how the operator leaves it (drop-down or mouse-down through the connected
// hooks), the text present then, and what No puts back.
struct RememberCase {
    const char* name;
    std::function<void(modules::TAcPage&, const QString&)> setText;
    std::function<void(modules::TAcPage&)> remember; // null: never remembered since start
    std::function<QWidget*(modules::TAcPage&)> button;
    std::function<QString(modules::TAcPage&)> shown;
    const char* textWhenRemembered;
    const char* restored;
};

void DropDown(QComboBox* combo) {
    combo->showPopup();
    combo->hidePopup();
}

TEST_F(AcCommandsTest, NoPutsTheRememberedValueBackAndLeavesTheStreamStopped) {
    auto scale = [](modules::TAcPage& p, const QString& t) { p.cbACScale->setEditText(t); };
    auto baud = [](modules::TAcPage& p, const QString& t) { p.cbACBaudrate->setEditText(t); };
    auto mode = [](modules::TAcPage& p, const QString& t) { p.cbACMode->setEditText(t); };
    auto newId = [](modules::TAcPage& p, const QString& t) { p.edACNewID->setText(t); };
    auto interval = [](modules::TAcPage& p, const QString& t) { p.edACINT->setText(t); };
    auto scaleText = [](modules::TAcPage& p) { return p.cbACScale->currentText(); };
    auto baudText = [](modules::TAcPage& p) { return p.cbACBaudrate->currentText(); };
    auto modeText = [](modules::TAcPage& p) { return p.cbACMode->currentText(); };
    auto newIdText = [](modules::TAcPage& p) { return p.edACNewID->text(); };
    auto intervalText = [](modules::TAcPage& p) { return p.edACINT->text(); };
    const RememberCase cases[] = {
        {"scale 08", scale, [](modules::TAcPage& p) { DropDown(p.cbACScale); },
         [](modules::TAcPage& p) { return p.btACScale; }, scaleText, "08", "8"},
        {"scale never", scale, nullptr, [](modules::TAcPage& p) { return p.btACScale; }, scaleText,
         "", "0"},
        {"baud", baud, [](modules::TAcPage& p) { DropDown(p.cbACBaudrate); },
         [](modules::TAcPage& p) { return p.btACBaudrate; }, baudText, "38400", "38400"},
        {"mode text", mode, [](modules::TAcPage& p) { DropDown(p.cbACMode); },
         [](modules::TAcPage& p) { return p.btACMode; }, modeText, "x", "0"},
        {"new id", newId,
         [](modules::TAcPage& p) { QTest::mouseClick(p.edACNewID, Qt::LeftButton); },
         [](modules::TAcPage& p) { return p.btIDchange; }, newIdText, "12", "12"},
        {"interval text", interval,
         [](modules::TAcPage& p) { QTest::mouseClick(p.edACINT, Qt::RightButton); },
         [](modules::TAcPage& p) { return p.btACINT; }, intervalText, "fast", "100"},
        {"interval never", interval, nullptr, [](modules::TAcPage& p) { return p.btACINT; },
         intervalText, "", "0"},
    };
    for (const auto& c : cases) {
        PageHost host;
        host.module = Echo;
        host.answer = [](const std::string&) { return false; };
        TAcPrevious remembered;
        RecordingGuard guard;
        ConnectAcPage(host.Ac, host.state, host, remembered);
        if (c.remember) {
            c.setText(host.Ac, QString::fromLatin1(c.textWhenRemembered));
            c.remember(host.Ac);
        }
        // The operator picks another value, then answers No.
        c.setText(host.Ac, QStringLiteral("57600"));
        Press(c.button(host.Ac));
        EXPECT_EQ(host.frames, Strings{"<1 STOP>"}) << c.name;
        EXPECT_TRUE(host.state.StreamPaused) << c.name;
        EXPECT_EQ(Qs(c.shown(host.Ac)), c.restored) << c.name;
    }
}

TEST_F(AcCommandsTest, SaveSettingWaitsThenEndsOnTheSaveReplyInStreamMode) {
    Press(h.Ac.AbColBitBtn3);
    EXPECT_EQ(h.frames, Strings{"<1 SAVE>"});
    EXPECT_EQ(h.state.RxMode, protocol::RxModes::AcStream);
    EXPECT_TRUE(h.state.SaveAcked);
    EXPECT_EQ(h.delayMs, 200 + 500);
}

TEST_F(AcCommandsTest, StartAndStopOnlyArmTheTimer) {
    h.state.StreamPaused = true;
    Press(h.Ac.btACStart);
    EXPECT_FALSE(h.state.StreamPaused);
    EXPECT_EQ(h.state.PendingAction, "AC_START");
    EXPECT_TRUE(h.timerArmed);
    Press(h.Ac.btACStop);
    EXPECT_TRUE(h.state.StreamPaused);
    EXPECT_EQ(h.state.PendingAction, "AC_STOP");
    EXPECT_TRUE(h.frames.empty());
}

} // namespace
} // namespace kuvar::modules
