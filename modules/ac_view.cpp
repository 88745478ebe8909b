// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ac_view.h"

#include "modules/ac_page.h"
#include "modules/measurement_parse.h"

namespace kuvar::modules {

void TAcView::ShowAcFrame(const std::string& frame, const protocol::ArrivalTime& at,
                          protocol::ShownValues& shown) {
    const auto reading = ParseAcFrame(frame);
    if (!reading)
        return;
    page_.ssACX->SetValue(reading->x - AcOffsetX);
    page_.ssACY->SetValue(reading->y - AcOffsetY);
    page_.ssACZ->SetValue(reading->z - AcOffsetZ);
    shown = {true,
             {page_.ssACX->Value(), page_.ssACY->Value(), page_.ssACZ->Value()},
             page_.ssACX->Precision(),
             "mg"};
    page_.Chart1->AppendChartPoints(shown.values, at.unixMs);
}

void TAcView::ClearAcDisplays() {
    page_.ssACX->SetValue(0);
    page_.ssACY->SetValue(0);
    page_.ssACZ->SetValue(0);
}

void TAcView::CheckBox1Click() {
    if (page_.CheckBox1->isChecked()) {
        AcOffsetX = page_.ssACX->Value();
        AcOffsetY = page_.ssACY->Value();
        AcOffsetZ = page_.ssACZ->Value();
    } else {
        ResetAcOffsets();
    }
}

void TAcView::ResetAcOffsets() {
    AcOffsetX = 0;
    AcOffsetY = 0;
    AcOffsetZ = 0;
}

} // namespace kuvar::modules
