// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/checksum.h"

namespace kuvar::sim {

std::uint8_t XorChecksum(std::string_view text) {
    std::uint8_t sum = 0;
    for (char c : text)
        sum ^= static_cast<std::uint8_t>(c);
    return sum;
}

std::string ChecksumDigits(std::uint8_t sum) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[sum >> 4], kHex[sum & 0x0F]};
}

} // namespace kuvar::sim
