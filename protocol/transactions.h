// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "protocol/link_state.h"
#include "protocol/transaction_host.h"

namespace kuvar::protocol {

// What the end test of a retried send sees after each try: the shared state, and the replies
// gathered during the wait when the transaction gathers them (SendSave), else empty.
using EndTest =
    std::function<bool(const LinkState& state, const std::vector<std::string>& gathered)>;

// Ends when LastFrame contains part (" ", "INT", "[", "STOP").
EndTest LastFrameHas(std::string part);
// Ends when a reply containing "SAVE" has arrived (the SaveSetting buttons).
EndTest SaveAckedTest();
// Ends when one of the gathered replies contains part (SendSave: "VE").
EndTest GatheredHas(std::string part);

struct RetriedSend {
    // The command text, built again from the controls before every send.
    std::function<std::string()> command;
    int maxSends = 6;
    // The wait after each send: waitSlices waits of waitMs each.
    int waitMs = 500;
    int waitSlices = 1;
    // Bit i set: after wait i + 1 of a try, LastFrame is added to the gathered replies.
    std::uint32_t gatherAfter = 0;
    EndTest endTest;
    // Stop sequences and SendSave: leave at once, without a status text, when LastFrame is still
    // empty after a try.
    bool leaveWhenSilent = false;
};

enum class SendOutcome {
    Answered,   // the end test held
    NoAnswer,   // the shared RetryCount reached maxSends; "No answer" is shown
    Silent,     // leaveWhenSilent and nothing arrived
    PortClosed, // nothing sent; "Open Com port." was shown
};

// The retried send: LastFrame emptied, RetryCount := 0; then until the end test holds, at most
// maxSends frames (counted in the shared RetryCount, which a nested transaction may move), each
// followed by its wait and "Try Connect " + count + "[sec]" in status panel 0. The caller has
// checked the port.
SendOutcome RunRetriedSend(LinkState& state, ITransactionHost& host, const RetriedSend& params);

// The ID a command text goes to: "<7 SCALE 4>" gives "7", "<0>" gives "0"; a text that is no
// command gives the empty text.
std::string AddressOf(const std::string& commandText);

// Sends the command text once (no wait, no retry); its ID becomes the AddressedId.
void SendOnce(LinkState& state, ITransactionHost& host, const std::string& commandText);

// The end of an ID Find: when more than one module named its ID, status panel 0 says which
// (the page shows the last).
void ReportIdsAnswered(const LinkState& state, ITransactionHost& host);

// Shows "Open Com port." and returns false when the port is closed.
bool RequirePortOpen(ITransactionHost& host);

// The SAVE transaction after configuration commands: "<" id " SAVE>" up to six times, each
// followed by 14 waits of 10 ms; ends on a reply containing "VE", or at once when nothing came.
SendOutcome SendSave(LinkState& state, ITransactionHost& host, const std::string& id);

} // namespace kuvar::protocol
