// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/sim/measurement_frame.h"

namespace kuvar::sim {

// What the simulated board does, as smooth functions of the seconds since power-up; noise is
// added by the module.
struct MotionModel {
    // Acceleration in mg of a board slowly tilting under gravity.
    static Reading Acceleration(double seconds);
    // Roll, pitch in tenths of a degree; yaw in tenths of a degree from 0 to 3599, turning.
    static Reading Angles(double seconds, double yawZeroDegrees);
    // Angular rates of the same motion in millidegrees per second.
    static Reading Rates(double seconds);
};

} // namespace kuvar::sim
