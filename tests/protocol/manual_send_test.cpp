// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/manual_send.h"

#include <gtest/gtest.h>

#include "fake_window.h"

namespace kuvar::protocol {
namespace {

using testing::FakeWindow;
using testing::Reply;
using Strings = std::vector<std::string>;

TEST(ManualSend, SendsTheLineAsTypedAndSwitchesToLogOnly) {
    const struct {
        Control line;
        std::string text, frame;
    } cases[] = {
        {Control::edSend1, "<1 VER>", "<1 VER>52\r"},
        {Control::edSend2, "", "00\r"},
        {Control::edSend3, "abc", "abc60\r"},
    };
    for (const auto& c : cases) {
        FakeWindow w;
        w.texts[c.line] = c.text;
        w.state.RxMode = RxModes::AcStream;
        w.state.LastFrame = "[1 02 +1 -2 +3]";
        w.state.RxBuffer = "[1 02 +1";
        ManualSend(w.state, w, c.line);
        EXPECT_EQ(w.frames, Strings{c.frame});
        EXPECT_EQ(w.events.front(), "delay 200");
        EXPECT_EQ(w.state.RxMode, RxModes::LogOnly);
        EXPECT_EQ(w.state.LastFrame, "");
        EXPECT_EQ(w.state.RxBuffer, "");
        EXPECT_FALSE(w.state.StreamPaused);
    }
}

TEST(ManualSend, StreamFramesAfterASendAreOnlyLogged) {
    FakeWindow w;
    w.texts[Control::edSend1] = "<1 VER>";
    w.state.RxMode = RxModes::AcStream;
    ManualSend(w.state, w, Control::edSend1);
    w.framer.Feed(Reply("[1 02 +1 -2 +3]"));
    EXPECT_EQ(w.log, Strings{"[1 02 +1 -2 +3]"});
    EXPECT_TRUE(w.acFrames.empty());
}

TEST(ManualSend, ClosedPortShowsTheMessageAfterClearing) {
    FakeWindow w;
    w.portOpen = false;
    w.texts[Control::edSend1] = "<1 VER>";
    w.state.LastFrame = "x";
    w.state.RxMode = RxModes::GyStream;
    ManualSend(w.state, w, Control::edSend1);
    EXPECT_TRUE(w.frames.empty());
    EXPECT_EQ(w.messages, Strings{"Open Com port."});
    EXPECT_EQ(w.state.LastFrame, "");
    EXPECT_EQ(w.state.RxMode, RxModes::LogOnly);
}

} // namespace
} // namespace kuvar::protocol
