// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/transactions.h"

#include <algorithm>
#include <utility>

#include "protocol/commands.h"
#include "protocol/frame.h"
#include "protocol/messages.h"
#include "protocol/text_fields.h"

namespace kuvar::protocol {

EndTest LastFrameHas(std::string part) {
    return [part = std::move(part)](const LinkState& state, const std::vector<std::string>&) {
        return Contains(state.LastFrame, part);
    };
}

EndTest SaveAckedTest() {
    return [](const LinkState& state, const std::vector<std::string>&) { return state.SaveAcked; };
}

EndTest GatheredHas(std::string part) {
    // Each gathered reply is tested on its own, so that the end of one and the start of the
    // next cannot make up the part together.
    return [part = std::move(part)](const LinkState&, const std::vector<std::string>& gathered) {
        return std::any_of(gathered.begin(), gathered.end(),
                           [&](const std::string& reply) { return Contains(reply, part); });
    };
}

std::string AddressOf(const std::string& commandText) {
    if (commandText.empty() || commandText[0] != '<')
        return {};
    return CopyRange(commandText, 1, std::min(commandText.find_first_of(" >"), commandText.size()));
}

void SendOnce(LinkState& state, ITransactionHost& host, const std::string& commandText) {
    state.AddressedId = AddressOf(commandText);
    host.WriteFrame(BuildFrame(commandText));
}

void ReportIdsAnswered(const LinkState& state, ITransactionHost& host) {
    if (state.IdsAnswered.size() > 1)
        host.SetStatus0(ManyIdsText(state.IdsAnswered));
}

bool RequirePortOpen(ITransactionHost& host) {
    if (host.PortOpen())
        return true;
    host.ShowMessage(kOpenComPort);
    return false;
}

SendOutcome RunRetriedSend(LinkState& state, ITransactionHost& host, const RetriedSend& params) {
    // Gathered over every try of this transaction, as the replies may come late.
    std::vector<std::string> gathered;
    // A reply that came before the first send (a late STOP reply while a question box was
    // open, say) is no answer to this command.
    state.LastFrame.clear();
    state.RetryCount = 0;
    for (;;) {
        if (state.RetryCount >= params.maxSends) {
            host.SetStatus0(kNoAnswer);
            return SendOutcome::NoAnswer;
        }
        SendOnce(state, host, params.command());
        for (int slice = 0; slice < params.waitSlices; ++slice) {
            host.Delay(params.waitMs);
            if (slice < 32 && (params.gatherAfter >> slice & 1u))
                gathered.push_back(state.LastFrame);
        }
        ++state.RetryCount;
        if (params.leaveWhenSilent && state.LastFrame.empty())
            return SendOutcome::Silent;
        host.SetStatus0(TryConnectText(state.RetryCount));
        if (params.endTest && params.endTest(state, gathered))
            return SendOutcome::Answered;
    }
}

SendOutcome SendSave(LinkState& state, ITransactionHost& host, const std::string& id) {
    state.LastFrame.clear();
    if (!RequirePortOpen(host))
        return SendOutcome::PortClosed;
    RetriedSend save;
    save.command = [&id] { return CommandText(id, "SAVE"); };
    save.maxSends = 6;
    save.waitMs = 10;
    save.waitSlices = 14;
    // After every wait but the tenth: 13 looks at the replies per try.
    save.gatherAfter = 0x3FFFu & ~(1u << 9);
    save.endTest = GatheredHas("VE");
    save.leaveWhenSilent = true;
    return RunRetriedSend(state, host, save);
}

} // namespace kuvar::protocol
