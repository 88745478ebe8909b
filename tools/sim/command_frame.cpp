// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/command_frame.h"

#include "tools/sim/checksum.h"

#include <vector>

namespace kuvar::sim {

std::optional<int> ParseDecimal(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<Command> ParseCommandFrame(std::string_view received) {
    const auto start = received.rfind('<');
    if (start == std::string_view::npos)
        return std::nullopt;
    const std::string_view frame = received.substr(start);
    if (frame.size() < 5)
        return std::nullopt;
    const std::string_view text = frame.substr(0, frame.size() - 2);
    if (text.back() != '>' || frame.substr(frame.size() - 2) != ChecksumDigits(XorChecksum(text)))
        return std::nullopt;

    // Fields are separated by single blanks; an empty field ("<1  SCALE>") is not a command.
    std::vector<std::string_view> fields;
    std::string_view inner = text.substr(1, text.size() - 2);
    while (true) {
        const auto blank = inner.find(' ');
        fields.push_back(inner.substr(0, blank));
        if (fields.back().empty())
            return std::nullopt;
        if (blank == std::string_view::npos)
            break;
        inner.remove_prefix(blank + 1);
    }
    if (fields.size() > 3 || fields[0].size() > 3)
        return std::nullopt;
    const auto id = ParseDecimal(fields[0]);
    if (!id)
        return std::nullopt;
    Command command;
    command.id = *id;
    if (fields.size() > 1)
        command.word = std::string(fields[1]);
    if (fields.size() > 2)
        command.arg = std::string(fields[2]);
    return command;
}

} // namespace kuvar::sim
