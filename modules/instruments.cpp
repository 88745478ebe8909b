// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/instruments.h"

#include "widgets/kuvar_instances.h"

namespace instruments {

TColourButton* ColourButton(QWidget* parent, const char* name, int x, int y, int w, int h,
                            const QString& caption) {
    auto* button = new TColourButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(caption.isEmpty() ? QString::fromLatin1(name) : caption);
    button->setGeometry(x, y, w, h);
    button->SetTextOn(caption);
    button->SetTextOff(caption);
    // The instance table gives the final look, picture and hint where it knows the button.
    SetupColBitBtn(*button, QString::fromLatin1(name));
    return button;
}

TDisplay* Display(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* display = new TDisplay(parent);
    display->setObjectName(QString::fromLatin1(name));
    display->setAccessibleName(QString::fromLatin1(name));
    display->setGeometry(x, y, w, h);
    SetupAnalogDisplay(*display, QString::fromLatin1(name));
    return display;
}

TIndicator* Indicator(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* indicator = new TIndicator(parent);
    indicator->setObjectName(QString::fromLatin1(name));
    indicator->setAccessibleName(QStringLiteral("Attitude indicator"));
    SetupGyCircle(*indicator);
    indicator->setGeometry(x, y, w, h);
    return indicator;
}

TChartPanel* AcChart(QWidget* page) {
    return new TChartPanel(charts::AcStripChartConfig(), page);
}

TChartPanel* GyChart(QWidget* page) {
    return new TChartPanel(charts::GyStripChartConfig(), page);
}

} // namespace instruments
