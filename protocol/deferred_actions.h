// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/link_state.h"
#include "protocol/transaction_host.h"
#include "protocol/transactions.h"

namespace kuvar::protocol {

// The start and stop sequences of both pages, run later by Timer1.
enum class Sequence { AcStart, AcStop, GyStart, GyStop };

// Names the sequence in PendingAction ("AC_START", "AC_STOP", "GY_START", "GY_STOP"); a stop
// pauses the stream at once, a start releases it. The caller then arms Timer1; the sequence runs
// when the timer fires, in whatever event loop runs then, and a second request before that
// replaces the first.
void NameSequence(LinkState& state, Sequence sequence);

// Timer1 fired: disarm it and run the pending sequence.
void Timer1Timer(LinkState& state, ITransactionHost& host);

// The sequences (the ID is read from eID or edGYID before every send).
SendOutcome RunAcStart(LinkState& state, ITransactionHost& host);
SendOutcome RunAcStop(LinkState& state, ITransactionHost& host);
SendOutcome RunGyStart(LinkState& state, ITransactionHost& host);
SendOutcome RunGyStop(LinkState& state, ITransactionHost& host);

enum class Page { Ac, Gy };

// The opening of every command that stops the stream first: the page's stop sequence named and
// Timer1 armed, Delay(20) (the stop sequence normally runs inside it), then LastFrame and
// RxBuffer emptied.
void StopStreamFirst(LinkState& state, ITransactionHost& host, Page page);

} // namespace kuvar::protocol
