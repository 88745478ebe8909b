// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/sim/checksum.h"
#include "tools/sim/module.h"

#include <string>
#include <string_view>

namespace kuvar::sim::test {

using namespace std::chrono_literals;

// Text, its two checksum digits and CR: a command frame as the window sends it, and a reply
// as the module sends it.
inline std::string Framed(std::string_view text) {
    return std::string(text) + ChecksumDigits(XorChecksum(text)) + "\r";
}

// A module on a driven clock starting at 0.
struct Bench {
    explicit Bench(const SimConfig& config) : module(config, SimTime(0)) {}

    // Sends one command frame and returns what the line carried during the following wait.
    std::string Send(std::string_view text, SimTime wait = 50ms) {
        module.Receive(now, Framed(text));
        return Run(wait).bytes;
    }
    ModuleOutput Run(SimTime wait) {
        now += wait;
        module.AdvanceTo(now);
        return module.TakeOutput();
    }

    SimModule module;
    SimTime now{0};
};

// How the window splits a measurement frame: the text before and after the first c.
inline std::string Head(const std::string& t, char c) {
    const auto p = t.find(c);
    return p == std::string::npos ? "" : t.substr(0, p);
}
inline std::string Tail(const std::string& t, char c) {
    const auto p = t.find(c);
    return p == std::string::npos ? t : t.substr(p + 1);
}

} // namespace kuvar::sim::test
