// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/frame.h"

#include <algorithm>

namespace kuvar::protocol {

std::uint8_t FrameChecksum(const std::string& text, int count) {
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::uint8_t>(count & 0xFF), text.size());
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum ^= static_cast<std::uint8_t>(text[i]);
    return sum;
}

std::string ChecksumDigits(std::uint8_t sum) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[sum >> 4], kHex[sum & 0x0F]};
}

std::string BuildFrame(const std::string& text) {
    return text + ChecksumDigits(FrameChecksum(text, static_cast<int>(text.size()))) + '\r';
}

} // namespace kuvar::protocol
