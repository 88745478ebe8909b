// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kuvar::protocol {

// 8-bit XOR of the first (count modulo 256) bytes of text; the count travels as one byte.
std::uint8_t FrameChecksum(const std::string& text, int count);

// Two upper-case hexadecimal digits, with a leading zero below 16.
std::string ChecksumDigits(std::uint8_t sum);

// The frame written to the line: text, its checksum digits, CR.
std::string BuildFrame(const std::string& text);

} // namespace kuvar::protocol
