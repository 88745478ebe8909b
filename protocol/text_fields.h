// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kuvar::protocol {

// The text before the first c, or the empty text when there is no c.
std::string Head(const std::string& text, char c);

// The text after the first c, or the whole text when there is no c.
std::string Tail(const std::string& text, char c);

// Characters from 0-based `begin` up to, not including, `end`; clipped at the end of the text,
// empty when the range is empty or inverted.
std::string CopyRange(const std::string& text, std::size_t begin, std::size_t end);

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace kuvar::protocol
