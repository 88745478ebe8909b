// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/measurement_frame.h"

#include <cstdio>

namespace kuvar::sim {

std::string FormatReading(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%+06d", value);
    return text;
}

std::string FormatBracketFrame(int id, int mode, int scale, const Reading& values) {
    std::string frame =
        "[" + std::to_string(id) + " " + std::to_string(mode) + std::to_string(scale);
    for (int value : values)
        frame += " " + FormatReading(value);
    return frame + "]";
}

std::string FormatAtSignFrame(const Reading& values) {
    std::string frame = "@";
    for (int value : values)
        frame += FormatReading(value) + " ";
    return frame;
}

} // namespace kuvar::sim
