// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/messages.h"

namespace kuvar::protocol {

std::string TMessage::Text() const {
    std::string text;
    for (const char* c = source; *c; ++c) {
        const int slot = c[0] == '%' && c[1] >= '1' && c[1] <= '9' ? c[1] - '1' : -1;
        if (slot >= 0 && slot < static_cast<int>(args.size())) {
            text += args[slot];
            ++c;
        } else {
            text += *c;
        }
    }
    return text;
}

} // namespace kuvar::protocol
