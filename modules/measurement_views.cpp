// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/measurement_views.h"

#include "base/guard.h"
#include "modules/ac_page.h"

namespace kuvar::modules {

void TMeasurementViews::Connect() {
    ConnectGuarded(acPage_.CheckBox1, &QCheckBox::clicked, acPage_.CheckBox1,
                   [this] { AcView.CheckBox1Click(); });
}

} // namespace kuvar::modules
