// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The instruments of the pages, made in one place with their instance settings.
#include "charts/strip_chart.h"
#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_vc_ind.h"
#include "widgets/ti_analog_display.h"

#include <QString>

using TColourButton = TAbColBitBtn;
using TDisplay = TiAnalogDisplay;
using TIndicator = TAbVCInd;
using TChartPanel = charts::TStripChart;

namespace instruments {

TColourButton* ColourButton(QWidget* parent, const char* name, int x, int y, int w, int h,
                            const QString& caption);
TDisplay* Display(QWidget* parent, const char* name, int x, int y, int w, int h);
TIndicator* Indicator(QWidget* parent, const char* name, int x, int y, int w, int h);
TChartPanel* AcChart(QWidget* page);
TChartPanel* GyChart(QWidget* page);

} // namespace instruments
