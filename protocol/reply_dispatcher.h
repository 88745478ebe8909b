// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "protocol/link_state.h"
#include "protocol/measurement_view.h"
#include "protocol/reply_target.h"

namespace kuvar::protocol {

// Whether a reply answers a query (ID, scale, interval or version): it begins with "[" and the
// number of its module, then a blank; and when the command went to one module (addressedId a
// number other than 0), that number is the module's.
bool AnswersQuery(const std::string& reply, const std::string& addressedId);

// Logs every accepted reply, keeps it as LastFrame, notes SAVE acknowledgements and reads it
// according to RxMode: query replies fill controls, stream frames go to the measurement view.
// While a query waits (RxMode 5 to 8), a reply that does not answer it is only logged.
class ReplyDispatcher {
public:
    // Enough to name the modules of a line that has more than one.
    static constexpr std::size_t kMaxIdsAnswered = 8;

    // view may be null: stream frames are then only logged.
    ReplyDispatcher(LinkState& state, IReplyTarget& target, IMeasurementView* view = nullptr);

    // `at` is the reply's arrival (now, without one); the target records the reply once it has
    // been handled, also when its handling throws.
    void HandleReply(const std::string& text, const ArrivalTime& at);
    void HandleReply(const std::string& text) { HandleReply(text, ArrivalClock().Now()); }

private:
    void AcQueryReply();
    void GyQueryReply();
    // "[" id " " ...: the id (noted in IdsAnswered), then LastFrame keeps the part from the blank
    // on, less its last character.
    std::string TakeIdentity();

    LinkState& state_;
    IReplyTarget& target_;
    IMeasurementView* view_;
};

} // namespace kuvar::protocol
