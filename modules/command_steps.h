// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "protocol/deferred_actions.h"
#include "protocol/link_state.h"
#include "protocol/transaction_host.h"
#include "protocol/transactions.h"

class QComboBox;
class QLineEdit;

// Steps the command handlers of both module pages share.
namespace kuvar::modules {

// A control's text as the line carries it (code page 949); the setters take ASCII.
std::string TextOf(const QLineEdit* edit);
std::string TextOf(const QComboBox* combo);
void SetTextOf(QLineEdit* edit, const std::string& text);
void SetTextOf(QComboBox* combo, const std::string& text);

// The number of the SPEED command for a baud rate: "115200" 1, "57600" 2, "38400" 3, compared
// whole and case-sensitively; any other text has none.
std::optional<int> SpeedNumber(std::string_view rate);
// "<" id " SPEED " n ">" for the rate; throws std::invalid_argument naming the rate when the
// module has no command for it, so that nothing is sent.
std::string SpeedCommand(const std::string& id, const std::string& rate);

// A retried send of up to six frames.
protocol::SendOutcome SendRetried(protocol::LinkState& state, protocol::ITransactionHost& host,
                                  std::function<std::string()> command, int waitMs,
                                  protocol::EndTest endTest);

// The configuration pattern: the stream stopped first, RxMode 0, the question (onNo runs on No),
// the port test, the retried send of command, then SendSave for the page's ID.
struct ConfigureStep {
    ConfigureStep(protocol::Page page_, std::string question_)
        : page(page_), question(std::move(question_)) {}

    protocol::Page page;
    std::string question;
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
