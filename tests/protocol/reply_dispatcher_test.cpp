// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/reply_dispatcher.h"

#include <chrono>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "fake_window.h"

namespace kuvar::protocol {
namespace {

using testing::FakeControls;
using Texts = std::map<Control, std::string>;
using Checks = std::map<Control, bool>;

struct DispatchCase {
    const char* name;
    std::int32_t mode;
    std::string reply;
    Texts texts;           // exactly the control texts written
    Checks checks = {};    // exactly the radio buttons set
    std::string lastFrame; // LastFrame afterwards
    friend void PrintTo(const DispatchCase& c, std::ostream* os) { *os << c.name; }
};

class DispatchTest : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchTest, WritesExactlyTheNamedControls) {
    const auto& c = GetParam();
    LinkState state;
    state.RxMode = c.mode;
    FakeControls controls;
    ReplyDispatcher dispatcher(state, controls, &controls);
    dispatcher.HandleReply(c.reply);
    EXPECT_EQ(controls.written, c.texts);
    EXPECT_EQ(controls.checked, c.checks);
    EXPECT_EQ(state.LastFrame, c.lastFrame);
    EXPECT_EQ(controls.log, std::vector<std::string>{c.reply});
    EXPECT_TRUE(controls.acFrames.empty());
    EXPECT_TRUE(controls.gyFrames.empty());
}

const Checks kDegrees = {{Control::rbGYDegrees, true}, {Control::rbGYDegSpeed, false}};
const Checks kRates = {{Control::rbGYDegrees, false}, {Control::rbGYDegSpeed, true}};

INSTANTIATE_TEST_SUITE_P(
    QueryReplies, DispatchTest,
    ::testing::Values(
        DispatchCase{"Mode0LogsOnly", 0, "[1 SCALE 4]", {}, {}, "[1 SCALE 4]"},
        DispatchCase{"Mode1LogsOnly", 1, "[1 02 ID]", {}, {}, "[1 02 ID]"},
        DispatchCase{"Mode4LogsOnly", 4, "[2 1]", {}, {}, "[2 1]"},
        DispatchCase{"Mode9LogsOnly", 9, "[1 VER 1]", {}, {}, "[1 VER 1]"},
        DispatchCase{"Mode12LogsOnly", 12, "[1 INTERVAL 5]", {}, {}, "[1 INTERVAL 5]"},
        DispatchCase{"AcInterval",
                     5,
                     "[1 INTERVAL 100]",
                     {{Control::edACINT, "100"}},
                     {},
                     "[1 INTERVAL 100]"},
        DispatchCase{"AcIntervalWithoutBracket",
                     5,
                     "[1 INTERVAL 100",
                     {{Control::edACINT, ""}},
                     {},
                     "[1 INTERVAL 100"},
        DispatchCase{"AcIdentity",
                     5,
                     "[3 02 ID]",
                     {{Control::eID, "3"}, {Control::cbACMode, "0"}, {Control::cbACScale, "2"}},
                     {},
                     " 02 ID"},
        DispatchCase{"AcIdentityBeatsScale",
                     5,
                     "[7 14 ID SCALE]",
                     {{Control::eID, "7"}, {Control::cbACMode, "1"}, {Control::cbACScale, "4"}},
                     {},
                     " 14 ID SCALE"},
        DispatchCase{"AcScale", 5, "[1 SCALE 4]", {{Control::cbACScale, "4"}}, {}, "[1 SCALE 4]"},
        DispatchCase{
            "AcScaleWithoutDigit", 5, "[1 SCALE", {{Control::cbACScale, ""}}, {}, "[1 SCALE"},
        DispatchCase{"AcOtherReply", 5, "[1 OK]", {}, {}, "[1 OK]"},
        DispatchCase{"AcEmptyReply", 5, "", {}, {}, ""},
        DispatchCase{"AcVersion",
                     6,
                     "[1 KUVAR-AC V2.6]",
                     {{Control::edACVersion, "[1 KUVAR-AC V2.6]"}},
                     {},
                     "[1 KUVAR-AC V2.6]"},
        DispatchCase{"GyInterval",
                     7,
                     "[1 INTERVAL 250]",
                     {{Control::edGYINT, "250"}},
                     {},
                     "[1 INTERVAL 250]"},
        DispatchCase{"GyScale", 7, "[1 SCALE 2]", {{Control::cbGYScale, "2"}}, {}, "[1 SCALE 2]"},
        DispatchCase{"GyScaleSeveralDigits",
                     7,
                     "[1 SCALE 16]",
                     {{Control::cbGYScale, "16"}},
                     {},
                     "[1 SCALE 16]"},
        DispatchCase{"GyIdentityRates",
                     7,
                     "[2 1]",
                     {{Control::edGYID, "2"},
                      {Control::cbGYMode, "1"},
                      {Control::lbGYRoll, "Roll(mDegrees/Sec)"},
                      {Control::lbGYPitch, "Pitch(mDegrees/Sec)"},
                      {Control::lbGYYaw, "Yaw(mDegrees/Sec)"}},
                     kRates,
                     " 1"},
        DispatchCase{"GyIdentityDegrees",
                     7,
                     "[2 0]",
                     {{Control::edGYID, "2"},
                      {Control::cbGYMode, "0"},
                      {Control::lbGYRoll, "Roll(Degrees)"},
                      {Control::lbGYPitch, "Pitch(Degrees)"},
                      {Control::lbGYYaw, "Yaw(Degrees)"}},
                     kDegrees,
                     " 0"},
        DispatchCase{"GyIdentityOtherMode",
                     7,
                     "[4 5 x]",
                     {{Control::edGYID, "4"}, {Control::cbGYMode, "5"}},
                     {},
                     " 5 x"},
        // No answer: an identity reply names its module.
        DispatchCase{"GyEmptyReply", 7, "", {}, {}, ""},
        DispatchCase{"GyVersion",
                     8,
                     "[1 KUVAR-GY V1.0]",
                     {{Control::edGYVersion, "[1 KUVAR-GY V1.0]"}},
                     {},
                     "[1 KUVAR-GY V1.0]"}),
    [](const auto& info) { return std::string(info.param.name); });

// While a query waits, only a reply that begins with "[" and its module's number, then a blank,
// answers it; anything else (the window's own frame echoed back, noise, another module's reply)
// is logged and changes nothing else, so that the query goes on waiting.
TEST(ReplyDispatcher, AReplyThatDoesNotAnswerAQueryIsOnlyLogged) {
    const struct {
        const char* reply;
        const char* addressed; // the ID the query went to
    } cases[] = {
        {"<0 ID>", "0"}, // a looped-back line: the window's own frame
        {"<1 VER>", "1"},
        {"<1 SCALE>", "1"},
        {"[ 02 ID]", "0"}, // no number
        {"[x 02 ID]", "0"},
        {"[3]", "0"}, // no blank after it
        {"[3ID]", "0"},
        {" [3 02 ID]", "0"},
        {"x[1 INTERVAL 100]", "1"},
        {"[9 SCALE 4]", "7"}, // another module
        {"[9 VER KUVAR-AC]", "7"},
        {"[17 02 ID]", "7"},
    };
    for (const std::int32_t mode :
         {RxModes::AcIdQuery, RxModes::AcVersion, RxModes::GyIdQuery, RxModes::GyVersion}) {
        for (const auto& c : cases) {
            LinkState state;
            state.RxMode = mode;
            state.LastFrame = "before";
            state.AddressedId = c.addressed;
            FakeControls controls;
            ReplyDispatcher dispatcher(state, controls, &controls);
            dispatcher.HandleReply(c.reply);
            EXPECT_TRUE(controls.written.empty()) << mode << " " << c.reply;
            EXPECT_TRUE(controls.checked.empty()) << mode << " " << c.reply;
            EXPECT_EQ(state.LastFrame, "before") << mode << " " << c.reply;
            EXPECT_EQ(controls.log, std::vector<std::string>{c.reply});
            EXPECT_TRUE(state.IdsAnswered.empty());
        }
    }
    // Outside the queries every reply is taken as it comes.
    LinkState state;
    FakeControls controls;
    ReplyDispatcher dispatcher(state, controls, &controls);
    dispatcher.HandleReply("<1 STOP>");
    EXPECT_EQ(state.LastFrame, "<1 STOP>");
}

TEST(ReplyDispatcher, AQueryTakesTheAnswerOfTheModuleItAsked) {
    const struct {
        const char* reply;
        const char* addressed;
        bool answers;
    } cases[] = {
        {"[7 SCALE 4]", "7", true},   {"[07 SCALE 4]", "7", true},
        {"[7 SCALE 4]", "007", true}, {"[9 SCALE 4]", "0", true}, // every module answers ID 0
        {"[9 SCALE 4]", "", true},                                // no command sent yet
        {"[9 SCALE 4]", "a", true}, // not a number: no module to hold it to
        {"[9 SCALE 4]", "7", false},  {"[0 SCALE 4]", "7", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswersQuery(c.reply, c.addressed), c.answers) << c.reply << " " << c.addressed;
}

TEST(ReplyDispatcher, IdentityRepliesNoteEachIdOnce) {
    for (const std::int32_t mode : {RxModes::AcIdQuery, RxModes::GyIdQuery}) {
        LinkState state;
        state.RxMode = mode;
        state.AddressedId = "0";
        FakeControls controls;
        ReplyDispatcher dispatcher(state, controls, &controls);
        for (const char* reply : {"[3 02 ID]", "[9 12 ID]", "[3 02 ID]"})
            dispatcher.HandleReply(reply);
        EXPECT_EQ(state.IdsAnswered, (std::vector<std::string>{"3", "9"})) << mode;
        EXPECT_EQ(controls.written[mode == RxModes::AcIdQuery ? Control::eID : Control::edGYID],
                  "3")
            << "the last reply wins";
        for (int id = 10; id < 40; ++id)
            dispatcher.HandleReply("[" + std::to_string(id) + " 02 ID]");
        EXPECT_EQ(state.IdsAnswered.size(), ReplyDispatcher::kMaxIdsAnswered);
    }
}

TEST(ReplyDispatcher, EveryReplyIsLoggedAndSaveIsNotedInEveryMode) {
    for (const std::int32_t mode : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 99}) {
        LinkState state;
        state.RxMode = mode;
        FakeControls controls;
        ReplyDispatcher dispatcher(state, controls, &controls);
        dispatcher.HandleReply("");
        dispatcher.HandleReply("[1 02 +1 -2 SAVE]");
        EXPECT_EQ(controls.log, (std::vector<std::string>{"", "[1 02 +1 -2 SAVE]"})) << mode;
        EXPECT_TRUE(state.SaveAcked) << mode;
    }
    LinkState state;
    FakeControls controls;
    ReplyDispatcher dispatcher(state, controls);
    dispatcher.HandleReply("[1 SAV]");
    EXPECT_FALSE(state.SaveAcked);
}

TEST(ReplyDispatcher, AcScaleReplyClearsTheDisplays) {
    LinkState state;
    state.RxMode = RxModes::AcIdQuery;
    FakeControls controls;
    ReplyDispatcher dispatcher(state, controls, &controls);
    dispatcher.HandleReply("[1 SCALE 4]");
    EXPECT_EQ(controls.acCleared, 1);
    dispatcher.HandleReply("[3 02 ID SCALE]");
    EXPECT_EQ(controls.acCleared, 1);
}

TEST(ReplyDispatcher, AcStreamHandsOnFramesOfEitherShape) {
    struct Case {
        std::string frame;
        bool shown;
    };
    const Case cases[] = {
        {"[1 02 +00012 -00034 +01000]", true},
        {"@+00012 -00034 +01000 ", true},
        {"@1 2", true}, // short, but at-sign form
        {"@", true},
        {"12345", false}, // five characters without "@"
        {"123456", true},
        {"[1 0@ 1 2 3]", false}, // "@" not first
        {"", false},
    };
    for (const auto& c : cases) {
        LinkState state;
        state.RxMode = RxModes::AcStream;
        FakeControls controls;
        ReplyDispatcher dispatcher(state, controls, &controls);
        dispatcher.HandleReply(c.frame);
        EXPECT_EQ(controls.acFrames,
                  c.shown ? std::vector<std::string>{c.frame} : std::vector<std::string>{})
            << c.frame;
        EXPECT_EQ(state.LastFrame, c.frame);

        state.StreamPaused = true;
        controls.acFrames.clear();
        dispatcher.HandleReply(c.frame);
        EXPECT_TRUE(controls.acFrames.empty()) << c.frame;
        EXPECT_EQ(controls.log.size(), 2u);
    }
}

TEST(ReplyDispatcher, GyStreamShortensLastFrameBeforeTheView) {
    struct Case {
        std::string frame;
        bool paused;
        std::vector<std::string> shown;
        std::string lastFrame;
    };
    const Case cases[] = {
        {"[1 01 +00123 -00045 +01800]",
         false,
         {"01 +00123 -00045 +01800]"},
         "01 +00123 -00045 +01800]"},
        // The view decides about the mode digit; the frame is shortened all the same.
        {"[1 21 +00123 -00045 +01800]",
         false,
         {"21 +00123 -00045 +01800]"},
         "21 +00123 -00045 +01800]"},
        {"[1 01 +12]", false, {}, "[1 01 +12]"}, // exactly ten characters
        {"[1 01 +00123 -00045 +01800]", true, {}, "[1 01 +00123 -00045 +01800]"},
    };
    for (const auto& c : cases) {
        LinkState state;
        state.RxMode = RxModes::GyStream;
        state.StreamPaused = c.paused;
        FakeControls controls;
        ReplyDispatcher dispatcher(state, controls, &controls);
        dispatcher.HandleReply(c.frame);
        EXPECT_EQ(controls.gyFrames, c.shown) << c.frame;
        EXPECT_EQ(state.LastFrame, c.lastFrame) << c.frame;
        EXPECT_EQ(controls.log, std::vector<std::string>{c.frame});
    }
}

TEST(ReplyDispatcher, WithoutViewsStreamFramesAreOnlyLogged) {
    LinkState state;
    FakeControls controls;
    ReplyDispatcher dispatcher(state, controls);
    for (const std::int32_t mode : {RxModes::AcStream, RxModes::GyStream, RxModes::AcIdQuery}) {
        state.RxMode = mode;
        dispatcher.HandleReply("[1 01 +00123 -00045 +01800 SCALE]");
    }
    EXPECT_EQ(controls.log.size(), 3u);
    EXPECT_TRUE(controls.acFrames.empty() && controls.gyFrames.empty());
}

} // namespace
} // namespace kuvar::protocol

