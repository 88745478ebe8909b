// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/deferred_actions.h"
#include "protocol/measurement_view.h"
#include "protocol/receive_framer.h"
#include "protocol/reply_dispatcher.h"
#include "protocol/reply_target.h"
#include "protocol/transaction_host.h"

namespace kuvar::protocol::testing {

// The window's controls and the module views, recording what the dispatcher writes.
struct FakeControls : IReplyTarget, IMeasurementView {
    std::vector<std::string> log;
    std::map<Control, std::string> written;
    std::map<Control, bool> checked;
    std::vector<std::string> acFrames, gyFrames;
    int acCleared = 0;
    // What the recording would get: text, page and whether the frame was shown.
    struct Recorded {
        std::string text;
        ModulePage page;
        bool shown;
        std::array<double, 3> values;
        std::int64_t unixMs;
    };
    std::vector<Recorded> recorded;
    bool viewThrows = false; // the views fail after their displays were set

    void AppendLog(const std::string& line) override { log.push_back(line); }
    void SetText(Control c, const std::string& text) override { written[c] = text; }
    void SetChecked(Control c, bool on) override { checked[c] = on; }
    void ShowAcFrame(const std::string& frame, const ArrivalTime&, ShownValues& shown) override {
        acFrames.push_back(frame);
        Show(shown);
    }
    void ClearAcDisplays() override { ++acCleared; }
    void ShowGyFrame(const std::string& frame, const ArrivalTime&, ShownValues& shown) override {
        gyFrames.push_back(frame);
        Show(shown);
    }
    void RecordReply(const ReplyRecord& r) noexcept override {
        recorded.push_back({r.text, r.page, r.shown.shown, r.shown.values, r.at.unixMs});
    }
    void Show(ShownValues& shown) {
        shown = {true, {1, 2, 3}, 1, "mg"};
        if (viewThrows)
            throw std::runtime_error("Axis Minimum Value must be <= Maximum");
    }
};

// A window around the real framer and dispatcher. Each frame written is given to `module`,
// whose answer is a list of chunks: the next Delay delivers the first, the one after it the
// second, and so on. A Delay also fires Timer1 when it is armed, as the event loop would.
struct FakeWindow : ITransactionHost, FakeControls {
    LinkState state;
    ReplyDispatcher dispatcher{state, *this, this};
    ReceiveFramer framer{state, [this](const std::string& text) { dispatcher.HandleReply(text); }};

    std::function<std::vector<std::string>(const std::string& frame)> module;
    std::function<bool(const std::string& question)> answer = [](const std::string&) {
        return true;
    };
    std::function<void()> duringFirstDelay; // a handler the operator starts inside a wait

    bool portOpen = true;
    bool timerArmed = false;
    std::map<Control, std::string> texts{{Control::eID, "1"}, {Control::edGYID, "1"}};

    std::vector<std::string> frames;
    std::vector<std::string> status0;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> events; // every host call in order
    std::deque<std::string> inbox;
    int delayMs = 0;

    bool PortOpen() override { return portOpen; }
    void WriteFrame(const std::string& frame) override {
        frames.push_back(frame);
        events.push_back("write " + frame);
        if (module)
            for (auto& chunk : module(frame))
                inbox.push_back(chunk);
    }
    void Delay(int ms) override {
        events.push_back("delay " + std::to_string(ms));
        delayMs += ms;
        if (duringFirstDelay) {
            auto handler = std::move(duringFirstDelay);
            duringFirstDelay = nullptr;
            handler();
        }
        if (!inbox.empty()) {
            const std::string chunk = inbox.front();
            inbox.pop_front();
            framer.Feed(chunk);
        }
        if (timerArmed)
            Timer1Timer(state, *this);
    }
    void SetStatus0(const std::string& text) override {
        status0.push_back(text);
        events.push_back("status0 " + text);
    }
    bool Ask(const TMessage& question) override {
        questions.push_back(question.Text());
        events.push_back("ask");
        return answer(question.Text());
    }
    void ShowMessage(const TMessage& text) override {
        messages.push_back(text.Text());
        events.push_back("message " + text.Text());
    }
    void StartTimer1() override {
        timerArmed = true;
        events.push_back("timer start");
    }
    void StopTimer1() override {
        timerArmed = false;
        events.push_back("timer stop");
    }
    std::string Text(Control c) override { return texts[c]; }
};

// A reply as a module sends it: text, two checksum characters, CR.
inline std::string Reply(const std::string& text) {
    return text + "00\r";
}

} // namespace kuvar::protocol::testing
