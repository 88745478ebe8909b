// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ac_page.h"

#include "modules/page_builder.h"

namespace kuvar::modules {

void TAcPage::Build(QWidget* tabSheet) {
    sheet = tabSheet;
    QWidget* p = tabSheet;
    btACIDFind = Button(p, "btACIDFind", 4, 8, 65, 20, QStringLiteral("ID Find"));
    Label(p, "Label11", 5, 34, QStringLiteral("ID No"));
    eID = Edit(p, "eID", 37, 31, 31, 21, QStringLiteral("1"));
    btIDchange = Button(p, "btIDchange", 85, 31, 59, 20, QStringLiteral("ID Change"));
    Label(p, "Label3", 86, 12, QStringLiteral("New"));
    edACNewID = Edit(p, "edACNewID", 112, 9, 32, 21, QStringLiteral("1"));
    Label(p, "Label12", 165, 13, QStringLiteral("Baudrate"));
    cbACBaudrate =
        Combo(p, "cbACBaudrate", 159, 28, 61, 21,
              {QStringLiteral("115200"), QStringLiteral("57600"), QStringLiteral("38400")},
              QStringLiteral("115200"));
    btACBaudrate = Button(p, "btACBaudrate", 220, 15, 53, 34, QStringLiteral("Baudrate"));
    Label(p, "Label20", 291, 12, QStringLiteral("Scale"));
    cbACScale =
        Combo(p, "cbACScale", 288, 27, 33, 21,
              {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("8")}, QStringLiteral("2"));
    btACScale = Button(p, "btACScale", 320, 14, 44, 34, QStringLiteral("SCALE"));
    Label(p, "Label21", 395, 12, QStringLiteral("INT"));
    edACINT = Edit(p, "edACINT", 384, 26, 41, 21, QStringLiteral("100"));
    btACINT = Button(p, "btACINT", 426, 13, 44, 34, QStringLiteral("Interval"));
    Label(p, "Label22", 484, 12, QStringLiteral("Mode"));
    cbACMode =
        Combo(p, "cbACMode", 480, 27, 41, 21,
              {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("3")}, QStringLiteral("0"));
    btACMode = Button(p, "btACMode", 520, 14, 42, 34, QStringLiteral("Mode"));
    btACVersion = Button(p, "btACVersion", 615, 11, 65, 20, QStringLiteral("Version?"));
    edACVersion = Edit(p, "edACVersion", 568, 34, 161, 21, QString());
    AbColBitBtn3 = ColourButton(p, "AbColBitBtn3");
    btACRESTORE = ColourButton(p, "btACRESTORE");
    btACStart = ColourButton(p, "btACStart");
    btACStop = ColourButton(p, "btACStop");
    btACSAVE = ColourButton(p, "btACSAVE");
    CheckBox1 = Check(p, "CheckBox1", 185, 92, QStringLiteral("Auto Offset"));
    Label7 = CentredLabel(p, "Label7", 418, 60, 104, QStringLiteral("AccX(mg)"));
    Label9 = CentredLabel(p, "Label9", 562, 60, 104, QStringLiteral("AccY(mg)"));
    Label10 = CentredLabel(p, "Label10", 714, 60, 104, QStringLiteral("AccZ(mg)"));
    ssACX = Display(p, "ssACX");
    ssACY = Display(p, "ssACY");
    ssACZ = Display(p, "ssACZ");
    Chart1 = AcChart(p);
    cbChart1LeftAuto = Chart1->AutoRangeBox();
}

} // namespace kuvar::modules