namespace kuvar::protocol {
namespace {

// Replies of any shape reach the dispatcher; none may make it throw or read out of range.
TEST(ReplyDispatcher, ArbitraryBytesInEveryModeNeverThrow) {
    const std::string alphabet = "[] @VALEIDSCOPT0123+-\r\n\x02\x17$";
    std::mt19937 random(20240611);
    for (const std::int32_t mode : {0, 3, 5, 6, 7, 8, 13}) {
        testing::FakeWindow w;
        w.state.RxMode = mode;
        for (int i = 0; i < 3000; ++i) {
            std::string chunk(random() % 24, ' ');
            for (char& c : chunk)
                c = alphabet[random() % alphabet.size()];
            ASSERT_NO_THROW(w.framer.Feed(chunk)) << mode;
        }
        EXPECT_FALSE(w.log.empty());
    }
}

} // namespace
} // namespace kuvar::protocol

namespace kuvar::protocol {
namespace {

// Every reply reaches the recording once, after it was handled, with its arrival, the module
// its RxMode names and what the displays show of it; also a frame whose view fails.
TEST(ReplyRecording, EveryReplyOnceWithItsPageTimeAndShownValues) {
    const struct {
        const char* name;
        std::int32_t mode;
        bool paused;
        bool viewThrows;
        std::string reply;
        ModulePage page;
        bool shown;
    } cases[] = {
        {"LogOnly", RxModes::LogOnly, false, false, "[1 VER 2.1]", ModulePage::None, false},
        {"AcQuery", RxModes::AcIdQuery, false, false, "[1 02 ID]", ModulePage::Ac, false},
        {"AcFrame", RxModes::AcStream, false, false, "[1 02 +1 -2 +3]", ModulePage::Ac, true},
        {"AcPaused", RxModes::AcStream, true, false, "[1 02 +1 -2 +3]", ModulePage::Ac, false},
        {"AcTooShort", RxModes::AcStream, false, false, "[1 2]", ModulePage::Ac, false},
        {"AcViewFails", RxModes::AcStream, false, true, "[1 02 +1 -2 +3]", ModulePage::Ac, true},
        {"GyVersion", RxModes::GyVersion, false, false, "[1 VER]", ModulePage::Gy, false},
        {"GyFrame", RxModes::GyStream, false, false, "[1 01 +11 -22 +33]", ModulePage::Gy, true},
        {"GyViewFails", RxModes::GyStream, false, true, "[1 01 +11 -22 +33]", ModulePage::Gy, true},
    };
    for (const auto& c : cases) {
        LinkState state;
        state.RxMode = c.mode;
        state.StreamPaused = c.paused;
        testing::FakeControls controls;
        controls.viewThrows = c.viewThrows;
        ReplyDispatcher dispatcher(state, controls, &controls);
        ArrivalTime at;
        at.unixMs = 1796976902123;
        if (c.viewThrows) {
            EXPECT_THROW(dispatcher.HandleReply(c.reply, at), std::runtime_error) << c.name;
        } else {
            dispatcher.HandleReply(c.reply, at);
        }
        ASSERT_EQ(controls.recorded.size(), 1u) << c.name;
        const auto& r = controls.recorded[0];
        // The whole reply as framed, also where LastFrame was shortened.
        EXPECT_EQ(r.text, c.reply) << c.name;
        EXPECT_EQ(r.page, c.page) << c.name;
        EXPECT_EQ(r.shown, c.shown) << c.name;
        EXPECT_EQ(r.unixMs, at.unixMs) << c.name;
        if (c.shown) {
            EXPECT_EQ(r.values, (std::array<double, 3>{1, 2, 3})) << c.name;
        }
    }
}

TEST(ArrivalClock, TimesFollowTheSteadyClockFromOneWallReading) {
    using namespace std::chrono;
    const system_clock::time_point wall{milliseconds(1796976902123)};
    const steady_clock::time_point steady{seconds(1000)};
    const ArrivalClock clock(wall, steady);
    const struct {
        nanoseconds after;
        std::int64_t unixMs;
    } cases[] = {
        {nanoseconds(0), 1796976902123},
        {nanoseconds(999'999), 1796976902123},
        {milliseconds(1), 1796976902124},
        {hours(25) + milliseconds(877), 1796976902123 + 25 * 3600000 + 877},
        {-milliseconds(124), 1796976901999},
    };
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    for (const auto& c : cases) {
        const ArrivalTime t = clock.At(steady + c.after);
        EXPECT_EQ(t.unixMs, c.unixMs) << c.after.count();
        EXPECT_EQ(t.steadyNs,
                  duration_cast<nanoseconds>((steady + c.after).time_since_epoch()).count());
    }
    // However the system clock is set meanwhile, the clock's own times only go forward.
    const ArrivalClock now;
    for (int i = 0; i < 1000; ++i) {
        const std::int64_t t = now.Now().unixMs;
        EXPECT_GE(t, last);
        last = t;
    }
}

} // namespace
} // namespace kuvar::protocol
