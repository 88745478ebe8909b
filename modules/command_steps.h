// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "protocol/deferred_actions.h"
#include "protocol/link_state.h"
#include "protocol/transaction_host.h"
#include "protocol/transactions.h"

class QWidget;

// Steps the command handlers of both module pages share.
namespace kuvar::modules {

// A control's text (ControlText) as the line carries it, in code page 949, and back.
std::string TextOf(const QWidget* control);
void SetTextOf(QWidget* control, const std::string& text);

// A retried send of up to six frames.
protocol::SendOutcome SendRetried(protocol::LinkState& state, protocol::ITransactionHost& host,
                                  std::function<std::string()> command, int waitMs,
                                  protocol::EndTest endTest);

// The configuration pattern: the stream stopped first, RxMode 0, the question (onNo runs on No),
// the port test, the retried send of command, then SendSave for the page's ID.
struct ConfigureStep {
    ConfigureStep(protocol::Page page_, protocol::TMessage question_)
        : page(page_), question(std::move(question_)) {}

    protocol::Page page;
    protocol::TMessage question;
    std::function<void()> onNo;
    std::function<std::string()> command;
    int waitMs = 500;
    std::string endPart = " "; // the end test: LastFrame contains it
    std::function<std::string()> id;
    std::function<void()> afterSends; // between the loop and SendSave, also after "No answer"
};
void RunConfigure(protocol::LinkState& state, protocol::ITransactionHost& host,
                  const ConfigureStep& step);

// The SaveSetting buttons: Delay(200), RxMode := streamMode, SaveAcked cleared, then up to six
// "<" id " SAVE>" until a reply containing "SAVE" has come.
void SaveSetting(protocol::LinkState& state, protocol::ITransactionHost& host,
                 const std::function<std::string()>& id, std::int32_t streamMode);

} // namespace kuvar::modules
