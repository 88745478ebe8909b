// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/measurement_views.h"

#include "modules/ac_page.h"

namespace kuvar::modules {

void TMeasurementViews::Connect(const Guard& guard) {
    QObject::connect(acPage_.CheckBox1, &QCheckBox::clicked, acPage_.CheckBox1,
                     [this, guard] { guard([this] { Ac.CheckBox1Click(); }); });
}

} // namespace kuvar::modules
