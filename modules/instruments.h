// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The instruments of the pages, made in one place: until the instrument widgets are in, plain
// stand-ins of the same size keep their places.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>

using TColourButton = QPushButton;
using TDisplay = QLabel;
using TIndicator = QFrame;
using TChartPanel = QFrame;

namespace instruments {

TColourButton* ColourButton(QWidget* parent, const char* name, int x, int y, int w, int h,
                            const QString& caption);
TDisplay* Display(QWidget* parent, const char* name, int x, int y, int w, int h);
TIndicator* Indicator(QWidget* parent, const char* name, int x, int y, int w, int h);
TChartPanel* Chart(QWidget* parent, const char* name, int x, int y, int w, int h);

} // namespace instruments
