// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "protocol/arrival_clock.h"
#include "protocol/controls.h"
#include "protocol/measurement_view.h"

namespace kuvar::protocol {

// The module a reply belongs to, as RxMode tells it; None while replies are only logged.
enum class ModulePage { None, Ac, Gy };

// One reply after the dispatcher has handled it (also when its handling failed).
struct ReplyRecord {
    const std::string& text; // as framed, without its checksum characters
    ArrivalTime at;
    ModulePage page;
    const ShownValues& shown; // what the displays show of it, if it was a shown frame
};

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
    // Every reply once it has been handled, for a recording; must not throw.
    virtual void RecordReply(const ReplyRecord& record) noexcept {}
};

} // namespace kuvar::protocol
