// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/instruments.h"

#include "widgets/kuvar_instances.h"

namespace kuvar::modules {

TAbColBitBtn* ColourButton(QWidget* parent, const char* name, int x, int y, int w, int h,
                           const QString& caption) {
    auto* button = new TAbColBitBtn(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(caption.isEmpty() ? QString::fromLatin1(name) : caption);
    button->setGeometry(x, y, w, h);
    button->SetTextOn(caption);
    button->SetTextOff(caption);
    // The instance table gives the final look, picture and hint where it knows the button.
    SetupColBitBtn(*button, QString::fromLatin1(name));
    return button;
}

TiAnalogDisplay* Display(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* display = new TiAnalogDisplay(parent);
    display->setObjectName(QString::fromLatin1(name));
    display->setAccessibleName(QString::fromLatin1(name));
    display->setGeometry(x, y, w, h);
    SetupAnalogDisplay(*display, QString::fromLatin1(name));
    return display;
}

TAbVCInd* Indicator(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* indicator = new TAbVCInd(parent);
    indicator->setObjectName(QString::fromLatin1(name));
    indicator->setAccessibleName(QStringLiteral("Attitude indicator"));
    SetupGyCircle(*indicator);
    indicator->setGeometry(x, y, w, h);
    return indicator;
}

charts::TStripChart* AcChart(QWidget* page) {
    return new charts::TStripChart(charts::AcStripChartConfig(), page);
}

charts::TStripChart* GyChart(QWidget* page) {
    return new charts::TStripChart(charts::GyStripChartConfig(), page);
}

} // namespace kuvar::modules
