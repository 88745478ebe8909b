// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/command_steps.h"

#include "modules/wire_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kuvar::modules {

std::string TextOf(const QLineEdit* edit) {
    return ToWire(edit->text());
}

std::string TextOf(const QComboBox* combo) {
    return ToWire(combo->currentText());
}

void SetTextOf(QLineEdit* edit, const std::string& text) {
    edit->setText(FromWire(text));
}

void SetTextOf(QComboBox* combo, const std::string& text) {
    combo->setEditText(FromWire(text));
}

std::optional<int> SpeedNumber(std::string_view rate) {
    if (rate == "115200")
        return 1;
    if (rate == "57600")
        return 2;
    if (rate == "38400")
        return 3;
    return std::nullopt;
}

std::string SpeedCommand(const std::string& id, const std::string& rate) {
    const auto number = SpeedNumber(rate);
    if (!number)
        throw std::invalid_argument("Baudrate \"" + rate +
                                    "\" cannot be set in the module (115200, 57600 or 38400)");
    return "<" + id + " SPEED " + std::to_string(*number) + ">";
}

protocol::SendOutcome SendRetried(protocol::LinkState& state, protocol::ITransactionHost& host,
                                  std::function<std::string()> command, int waitMs,
                                  protocol::EndTest endTest) {
    protocol::RetriedSend send;
    send.command = std::move(command);
    send.maxSends = 6;
    send.waitMs = waitMs;
    send.endTest = std::move(endTest);
    return protocol::RunRetriedSend(state, host, send);
}

void RunConfigure(protocol::LinkState& state, protocol::ITransactionHost& host,
                  const ConfigureStep& step) {
    protocol::StopStreamFirst(state, host, step.page);
    state.RxMode = protocol::RxModes::LogOnly;
    if (!host.Ask(step.question)) {
        if (step.onNo)
            step.onNo();
        return;
    }
    if (!protocol::RequirePortOpen(host))
        return;
    SendRetried(state, host, step.command, step.waitMs, protocol::LastFrameHas(step.endPart));
    if (step.afterSends)
        step.afterSends();
    protocol::SendSave(state, host, step.id());
}

void SaveSetting(protocol::LinkState& state, protocol::ITransactionHost& host,
                 const std::function<std::string()>& id, std::int32_t streamMode) {
    host.Delay(200);
    state.LastFrame.clear();
    state.RxBuffer.clear();
    state.RxMode = streamMode;
    state.SaveAcked = false;
    if (!protocol::RequirePortOpen(host))
        return;
    SendRetried(
        state, host, [id] { return "<" + id() + " SAVE>"; }, 500, protocol::SaveAckedTest());
}

} // namespace kuvar::modules
