// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/module_settings.h"

namespace kuvar::sim {

ModuleSettings FactorySettings(ModuleKind kind) {
    ModuleSettings settings;
    settings.scale = kind == ModuleKind::Ac ? 2 : 1;
    return settings;
}

std::string_view KindName(ModuleKind kind) {
    return kind == ModuleKind::Ac ? "ac" : "gy";
}

std::optional<ModuleKind> KindFromName(std::string_view name) {
    if (name == "ac")
        return ModuleKind::Ac;
    if (name == "gy")
        return ModuleKind::Gy;
    return std::nullopt;
}

bool ValidId(int id) {
    return id >= 1 && id <= 255;
}

bool ValidBaud(int baud) {
    return baud >= 300 && baud <= 4000000;
}

bool ValidScale(ModuleKind kind, int scale) {
    if (kind == ModuleKind::Ac)
        return scale == 2 || scale == 4 || scale == 8;
    return scale == 1 || scale == 2 || scale == 8;
}

bool ValidInterval(int interval) {
    return interval >= 1 && interval <= 60000;
}

bool ValidMode(ModuleKind kind, int mode) {
    if (kind == ModuleKind::Ac)
        return mode == 0 || mode == 1 || mode == 3;
    return mode == 0 || mode == 1;
}

std::optional<int> BaudForSpeedCode(ModuleKind kind, int code) {
    switch (code) {
    case 1:
        return 115200;
    case 2:
        return 57600;
    case 3:
        return 38400;
    case 4:
        if (kind == ModuleKind::Gy)
            return 9600;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace kuvar::sim
