// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/link_state.h"
#include "protocol/transaction_host.h"

namespace kuvar::modules {

struct TGyPage;

// The command buttons of the KUVAR-GY page. The page remembers nothing: a No leaves the controls
// as the operator left them. Each reads the ID (edGYID) again before every send.
void btGYIDfindClick(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);
void btGYNewIDClick(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);
// Refuses a rate the module has no command for ("9600" among them, std::invalid_argument)
// before anything is done.
void btGYBaudrateClick(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);
// "SCALE".
void Button7Click(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);
void btGYINTClick(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);
void btGYModeClick(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);
void btGYVersionClick(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);
void btGYRESETClick(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);
// "Yaw Reset".
void btGYAngleResetClick(protocol::LinkState& state, protocol::ITransactionHost& host,
                         TGyPage& page);
// "SaveSetting".
void AbColBitBtn4Click(protocol::LinkState& state, protocol::ITransactionHost& host, TGyPage& page);

// Start and Stop only name the sequence and arm Timer1 (see protocol::NameSequence); Start
// waits 10 ms between the two.
void btGYSTARTClick(protocol::LinkState& state, protocol::ITransactionHost& host);
void btGYStopClick(protocol::LinkState& state, protocol::ITransactionHost& host);

// Connects every command button of the page (Start and Stop included) to its handler, each
// guarded. The references must outlive the page's controls.
void ConnectGyPage(TGyPage& page, protocol::LinkState& state, protocol::ITransactionHost& host);

} // namespace kuvar::modules
