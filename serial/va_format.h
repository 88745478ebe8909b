// SPDX-License-Identifier: GPL-3.0-or-later
// Message and device-name formatting of the serial component (pure functions).
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kuvar::serial {

using TVaFormatArg = std::variant<long long, std::string>;

// printf-like: %d and %s take the next argument in order, %% is a percent sign; any other
// sequence, or a placeholder without an argument left, is copied unchanged. Arguments left
// over are ignored.
std::string FormatCommMessage(std::string_view pattern, const std::vector<TVaFormatArg>& args);

// DeviceName with PortNum put in. The pattern is the user's text, so it is never handed to
// printf: only %d/%i/%u take the number.
std::string FormatPortName(std::string_view pattern, long long portNum);

// The device file the POSIX back end opens for a port name: "\\.\COMn" is /dev/ttyS(n-1),
// every other name is a path as typed. Empty when "\\.\COMn" has no device (n < 1).
std::string PosixDeviceFile(std::string_view portName);

// A system error text as messages show it: trailing blanks, control characters and full
// stops removed, at most 255 bytes.
std::string TrimErrorText(std::string_view text);

} // namespace kuvar::serial
