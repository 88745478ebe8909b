// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>

namespace kuvar::protocol {

// When a reply's last byte was framed, or a frame was written.
struct ArrivalTime {
    std::int64_t unixMs = 0;   // wall clock, milliseconds since the Unix epoch
    std::int64_t steadyNs = 0; // the steady (monotonic) clock at the same moment
};

// The run's clock of arrival times: one reading of the wall clock when the clock is made, moved
// on by the steady clock. A step of the system clock (NTP, the operator) therefore never
// reorders the times of one run; they read as the wall clock read at the start.
class ArrivalClock {
public:
    ArrivalClock();
    ArrivalClock(std::chrono::system_clock::time_point wallAtStart,
                 std::chrono::steady_clock::time_point steadyAtStart);

    ArrivalTime Now() const { return At(std::chrono::steady_clock::now()); }
    ArrivalTime At(std::chrono::steady_clock::time_point steady) const;

private:
    std::chrono::system_clock::time_point wallAtStart_;
    std::chrono::steady_clock::time_point steadyAtStart_;
};

} // namespace kuvar::protocol
