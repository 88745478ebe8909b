// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "protocol/link_state.h"
#include "protocol/transaction_host.h"

namespace kuvar::modules {

struct TAcPage;

// What the KUVAR-AC page remembers when a list drops down or an edit is clicked; a No to the
// question of its command puts it back. All 0 at start, never stored in the settings file.
struct TAcPrevious {
    std::int32_t PrevAcScale = 0;
    std::int32_t PrevAcBaud = 0;
    std::int32_t PrevAcInterval = 0;
    std::int32_t PrevAcMode = 0;
    std::int32_t PrevAcNewId = 0;
};

// The command buttons of the KUVAR-AC page. Each reads the page's controls as typed, the ID
// (eID) again before every send.
void btACIDFindClick(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page);
void btIDchangeClick(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page,
                     const TAcPrevious& prev);
// Refuses a rate the module has no command for (std::invalid_argument) before anything is done.
void btACBaudrateClick(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page,
                       const TAcPrevious& prev);
void btACScaleClick(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page,
                    const TAcPrevious& prev);
void btACINTClick(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page,
                  const TAcPrevious& prev);
void btACModeClick(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page,
                   const TAcPrevious& prev);
void btACVersionClick(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page);
void btACRESTOREClick(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page);
// "SaveSetting".
void AbColBitBtn3Click(protocol::LinkState& state, protocol::ITransactionHost& host, TAcPage& page);

// The rememberers: the control's text as an integer, 0 (100 for the interval) when it is none.
void cbACScaleDropDown(const TAcPage& page, TAcPrevious& prev);
void cbACBaudrateDropDown(const TAcPage& page, TAcPrevious& prev);
void cbACModeDropDown(const TAcPage& page, TAcPrevious& prev);
void edACNewIDMouseDown(const TAcPage& page, TAcPrevious& prev);
void edACINTMouseDown(const TAcPage& page, TAcPrevious& prev);

// Start and Stop only name the sequence and arm Timer1 (see protocol::NameSequence).
void btACStartClick(protocol::LinkState& state, protocol::ITransactionHost& host);
void btACStopClick(protocol::LinkState& state, protocol::ITransactionHost& host);

// Connects every command button (Start and Stop included), the three drop-downs and the two
// mouse-downs of the page to their handlers, each guarded. The references must outlive the
// page's controls.
void ConnectAcPage(TAcPage& page, protocol::LinkState& state, protocol::ITransactionHost& host,
                   TAcPrevious& prev);

} // namespace kuvar::modules
