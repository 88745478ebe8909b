// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/controls.h"
#include "protocol/link_state.h"
#include "protocol/transaction_host.h"

namespace kuvar::protocol {

// A manual line's Send button (line is edSend1, edSend2 or edSend3): after Delay(200) the
// link is set to log only and the line's text goes out as typed, framed, once. A running stream
// is not stopped first.
void ManualSend(LinkState& state, ITransactionHost& host, Control line);

} // namespace kuvar::protocol
