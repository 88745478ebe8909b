// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace kuvar::sim {

using Reading = std::array<int, 3>;

// "[1 02 +00012 -00034 +01000]": ID, mode digit and scale digit, then three signed readings.
std::string FormatBracketFrame(int id, int mode, int scale, const Reading& values);

// The accelerometer's mode 3: "@+00012 -00034 +01000 ", each reading closed by a blank.
std::string FormatAtSignFrame(const Reading& values);

// "+00012": a sign and at least five digits.
std::string FormatReading(int value);

} // namespace kuvar::sim
