// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/text_fields.h"

namespace kuvar::protocol {

std::string Head(const std::string& text, char c) {
    const auto at = text.find(c);
    return at == std::string::npos ? std::string() : text.substr(0, at);
}

std::string Tail(const std::string& text, char c) {
    const auto at = text.find(c);
    return at == std::string::npos ? text : text.substr(at + 1);
}

std::string CopyRange(const std::string& text, std::size_t begin, std::size_t end) {
    if (end > text.size())
        end = text.size();
    if (begin >= end)
        return {};
    return text.substr(begin, end - begin);
}

} // namespace kuvar::protocol
