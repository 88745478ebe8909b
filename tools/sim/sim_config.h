// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/sim/module_settings.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace kuvar::sim {

using SimTime = std::chrono::nanoseconds;

// Misbehaviour on purpose; every random choice comes from the seed.
struct Faults {
    bool silent = false;             // hears no command at all
    std::set<std::string> deaf;      // command words it does not hear ("STOP", "SAVE")
    double dropShare = 0;            // share of outgoing frames lost whole
    double corruptShare = 0;         // share of outgoing bytes with one bit flipped
    std::optional<int> splitPauseMs; // cut frames into chunks with pauses up to this
    bool lineFeed = false;           // LF after the CR
    bool stxEtb = false;             // STX before the text, ETB after it
    bool dollar = false;             // "$" before each frame
    std::optional<double> floodRate; // frames a second while streaming, as many as the line allows
    std::optional<int> wireRate;     // bits a second the line carries, when not the module's rate
    std::optional<SimTime> hangupAfterTime;
    std::optional<std::uint64_t> hangupAfterFrames;
};

struct SimConfig {
    ModuleKind kind = ModuleKind::Ac;
    ModuleSettings settings; // in effect at power-up
    ModuleSettings stored;   // what SAVE stored last
    bool streamAtPowerUp = false;
    Faults faults;
    std::uint64_t seed = 1;
    SimTime replyLatency = std::chrono::milliseconds(1);
};

// A config with the factory settings of the kind.
SimConfig DefaultConfig(ModuleKind kind);

} // namespace kuvar::sim
