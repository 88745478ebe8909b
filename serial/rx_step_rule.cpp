// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/rx_step_rule.h"

#include <algorithm>

namespace kuvar::serial {

int TRxStepRule::WaitTimeoutMs() const {
    int timeout = holding_ ? kHeldBytesPollMs : -1;
    if (periodic_)
        timeout = timeout < 0 ? kLinePollMs : std::min(timeout, kLinePollMs);
    return timeout;
}

int TRxStepRule::GatherMs(Clock::time_point now) const {
    const auto due = lastRxStep_ + kMinRxStepSpacing;
    if (now >= due)
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(due - now).count());
}

bool TRxStepRule::RaiseHeld(std::uint32_t unread) {
    if (!holding_)
        return false;
    if (unread > held_ || unread >= kFullDriverQueue)
        return true;
    if (unread == 0)
        holding_ = false;
    else
        held_ = unread;
    return false;
}

void TRxStepRule::StepEnded(bool receiveStep, Clock::time_point at, bool handlerRead,
                            std::uint32_t left) {
    if (receiveStep)
        lastRxStep_ = at;
    // A handler that read leaves behind only bytes that came during its step: they are new.
    // Only a handler that read nothing holds its bytes until more arrive.
    holding_ = left > 0 && !handlerRead;
    held_ = left;
}

} // namespace kuvar::serial
