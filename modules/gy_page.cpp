// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/gy_page.h"

#include <QCoreApplication>

#include "modules/page_builder.h"

namespace kuvar::modules {

namespace {
QString Tr(const char* source) {
    return QCoreApplication::translate("kuvar::modules::TGyPage", source);
}
} // namespace

void TGyPage::Build(QWidget* tabSheet) {
    sheet = tabSheet;
    QWidget* p = tabSheet;
    Label(p, "Label26", 22, 12, QStringLiteral("ID No"));
    edGYID = Edit(p, "edGYID", 13, 25, 52, 21, QStringLiteral("1"));
    btGYIDfind = Button(p, "btGYIDfind", 72, 18, 65, 28, QStringLiteral("ID Find"));
    Label(p, "Label14", 182, 10, QStringLiteral("New ID"));
    edGYNewID = Edit(p, "edGYNewID", 168, 25, 61, 21, QStringLiteral("1"));
    btGYNewID = Button(p, "btGYNewID", 233, 18, 65, 28, QStringLiteral("ID Change"));
    Label(p, "Label15", 343, 10, QStringLiteral("Scale"));
    cbGYScale =
        Combo(p, "cbGYScale", 336, 25, 49, 21,
              {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("8")}, QStringLiteral("1"));
    Button7 = Button(p, "Button7", 392, 18, 65, 28, QStringLiteral("SCALE"));
    Label(p, "Label24", 471, 10, QStringLiteral("INTERVAL"));
    edGYINT = Edit(p, "edGYINT", 471, 25, 41, 21, QStringLiteral("100"));
    udGYINT = new charts::TUpDown(edGYINT, 10, 1000, 10, 100, p);
    udGYINT->setObjectName(QStringLiteral("UpDown7"));
    udGYINT->setGeometry(edGYINT->geometry().right() + 1, edGYINT->y(), 15, edGYINT->height());
    btGYINT = Button(p, "btGYINT", 538, 18, 65, 28, QStringLiteral("Interval"));
    Label(p, "Label13", 181, 61, QStringLiteral("Baudrate"));
    cbGYBaudrate = Combo(p, "cbGYBaudrate", 168, 76, 61, 21,
                         {QStringLiteral("115200"), QStringLiteral("57600"),
                          QStringLiteral("38400"), QStringLiteral("9600")},
                         QStringLiteral("115200"));
    btGYBaudrate = Button(p, "btGYBaudrate", 233, 68, 65, 28, QStringLiteral("Baudrate"));
    Label(p, "Label25", 345, 61, QStringLiteral("Mode"));
    cbGYMode = Combo(p, "cbGYMode", 336, 76, 49, 21, {QStringLiteral("0"), QStringLiteral("1")},
                     QStringLiteral("0"));
    btGYMode = Button(p, "btGYMode", 392, 68, 65, 28, QStringLiteral("Mode"));
    btGYVersion = Button(p, "btGYVersion", 471, 68, 50, 28, QStringLiteral("Version?"));
    edGYVersion = Edit(p, "edGYVersion", 528, 72, 209, 21, QString());
    AbColBitBtn4 = ColourButton(p, "AbColBitBtn4");
    btGYRESET = ColourButton(p, "btGYRESET");
    rbGYDegrees = Radio(p, "rbGYDegrees", 8, 74, Tr("각도값"));
    rbGYDegSpeed = Radio(p, "rbGYDegSpeed", 8, 98, Tr("각속도값"));
    lbGYRoll = CentredLabel(p, "lbGYRoll", 402, 108, 104, QStringLiteral("Roll"));
    lbGYPitch = CentredLabel(p, "lbGYPitch", 554, 108, 104, QStringLiteral("Pitch"));
    lbGYYaw = CentredLabel(p, "lbGYYaw", 698, 108, 104, QStringLiteral("Yaw"));
    ssGYRoll = Display(p, "ssGYRoll");
    ssGYPitch = Display(p, "ssGYPitch");
    ssGYYaw = Display(p, "ssGYYaw");
    btGYSTART = ColourButton(p, "btGYSTART");
    btGYStop = ColourButton(p, "btGYStop");
    btGYSAVE = ColourButton(p, "btGYSAVE");
    btGYAngleReset = ColourButton(p, "btGYAngleReset");
    abGYCircle = Indicator(p);
    Chart2 = GyChart(p);
    cbChart2LeftAuto = Chart2->AutoRangeBox();
}

} // namespace kuvar::modules
