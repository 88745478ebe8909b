// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/state_file.h"

#include "tools/sim/command_frame.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kuvar::sim {

std::string FormatState(ModuleKind kind, const ModuleSettings& s) {
    std::ostringstream out;
    out << "module=" << KindName(kind) << "\nid=" << s.id << "\nbaud=" << s.baud
        << "\nscale=" << s.scale << "\ninterval=" << s.interval << "\nmode=" << s.mode << "\n";
    return out.str();
}

std::optional<ModuleSettings> ParseState(ModuleKind kind, const std::string& text,
                                         std::string* error) {
    ModuleSettings s = FactorySettings(kind);
    std::istringstream in(text);
    std::string line;
    bool kindSeen = false;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        const auto eq = line.find('=');
        const std::string key = line.substr(0, eq);
        const std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
        if (key == "module") {
            if (value != KindName(kind)) {
                *error = "state file holds a '" + value + "' module";
                return std::nullopt;
            }
            kindSeen = true;
            continue;
        }
        const auto number = ParseDecimal(value);
        int* field = key == "id"         ? &s.id
                     : key == "baud"     ? &s.baud
                     : key == "scale"    ? &s.scale
                     : key == "interval" ? &s.interval
                     : key == "mode"     ? &s.mode
                                         : nullptr;
        if (!field || !number) {
            *error = "state file line not understood: " + line;
            return std::nullopt;
        }
        *field = *number;
    }
    if (!kindSeen) {
        *error = "state file names no module";
        return std::nullopt;
    }
    if (!ValidId(s.id) || !ValidBaud(s.baud) || !ValidScale(kind, s.scale) ||
        !ValidInterval(s.interval) || !ValidMode(kind, s.mode)) {
        *error = "state file holds a value out of range";
        return std::nullopt;
    }
    return s;
}

std::optional<ModuleSettings> LoadStateFile(const std::string& path, ModuleKind kind,
                                            std::string* error) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return ParseState(kind, text.str(), error);
}

bool SaveStateFile(const std::string& path, ModuleKind kind, const ModuleSettings& settings,
                   std::string* error) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << FormatState(kind, settings);
        out.flush();
        if (!out) {
            *error = "cannot write " + temp;
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        *error = "cannot rename " + temp + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace kuvar::sim
