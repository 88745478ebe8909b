// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kuvar::sim {

// One command as the module reads it: "<id word arg>" with word and arg optional ("<0>").
struct Command {
    int id = 0;
    std::string word;
    std::optional<std::string> arg;
    bool operator==(const Command&) const = default;
};

// Reads the bytes received before a CR. The command starts at the last "<" (line noise before it
// is skipped) and must be followed by its two upper-case checksum digits; anything else is
// nullopt, which the module ignores as a real one on a shared bus would.
std::optional<Command> ParseCommandFrame(std::string_view received);

// Parses a whole non-negative decimal number of at most nine digits.
std::optional<int> ParseDecimal(std::string_view text);

} // namespace kuvar::sim
