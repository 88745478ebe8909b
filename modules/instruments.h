// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The self-drawn instruments of the window, each made from one table entry that gives all of its
// instance settings: place, size, captions, picture, hint, face and visibility.
#include "charts/strip_chart.h"
#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_vc_ind.h"
#include "widgets/ti_analog_display.h"

#include <vector>

namespace kuvar::modules {

// The colour buttons of the top panel and of both pages, top panel first.
std::vector<const char*> ColourButtonNames();
// Applies the table entry of `name` (objectName and accessible name included); false for a name
// that has none.
bool SetupColourButton(TAbColBitBtn& button, const char* name);
// A new colour button on parent; a name without a table entry is a program error (logic_error).
TAbColBitBtn* ColourButton(QWidget* parent, const char* name);

// ssACX, ssACY, ssACZ (129 x 30, 19-pixel digits) and ssGYRoll, ssGYPitch, ssGYYaw (129 x 25,
// 16-pixel digits): lime bold digits, red "Error" on black.
bool SetupDisplay(TiAnalogDisplay& display, const char* name);
TiAnalogDisplay* Display(QWidget* parent, const char* name);

// abGYCircle, 361 x 361 at (-8, 202) on the KUVAR-GY page.
void SetupIndicator(TAbVCInd& indicator);
TAbVCInd* Indicator(QWidget* parent);

charts::TStripChart* AcChart(QWidget* page);
charts::TStripChart* GyChart(QWidget* page);

} // namespace kuvar::modules
