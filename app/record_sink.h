// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/arrival_clock.h"
#include "protocol/reply_target.h"

#include <string>

namespace kuvar {

// What the link hands to a recording: every reply once it was handled, every frame written, and
// the port's closing. Called on the UI thread; the calls must not wait and must not throw.
class IRecordSink {
public:
    virtual ~IRecordSink() = default;
    virtual void Reply(const protocol::ReplyRecord& reply) noexcept = 0;
    virtual void Sent(const protocol::ArrivalTime& at, const std::string& frame) noexcept = 0;
    virtual void PortClosed() noexcept = 0;
};

} // namespace kuvar
