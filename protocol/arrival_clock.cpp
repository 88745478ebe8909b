// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/arrival_clock.h"

namespace kuvar::protocol {

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

ArrivalClock::ArrivalClock()
    : ArrivalClock(std::chrono::system_clock::now(), std::chrono::steady_clock::now()) {}

ArrivalClock::ArrivalClock(std::chrono::system_clock::time_point wallAtStart,
                           std::chrono::steady_clock::time_point steadyAtStart)
    : wallAtStart_(wallAtStart), steadyAtStart_(steadyAtStart) {}

ArrivalTime ArrivalClock::At(std::chrono::steady_clock::time_point steady) const {
    const auto wall =
        wallAtStart_ + duration_cast<std::chrono::system_clock::duration>(steady - steadyAtStart_);
    ArrivalTime t;
    t.unixMs = std::chrono::floor<milliseconds>(wall.time_since_epoch()).count();
    t.steadyNs = duration_cast<nanoseconds>(steady.time_since_epoch()).count();
    return t;
}

} // namespace kuvar::protocol
