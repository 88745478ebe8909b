// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/transactions.h"

#include <gtest/gtest.h>

#include "fake_window.h"
#include "protocol/deferred_actions.h"
#include "protocol/frame.h"

namespace kuvar::protocol {
namespace {

using testing::FakeWindow;
using testing::Reply;
using Strings = std::vector<std::string>;

Strings TryConnect(int from, int to) {
    Strings texts;
    for (int i = from; i <= to; ++i)
        texts.push_back("Try Connect " + std::to_string(i) + "[sec]");
    return texts;
}

Strings Repeat(const std::string& s, int n) {
    return Strings(n, s);
}

Strings operator+(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class TransactionTest : public ::testing::Test {
protected:
    RetriedSend Scale() {
        RetriedSend scale;
        scale.command = [this] { return "<" + w.Text(Control::eID) + " SCALE 4>"; };
        scale.maxSends = 6;
        scale.waitMs = 500;
        scale.endTest = LastFrameHas(" ");
        return scale;
    }
    // Answers the frames that contain word with text, ignores the others.
    void AnswerTo(const std::string& word, const std::string& text) {
        w.module = [word, text](const std::string& frame) {
            return frame.find(word) != std::string::npos ? Strings{Reply(text)} : Strings{};
        };
    }

    FakeWindow w;
};

TEST_F(TransactionTest, SilentModuleGetsSixFramesThenNoAnswerThenOneSave) {
    EXPECT_EQ(RunRetriedSend(w.state, w, Scale()), SendOutcome::NoAnswer);
    EXPECT_EQ(w.frames, Repeat(BuildFrame("<1 SCALE 4>"), 6));
    EXPECT_EQ(w.status0, TryConnect(1, 6) + Strings{"No answer"});
    EXPECT_EQ(w.delayMs, 6 * 500);

    w.events.clear();
    EXPECT_EQ(SendSave(w.state, w, "1"), SendOutcome::Silent);
    EXPECT_EQ(w.frames.size(), 7u);
    EXPECT_EQ(w.frames.back(), BuildFrame("<1 SAVE>"));
    EXPECT_EQ(w.status0.size(), 7u); // nothing more after a silent SAVE
    EXPECT_EQ(w.events, Strings{"write " + BuildFrame("<1 SAVE>")} + Repeat("delay 10", 14));
}

TEST_F(TransactionTest, AnswerEndsTheLoopAndTheTextIsReadAgainForEveryTry) {
    int sent = 0;
    w.module = [&](const std::string&) {
        ++sent;
        w.texts[Control::eID] = "7";
        return sent == 3 ? Strings{Reply("[7 SCALE 4]")} : Strings{};
    };
    EXPECT_EQ(RunRetriedSend(w.state, w, Scale()), SendOutcome::Answered);
    EXPECT_EQ(w.frames, (Strings{BuildFrame("<1 SCALE 4>"), BuildFrame("<7 SCALE 4>"),
                                 BuildFrame("<7 SCALE 4>")}));
    EXPECT_EQ(w.status0, TryConnect(1, 3));
    EXPECT_EQ(w.state.RetryCount, 3);
}

TEST_F(TransactionTest, ReplyFromBeforeTheFirstSendDoesNotCount) {
    w.state.LastFrame = "[1 SCALE 4]";
    EXPECT_EQ(RunRetriedSend(w.state, w, Scale()), SendOutcome::NoAnswer);
    EXPECT_EQ(w.frames.size(), 6u);
}

// The stop sequence of a configuration command usually runs inside its own short wait; a late
// STOP reply that arrives while the question box is open must not pass for the command's answer.
TEST_F(TransactionTest, LateStopReplyDuringTheQuestionIsNoAnswer) {
    AnswerTo("STOP", "[1 STOP]");
    StopStreamFirst(w.state, w, Page::Ac);
    EXPECT_EQ(w.frames, Strings{BuildFrame("<1 STOP>")});
    EXPECT_TRUE(w.state.StreamPaused);
    EXPECT_EQ(w.state.LastFrame, "");
    EXPECT_FALSE(w.timerArmed);

    w.answer = [&](const std::string&) {
        w.framer.Feed(Reply("[1 STOP]"));
        return true;
    };
    ASSERT_TRUE(w.Ask("?"));
    EXPECT_EQ(RunRetriedSend(w.state, w, Scale()), SendOutcome::NoAnswer);
}

TEST_F(TransactionTest, NestedTransactionLeavingRetryCountHighEndsTheOuterOne) {
    w.duringFirstDelay = [&] {
        RetriedSend inner = Scale();
        inner.maxSends = 21;
        RunRetriedSend(w.state, w, inner);
    };
    EXPECT_EQ(RunRetriedSend(w.state, w, Scale()), SendOutcome::NoAnswer);
    EXPECT_EQ(w.frames.size(), 22u); // one outer frame, 21 inner ones
    EXPECT_EQ(w.status0,
              (TryConnect(1, 21) + Strings{"No answer", "Try Connect 22[sec]", "No answer"}));
}

TEST_F(TransactionTest, SendSaveEndsOnTheModulesSaveReply) {
    AnswerTo("SAVE", "[1 SAVE]");
    EXPECT_EQ(SendSave(w.state, w, "3"), SendOutcome::Answered);
    EXPECT_EQ(w.frames, Strings{BuildFrame("<3 SAVE>")});
    EXPECT_EQ(w.status0, TryConnect(1, 1));
}

TEST_F(TransactionTest, SendSaveWithoutVeInTheRepliesSendsSix) {
    AnswerTo("SAVE", "[1 OK]");
    EXPECT_EQ(SendSave(w.state, w, "1"), SendOutcome::NoAnswer);
    EXPECT_EQ(w.frames.size(), 6u);
    EXPECT_EQ(w.status0, TryConnect(1, 6) + Strings{"No answer"});
    EXPECT_EQ(w.delayMs, 6 * 14 * 10);
}

// "V" at the end of one reply and "E" at the start of the next are not a "VE".
TEST_F(TransactionTest, SendSaveDoesNotJoinTwoRepliesIntoVe) {
    w.module = [](const std::string&) { return Strings{Reply("[1 OK V"), Reply("E 2]")}; };
    EXPECT_EQ(SendSave(w.state, w, "1"), SendOutcome::NoAnswer);
    EXPECT_EQ(w.frames.size(), 6u);
}

// LastFrame is looked at after 13 of the 14 waits: not after the tenth.
TEST_F(TransactionTest, SendSaveLooksAfterEveryWaitButTheTenth) {
    const auto answerAfterWait = [&](int wait) {
        FakeWindow f;
        f.module = [wait](const std::string&) {
            Strings chunks(wait - 1, "");
            chunks.push_back(Reply("[1 SAVE]"));
            chunks.push_back(Reply("[1 X]"));
            return chunks;
        };
        return SendSave(f.state, f, "1");
    };
    for (int wait = 1; wait <= 13; ++wait)
        EXPECT_EQ(answerAfterWait(wait), wait == 10 ? SendOutcome::NoAnswer : SendOutcome::Answered)
            << "reply seen only after wait " << wait;
}

TEST_F(TransactionTest, ClosedPortSendsNothing) {
    w.portOpen = false;
    EXPECT_EQ(SendSave(w.state, w, "1"), SendOutcome::PortClosed);
    EXPECT_EQ(RunAcStart(w.state, w), SendOutcome::PortClosed);
    EXPECT_EQ(w.state.RxMode, RxModes::AcStream);
    EXPECT_EQ(RunGyStop(w.state, w), SendOutcome::PortClosed);
    EXPECT_TRUE(w.frames.empty());
    EXPECT_EQ(w.messages, Repeat("Open Com port.", 3));
    EXPECT_TRUE(w.status0.empty());
}

TEST_F(TransactionTest, StopOfASilentModuleEndsAfterOneFrameWithoutStatus) {
    w.state.RxMode = RxModes::AcStream;
    EXPECT_EQ(RunAcStop(w.state, w), SendOutcome::Silent);
    EXPECT_EQ(w.frames, Strings{BuildFrame("<1 STOP>")});
    EXPECT_TRUE(w.status0.empty());
    EXPECT_EQ(w.state.RxMode, RxModes::LogOnly);
}

TEST_F(TransactionTest, StopOfAModuleThatKeepsStreamingSendsTwentyOne) {
    w.texts[Control::edGYID] = "2";
    w.module = [](const std::string&) { return Strings{Reply("[2 01 +1 -2 +3]")}; };
    EXPECT_EQ(RunGyStop(w.state, w), SendOutcome::NoAnswer);
    EXPECT_EQ(w.frames, Repeat(BuildFrame("<2 STOP>"), 21));
    EXPECT_EQ(w.status0, TryConnect(1, 21) + Strings{"No answer"});
}

TEST_F(TransactionTest, StartEndsAtTheFirstMeasurementFrame) {
    w.module = [](const std::string&) { return Strings{Reply("[1 02 +00012 -00034 +01000]")}; };
    EXPECT_EQ(RunAcStart(w.state, w), SendOutcome::Answered);
    EXPECT_EQ(w.frames, Strings{BuildFrame("<1 START>")});
    EXPECT_EQ(w.acFrames, Strings{"[1 02 +00012 -00034 +01000]"});
    EXPECT_EQ(w.events.front(), "delay 200");

    FakeWindow gy;
    gy.module = [](const std::string&) { return Strings{Reply("[1 01 +00123 -00045 +01800]")}; };
    EXPECT_EQ(RunGyStart(gy.state, gy), SendOutcome::Answered);
    EXPECT_EQ(gy.state.RxMode, RxModes::GyStream);
    EXPECT_EQ(gy.gyFrames, Strings{"01 +00123 -00045 +01800]"});
}

TEST_F(TransactionTest, SaveSettingEndsOnSaveAckedNotOnAnyBlank) {
    int sent = 0;
    w.module = [&](const std::string&) {
        return ++sent < 3 ? Strings{Reply("[1 02 +1 -2 +3]")} : Strings{Reply("[1 SAVE]")};
    };
    w.state.RxMode = RxModes::AcStream;
    w.state.SaveAcked = false;
    RetriedSend save;
    save.command = [] { return "<1 SAVE>"; };
    save.endTest = SaveAckedTest();
    EXPECT_EQ(RunRetriedSend(w.state, w, save), SendOutcome::Answered);
    EXPECT_EQ(w.frames.size(), 3u);
}

TEST_F(TransactionTest, EveryFrameSentNotesTheIdItGoesTo) {
    const struct {
        const char* command;
        const char* id;
    } cases[] = {
        {"<7 SCALE 4>", "7"}, {"<0>", "0"}, {"<12 VER>", "12"}, {"<>", ""},
        {"1 VER", ""},        {"", ""},     {"<1", "1"},
    };
    for (const auto& c : cases) {
        SendOnce(w.state, w, c.command);
        EXPECT_EQ(w.state.AddressedId, c.id) << c.command;
    }
    w.texts[Control::eID] = "5";
    RunRetriedSend(w.state, w, Scale());
    EXPECT_EQ(w.state.AddressedId, "5");
}

TEST_F(TransactionTest, MoreThanOneIdAnsweredIsNamedInPanelZero) {
    ReportIdsAnswered(w.state, w);
    w.state.IdsAnswered = {"3"};
    ReportIdsAnswered(w.state, w);
    EXPECT_TRUE(w.status0.empty());
    w.state.IdsAnswered = {"3", "9", "12"};
    ReportIdsAnswered(w.state, w);
    EXPECT_EQ(w.status0, Strings{"More than one module answered: IDs 3, 9, 12"});
}

// What a Start or Stop button does: the sequence named, then Timer1 armed.
void Request(FakeWindow& w, Sequence sequence) {
    NameSequence(w.state, sequence);
    w.StartTimer1();
}

TEST_F(TransactionTest, OnlyTheLastRequestBeforeTheTimerRuns) {
    AnswerTo("START", "[1 START]");
    Request(w, Sequence::AcStop);
    EXPECT_TRUE(w.state.StreamPaused);
    Request(w, Sequence::AcStart);
    EXPECT_FALSE(w.state.StreamPaused);
    EXPECT_TRUE(w.frames.empty()); // the buttons only arm the timer

    w.Delay(0);
    EXPECT_EQ(w.frames, Strings{BuildFrame("<1 START>")});
    EXPECT_EQ(w.state.PendingAction, "AC_START");
    EXPECT_EQ(w.state.RxMode, RxModes::AcStream);
    EXPECT_FALSE(w.timerArmed);
}

TEST_F(TransactionTest, TimerRunsThePendingSequenceOfEitherPage) {
    struct Case {
        Sequence sequence;
        std::string action;
        std::string frame;
        bool paused;
    };
    const Case cases[] = {
        {Sequence::AcStart, "AC_START", "<1 START>", false},
        {Sequence::AcStop, "AC_STOP", "<1 STOP>", true},
        {Sequence::GyStart, "GY_START", "<2 START>", false},
        {Sequence::GyStop, "GY_STOP", "<2 STOP>", true},
    };
    for (const auto& c : cases) {
        FakeWindow f;
        f.texts[Control::edGYID] = "2";
        Request(f, c.sequence);
        EXPECT_EQ(f.state.PendingAction, c.action);
        EXPECT_EQ(f.state.StreamPaused, c.paused);
        ASSERT_TRUE(f.timerArmed) << c.action;
        f.Delay(0);
        ASSERT_FALSE(f.frames.empty()) << c.action;
        EXPECT_EQ(f.frames.front(), BuildFrame(c.frame));
    }

    FakeWindow idle;
    idle.state.PendingAction = "AC_PAUSE";
    Timer1Timer(idle.state, idle);
    EXPECT_TRUE(idle.frames.empty());
    EXPECT_EQ(idle.events, Strings{"timer stop"});
}

} // namespace
} // namespace kuvar::protocol
