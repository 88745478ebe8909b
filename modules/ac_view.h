// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "protocol/measurement_view.h"

namespace kuvar::modules {

struct TAcPage;

// The KUVAR-AC page's measurement view: the three displays, the offsets of "Auto Offset" and the
// feed of Chart1.
class TAcView {
public:
    explicit TAcView(TAcPage& page) : page_(page) {}

    // A stream frame as the dispatcher hands it on (LastFrame as received), with its arrival;
    // `shown` gets the displayed values.
    void ShowAcFrame(const std::string& frame, const protocol::ArrivalTime& at,
                     protocol::ShownValues& shown);
    // The scale reply of the ID search: the displays show 0, the chart is not fed.
    void ClearAcDisplays();
    // "Auto Offset" clicked: checked captures the displayed values, unchecked drops the offsets.
    void CheckBox1Click();
    // Showing the page (TabSheet3Show) zeroes the offsets; the check box keeps its state.
    void ResetAcOffsets();

    double AcOffsetX = 0;
    double AcOffsetY = 0;
    double AcOffsetZ = 0;

private:
    TAcPage& page_;
};

} // namespace kuvar::modules
