// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/commands.h"

#include <stdexcept>

namespace kuvar::protocol {

std::string CommandText(std::string_view id) {
    std::string text = "<";
    text += id;
    text += '>';
    return text;
}

std::string CommandText(std::string_view id, std::string_view verb) {
    std::string text = "<";
    text += id;
    text += ' ';
    text += verb;
    text += '>';
    return text;
}

std::string CommandText(std::string_view id, std::string_view verb, std::string_view argument) {
    std::string text = "<";
    text += id;
    text += ' ';
    text += verb;
    text += ' ';
    text += argument;
    text += '>';
    return text;
}

std::optional<int> SpeedNumber(std::string_view rate) {
    if (rate == "115200")
        return 1;
    if (rate == "57600")
        return 2;
    if (rate == "38400")
        return 3;
    return std::nullopt;
}

void RequireModuleRate(std::string_view rate) {
    if (!SpeedNumber(rate))
        throw std::invalid_argument("Baudrate \"" + std::string(rate) +
                                    "\" cannot be set in the module (115200, 57600 or 38400)");
}

std::string SpeedCommandText(std::string_view id, std::string_view rate) {
    RequireModuleRate(rate);
    return CommandText(id, "SPEED", std::to_string(*SpeedNumber(rate)));
}

} // namespace kuvar::protocol
