// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/page_controls.h"

#include "modules/ac_page.h"
#include "modules/gy_page.h"

namespace kuvar::modules {

QWidget* PageControl(const TAcPage& ac, const TGyPage& gy, protocol::Control control) {
    using protocol::Control;
    switch (control) {
    case Control::eID:
        return ac.eID;
    case Control::edACINT:
        return ac.edACINT;
    case Control::cbACScale:
        return ac.cbACScale;
    case Control::cbACMode:
        return ac.cbACMode;
    case Control::edACVersion:
        return ac.edACVersion;
    case Control::edGYID:
        return gy.edGYID;
    case Control::edGYINT:
        return gy.edGYINT;
    case Control::cbGYScale:
        return gy.cbGYScale;
    case Control::cbGYMode:
        return gy.cbGYMode;
    case Control::edGYVersion:
        return gy.edGYVersion;
    case Control::lbGYRoll:
        return gy.lbGYRoll;
    case Control::lbGYPitch:
        return gy.lbGYPitch;
    case Control::lbGYYaw:
        return gy.lbGYYaw;
    case Control::rbGYDegrees:
        return gy.rbGYDegrees;
    case Control::rbGYDegSpeed:
        return gy.rbGYDegSpeed;
    default:
        return nullptr;
    }
}

} // namespace kuvar::modules
