// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "protocol/controls.h"

namespace kuvar::protocol {

// What the dispatcher writes in the window.
class IReplyTarget {
public:
    virtual ~IReplyTarget() = default;
    // One new line in the receive log Memo1.
    virtual void AppendLog(const std::string& line) = 0;
    // Text of an edit or combo box, or caption of a label.
    virtual void SetText(Control control, const std::string& text) = 0;
    // Check state of rbGYDegrees or rbGYDegSpeed.
    virtual void SetChecked(Control control, bool checked) = 0;
};

} // namespace kuvar::protocol
