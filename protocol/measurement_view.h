// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "protocol/arrival_clock.h"

namespace kuvar::protocol {

// What a view showed of one frame: the three values as its displays hold them, in the displays'
// order (AC: X, Y, Z; GY: roll, pitch, yaw). `shown` stays false for a frame the view did not show.
struct ShownValues {
    bool shown = false;
    std::array<double, 3> values{};
    int precision = 1;     // decimals the displays show
    const char* unit = ""; // "mg", "deg" or "mdeg/s"
};

// The module pages' measurement views, called by the dispatcher while a stream is shown. `at` is
// the frame's arrival; the view fills `shown` as soon as its displays hold the new values, so that
// a later failure (the chart's window) still leaves them there.
class IMeasurementView {
public:
    virtual ~IMeasurementView() = default;
    // A KUVAR-AC frame while RxMode is 3 and the stream is not paused: either longer than five
    // characters without "@", or beginning with "@". The frame is LastFrame as received.
    virtual void ShowAcFrame(const std::string& frame, const ArrivalTime& at,
                             ShownValues& shown) = 0;
    // The scale reply of the AC ID search: ssACX, ssACY and ssACZ show 0.
    virtual void ClearAcDisplays() = 0;
    // A KUVAR-GY frame longer than ten characters while RxMode is 13 and the stream is not
    // paused, already without its head field (LastFrame holds the same text), so it begins
    // with the mode digit.
    virtual void ShowGyFrame(const std::string& frame, const ArrivalTime& at,
                             ShownValues& shown) = 0;
};

} // namespace kuvar::protocol
