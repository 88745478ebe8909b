// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QWidget>

#include "modules/ac_commands.h"
#include "modules/ac_page.h"
#include "modules/gy_page.h"
#include "modules/measurement_views.h"
#include "modules/control_text.h"
#include "modules/page_controls.h"
#include "protocol/deferred_actions.h"
#include "protocol/receive_framer.h"
#include "protocol/reply_dispatcher.h"
#include "protocol/reply_target.h"
#include "protocol/transaction_host.h"

namespace kuvar::modules::testing {

// Both real pages on a hidden widget, behind a window whose Delay delivers the module's answers
// at once through the real framer and dispatcher. Each frame written is given to `module`, whose
// chunks the following Delays deliver one each; an armed Timer1 fires in the Delay after it.
struct PageHost : protocol::ITransactionHost, protocol::IReplyTarget {
    QWidget window;
    QWidget acSheet{&window};
    QWidget gySheet{&window};
    TAcPage Ac;
    TGyPage Gy;
    protocol::LinkState state;
    TMeasurementViews views{Ac, Gy};
    protocol::ReplyDispatcher dispatcher{state, *this, &views};
    protocol::ReceiveFramer framer{
        state, [this](const std::string& text) { dispatcher.HandleReply(text); }};

    std::function<std::vector<std::string>(const std::string& frame)> module;
    std::function<bool(const std::string& question)> answer = [](const std::string&) {
        return true;
    };
    bool portOpen = true;
    bool timerArmed = false;

    std::vector<std::string> frames; // without checksum and CR
    std::vector<std::string> status0;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> log;
    std::deque<std::string> inbox;
    int delayMs = 0;

    PageHost() {
        Ac.Build(&acSheet);
        Gy.Build(&gySheet);
    }

    bool PortOpen() override { return portOpen; }
    void WriteFrame(const std::string& frame) override {
        // "<...>" + two checksum digits + CR.
        const std::string text = frame.substr(0, frame.size() >= 3 ? frame.size() - 3 : 0);
        frames.push_back(text);
        if (module)
            for (auto& chunk : module(text))
                inbox.push_back(chunk);
    }
    void Delay(int ms) override {
        delayMs += ms;
        if (!inbox.empty()) {
            const std::string chunk = inbox.front();
            inbox.pop_front();
            framer.Feed(chunk);
        }
        if (timerArmed)
            protocol::Timer1Timer(state, *this);
    }
    void SetStatus0(const std::string& text) override { status0.push_back(text); }
    bool Ask(const protocol::TMessage& question) override {
        questions.push_back(question.Text());
        return answer(question.Text());
    }
    void ShowMessage(const protocol::TMessage& text) override { messages.push_back(text.Text()); }
    void StartTimer1() override { timerArmed = true; }
    void StopTimer1() override { timerArmed = false; }

    QWidget* Widget(protocol::Control c) { return modules::PageControl(Ac, Gy, c); }
    std::string Text(protocol::Control c) override { return ControlText(Widget(c)).toStdString(); }
    void AppendLog(const std::string& line) override { log.push_back(line); }
    void SetText(protocol::Control c, const std::string& text) override {
        SetControlText(Widget(c), QString::fromStdString(text));
    }
    void SetChecked(protocol::Control c, bool on) override {
        if (auto* button = qobject_cast<QAbstractButton*>(Widget(c)))
            button->setChecked(on);
    }

    // Hands one reply to the framer as the line would bring it.
    void Receive(const std::string& text) { framer.Feed(text + "00\r"); }
};

// A reply as a module sends it: text, two checksum characters, CR.
inline std::string Reply(const std::string& text) {
    return text + "00\r";
}

inline std::string Qs(const QString& s) {
    return s.toStdString();
}

} // namespace kuvar::modules::testing
