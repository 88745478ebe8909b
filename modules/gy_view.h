// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "protocol/measurement_view.h"

namespace kuvar::modules {

struct TGyPage;

// The KUVAR-GY page's measurement view: displays, cbGYScale, Chart2 and the attitude indicator.
class TGyView {
public:
    explicit TGyView(TGyPage& page) : page_(page) {}

    // A stream frame without its head field, beginning with the mode digit (the dispatcher has
    // already put the same text into LastFrame), with its arrival; `shown` gets the displayed
    // values (roll, pitch, yaw).
    void ShowGyFrame(const std::string& shortened, const protocol::ArrivalTime& at,
                     protocol::ShownValues& shown);

private:
    TGyPage& page_;
};

} // namespace kuvar::modules
