// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "protocol/link_state.h"
#include "protocol/measurement_view.h"
#include "protocol/reply_target.h"

namespace kuvar::protocol {

// Logs every accepted reply, keeps it as LastFrame, notes SAVE acknowledgements and reads it
// according to RxMode: query replies fill controls, stream frames go to the measurement view.
class ReplyDispatcher {
public:
    // view may be null: stream frames are then only logged.
    ReplyDispatcher(LinkState& state, IReplyTarget& target, IMeasurementView* view = nullptr);

    // `at` is the reply's arrival (now, without one); the target records the reply once it has
    // been handled, also when its handling throws.
    void HandleReply(const std::string& text, const ArrivalTime& at);
    void HandleReply(const std::string& text) { HandleReply(text, ArrivalClock().Now()); }

private:
    void AcQueryReply();
    void GyQueryReply();
    // "[" id " " ...: the id, then LastFrame keeps the part from the blank on, less its last
    // character.
    std::string TakeIdentity();

    LinkState& state_;
    IReplyTarget& target_;
    IMeasurementView* view_;
};

} // namespace kuvar::protocol
