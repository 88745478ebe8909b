// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/link_state.h"
#include "protocol/transaction_host.h"
#include "protocol/transactions.h"

namespace kuvar::protocol {

// The Start and Stop buttons only name the sequence and arm Timer1; the sequence runs when the
// timer fires, in whatever event loop runs then. A second request before that replaces the first.
void btACStartClick(LinkState& state, ITransactionHost& host);
void btACStopClick(LinkState& state, ITransactionHost& host);
void btGYSTARTClick(LinkState& state, ITransactionHost& host);
void btGYStopClick(LinkState& state, ITransactionHost& host);

// Timer1 fired: disarm it and run the pending sequence.
void Timer1Timer(LinkState& state, ITransactionHost& host);

// The sequences (the ID is read from eID or edGYID before every send).
SendOutcome RunAcStart(LinkState& state, ITransactionHost& host);
SendOutcome RunAcStop(LinkState& state, ITransactionHost& host);
SendOutcome RunGyStart(LinkState& state, ITransactionHost& host);
SendOutcome RunGyStop(LinkState& state, ITransactionHost& host);

enum class Page { Ac, Gy };

// The opening of every command that stops the stream first: the page's Stop request,
// Delay(20) (the stop sequence normally runs inside it), then LastFrame and RxBuffer emptied.
void StopStreamFirst(LinkState& state, ITransactionHost& host, Page page);

} // namespace kuvar::protocol
