// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modules/ac_view.h"
#include "modules/gy_view.h"
#include "protocol/measurement_view.h"

namespace kuvar::modules {

struct TAcPage;
struct TGyPage;

// Both pages' views behind the one interface the dispatcher calls.
class TMeasurementViews : public protocol::IMeasurementView {
public:
    TMeasurementViews(TAcPage& ac, TGyPage& gy) : AcView(ac), GyView(gy), acPage_(ac) {}

    void ShowAcFrame(const std::string& frame, const protocol::ArrivalTime& at,
                     protocol::ShownValues& shown) override {
        AcView.ShowAcFrame(frame, at, shown);
    }
    void ClearAcDisplays() override { AcView.ClearAcDisplays(); }
    void ShowGyFrame(const std::string& frame, const protocol::ArrivalTime& at,
                     protocol::ShownValues& shown) override {
        GyView.ShowGyFrame(frame, at, shown);
    }

    // "Auto Offset" (CheckBox1) runs CheckBox1Click, guarded.
    void Connect();

    TAcView AcView;
    TGyView GyView;

private:
    TAcPage& acPage_;
};

} // namespace kuvar::modules
