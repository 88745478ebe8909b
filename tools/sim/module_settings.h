// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace kuvar::sim {

enum class ModuleKind { Ac, Gy };

// The settings a module keeps; SAVE stores them, RESTORE brings back the factory ones.
struct ModuleSettings {
    int id = 1;
    int baud = 115200;
    int scale = 2;
    int interval = 100; // ms between measurement frames
    int mode = 0;
    bool operator==(const ModuleSettings&) const = default;
};

ModuleSettings FactorySettings(ModuleKind kind);

std::string_view KindName(ModuleKind kind); // "ac" or "gy"
std::optional<ModuleKind> KindFromName(std::string_view name);

// The values each module accepts, from its commands, its state file and the command line.
bool ValidId(int id);     // 1..255; 0 addresses every module and is nobody's own
bool ValidBaud(int baud); // a line rate from 300 to 4,000,000 bit/s
bool ValidScale(ModuleKind kind, int scale);
bool ValidInterval(int interval); // 1..60000 ms
bool ValidMode(ModuleKind kind, int mode);

// SPEED codes: 1, 2, 3 are 115200, 57600, 38400; the gyro also knows 4 for 9600.
std::optional<int> BaudForSpeedCode(ModuleKind kind, int code);

} // namespace kuvar::sim
