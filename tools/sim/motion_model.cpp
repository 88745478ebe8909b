// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/motion_model.h"

#include <cmath>
#include <numbers>

namespace kuvar::sim {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kDeg = std::numbers::pi / 180;

// Roll and pitch swing slowly with periods that do not repeat together; yaw turns steadily.
constexpr double kRollAmplitude = 20, kRollPeriod = 9;
constexpr double kPitchAmplitude = 12, kPitchPeriod = 13;
constexpr double kYawRate = 12; // degrees per second

double Roll(double t) {
    return kRollAmplitude * std::sin(kTwoPi * t / kRollPeriod);
}
double Pitch(double t) {
    return kPitchAmplitude * std::sin(kTwoPi * t / kPitchPeriod + 1);
}

} // namespace

Reading MotionModel::Acceleration(double t) {
    const double roll = Roll(t) * kDeg, pitch = Pitch(t) * kDeg;
    return {static_cast<int>(std::lround(-1000 * std::sin(pitch))),
            static_cast<int>(std::lround(1000 * std::sin(roll) * std::cos(pitch))),
            static_cast<int>(std::lround(1000 * std::cos(roll) * std::cos(pitch)))};
}

Reading MotionModel::Angles(double t, double yawZeroDegrees) {
    double yaw = std::fmod(kYawRate * t - yawZeroDegrees, 360.0);
    if (yaw < 0)
        yaw += 360;
    int yawTenths = static_cast<int>(std::lround(yaw * 10)) % 3600;
    return {static_cast<int>(std::lround(Roll(t) * 10)),
            static_cast<int>(std::lround(Pitch(t) * 10)), yawTenths};
}

Reading MotionModel::Rates(double t) {
    const double rollRate =
        kRollAmplitude * kTwoPi / kRollPeriod * std::cos(kTwoPi * t / kRollPeriod);
    const double pitchRate =
        kPitchAmplitude * kTwoPi / kPitchPeriod * std::cos(kTwoPi * t / kPitchPeriod + 1);
    return {static_cast<int>(std::lround(rollRate * 1000)),
            static_cast<int>(std::lround(pitchRate * 1000)),
            static_cast<int>(std::lround(kYawRate * 1000))};
}

} // namespace kuvar::sim
