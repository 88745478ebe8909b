// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kuvar::modules {

// The text before the first c, or the empty text when there is no c.
std::string_view HeadView(std::string_view text, char c);
// The text after the first c, or the whole text when there is no c.
std::string_view TailView(std::string_view text, char c);

// A decimal number as the modules send it ("+00012", "-4.5", "1e3"); anything else, the empty
// text included, gives 0.
double NumberOrZero(std::string_view text);
// A decimal integer with an optional sign that fits 32 bits, else fallback.
std::int32_t IntOrDefault(std::string_view text, std::int32_t fallback);

struct AcReading {
    double x = 0;
    double y = 0;
    double z = 0;
};

// An accelerometer frame: "[1 02 +00012 -00034 +01000]" (longer than five characters, no "@")
// or "@+00012 -00034 +01000 ". Other shapes give nothing.
std::optional<AcReading> ParseAcFrame(std::string_view frame);

struct GyReading {
    char mode = '0';    // '0' angles in tenths of a degree, '1' angular rates
    int scaleDigit = 0; // the full-scale digit after the mode digit, 0 when it is not a digit
    double roll = 0;    // as sent, before any factor
    double pitch = 0;
    double yaw = 0;
};

// A gyro frame without its head field, beginning with the mode digit: "01 +00123 -00045 +01800]".
// A mode digit other than '0' or '1' gives nothing.
std::optional<GyReading> ParseGyFrame(std::string_view shortened);

} // namespace kuvar::modules
