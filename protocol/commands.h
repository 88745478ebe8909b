// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kuvar::protocol {

// The command texts the window sends: "<" id ">" , "<" id " " verb ">" or
// "<" id " " verb " " argument ">"; BuildFrame adds the checksum digits and the CR. IDs and
// arguments go as typed, an empty argument included ("<1 SCALE >"): nothing is checked here.
std::string CommandText(std::string_view id);
std::string CommandText(std::string_view id, std::string_view verb);
std::string CommandText(std::string_view id, std::string_view verb, std::string_view argument);

// The number of the SPEED command for a module baud rate: "115200" 1, "57600" 2, "38400" 3,
// compared whole and case-sensitively; any other text has none.
std::optional<int> SpeedNumber(std::string_view rate);
// Throws std::invalid_argument naming the rate when the module has no SPEED command for it.
void RequireModuleRate(std::string_view rate);
// "<" id " SPEED " n ">"; RequireModuleRate first.
std::string SpeedCommandText(std::string_view id, std::string_view rate);

} // namespace kuvar::protocol
