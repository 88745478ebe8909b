// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The instruments of the pages, made in one place with their instance settings.
#include "charts/strip_chart.h"
#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_vc_ind.h"
#include "widgets/ti_analog_display.h"

#include <QString>

namespace kuvar::modules {

TAbColBitBtn* ColourButton(QWidget* parent, const char* name, int x, int y, int w, int h,
                           const QString& caption);
TiAnalogDisplay* Display(QWidget* parent, const char* name, int x, int y, int w, int h);
TAbVCInd* Indicator(QWidget* parent, const char* name, int x, int y, int w, int h);
charts::TStripChart* AcChart(QWidget* page);
charts::TStripChart* GyChart(QWidget* page);

} // namespace kuvar::modules
