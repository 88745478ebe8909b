// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kuvar::protocol {

// The window's controls that the link logic reads or writes, named as the window names them.
enum class Control {
    // KUVAR-AC page
    eID,
    edACINT,
    cbACScale,
    cbACMode,
    edACVersion,
    // KUVAR-GY page
    edGYID,
    edGYINT,
    cbGYScale,
    cbGYMode,
    edGYVersion,
    lbGYRoll,
    lbGYPitch,
    lbGYYaw,
    rbGYDegrees,
    rbGYDegSpeed,
    // manual send lines
    edSend1,
    edSend2,
    edSend3,
};

} // namespace kuvar::protocol
