// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/command_steps.h"

#include "modules/control_text.h"
#include "modules/wire_text.h"
#include "protocol/commands.h"

#include <algorithm>
#include <utility>

namespace kuvar::modules {

std::string TextOf(const QWidget* control) {
    return ToWire(ControlText(control));
}

void SetTextOf(QWidget* control, const std::string& text) {
    SetControlText(control, FromWire(text));
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
        state, host, [id] { return protocol::CommandText(id(), "SAVE"); }, 500,
        protocol::SaveAckedTest());
}

} // namespace kuvar::modules
