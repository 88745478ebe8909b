// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modules/ac_view.h"
#include "modules/gy_view.h"
#include "modules/page_events.h"
#include "protocol/measurement_view.h"

namespace kuvar::modules {

struct TAcPage;
struct TGyPage;

// Both pages' views behind the one interface the dispatcher calls.
class TMeasurementViews : public protocol::IMeasurementView {
public:
    TMeasurementViews(TAcPage& ac, TGyPage& gy) : Ac(ac), Gy(gy), acPage_(ac) {}

    void ShowAcFrame(const std::string& frame) override { Ac.ShowAcFrame(frame); }
    void ClearAcDisplays() override { Ac.ClearAcDisplays(); }
    void ShowGyFrame(const std::string& frame) override { Gy.ShowGyFrame(frame); }

    // "Auto Offset" (CheckBox1) runs CheckBox1Click through the guard.
    void Connect(const Guard& guard);

    TAcView Ac;
    TGyView Gy;

private:
    TAcPage& acPage_;
};

} // namespace kuvar::modules
