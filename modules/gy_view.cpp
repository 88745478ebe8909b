// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/gy_view.h"

#include "modules/control_text.h"
#include "modules/gy_page.h"
#include "modules/measurement_parse.h"

namespace kuvar::modules {

void TGyView::ShowGyFrame(const std::string& shortened, const protocol::ArrivalTime& at,
                          protocol::ShownValues& shown) {
    const auto reading = ParseGyFrame(shortened);
    if (!reading)
        return;
    TGyPage& p = page_;
    auto noteShown = [&](const char* unit) {
        shown = {true,
                 {p.ssGYRoll->Value(), p.ssGYPitch->Value(), p.ssGYYaw->Value()},
                 p.ssGYRoll->Precision(),
                 unit};
    };
    if (reading->mode == '0') {
        // Only a different digit is written: a stream of equal frames raises no text changes.
        SetControlText(p.cbGYScale, QString(QChar(u'0' + reading->scaleDigit)));
        p.ssGYRoll->SetValue(reading->roll * 0.1);
        p.ssGYPitch->SetValue(reading->pitch * 0.1);
        p.ssGYYaw->SetValue(reading->yaw * 0.1);
        noteShown("deg");
        // The append and the window move are split so that the indicator is set before a refusal
        // of the window move can end the frame.
        p.Chart2->Chart().AddRow({p.ssGYPitch->Value(), p.ssGYRoll->Value(), p.ssGYYaw->Value()},
                                 at.unixMs);
        p.abGYCircle->SetPitch(static_cast<float>(p.ssGYPitch->Value()));
        p.abGYCircle->SetRoll(static_cast<float>(p.ssGYRoll->Value()));
        p.abGYCircle->SetCourse(static_cast<float>(p.ssGYYaw->Value()));
        p.Chart2->UpdateChartWindow(p.Chart2->ViewQuantity());
    } else {
        p.ssGYRoll->SetValue(reading->roll);
        p.ssGYPitch->SetValue(reading->pitch);
        p.ssGYYaw->SetValue(reading->yaw);
        noteShown("mdeg/s");
        p.Chart2->AppendChartPoints({p.ssGYPitch->Value(), p.ssGYRoll->Value(), p.ssGYYaw->Value()},
                                    at.unixMs);
    }
}

} // namespace kuvar::modules
