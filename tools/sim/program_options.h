// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/sim/sim_config.h"

#include <optional>
#include <string>
#include <vector>

namespace kuvar::sim {

// What the command line asks for. Settings given here override those of the state file.
struct ProgramOptions {
    ModuleKind kind = ModuleKind::Ac;
    std::string link;      // empty: the default link of the kind
    std::string stateFile; // empty: settings are not kept between runs
    std::string logFrames; // empty: no frame log
    std::optional<int> id, baud, scale, interval, mode;
    bool streamAtPowerUp = false;
    std::uint64_t seed = 1;
    Faults faults;
    bool help = false;
    bool version = false;
};

// nullopt with a message for a command line that cannot be run.
std::optional<ProgramOptions> ParseProgramOptions(const std::vector<std::string>& args,
                                                  std::string* error);

std::string UsageText();

// $XDG_RUNTIME_DIR/kuvar-sim/ac, or /tmp/kuvar-sim-<uid>/ac when that variable is unset.
std::string DefaultLinkPath(ModuleKind kind);

} // namespace kuvar::sim
