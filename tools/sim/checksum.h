// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kuvar::sim {

// 8-bit XOR of every byte of the text.
std::uint8_t XorChecksum(std::string_view text);

// The checksum as two upper-case hexadecimal digits, "0B" for 11.
std::string ChecksumDigits(std::uint8_t sum);

} // namespace kuvar::sim
