// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/strip_chart_config.h"

namespace kuvar::charts {

TStripChartConfig AcStripChartConfig() {
    TStripChartConfig c;
    c.chartName = QStringLiteral("Chart1");
    c.geometry = QRect(0, 120, 833, 473);
    c.title = QStringLiteral("KUVAR-AC(mg) Chart");
    c.seriesNames = {QStringLiteral("Series1"), QStringLiteral("Series2"),
                     QStringLiteral("Series3")};
    c.seriesTitles = {QStringLiteral("AccX"), QStringLiteral("AccY"), QStringLiteral("AccZ")};
    c.legendGradient = {QColor(0x20, 0x03, 0xA5), QColor(0x80, 0x80, 0xFF)};
    c.quantityLabelName = QStringLiteral("lbACDataQuantity");
    c.quantityLabelText = QStringLiteral("View Data Quantity");
    c.quantityLabelColour = QColor(0x00, 0xFF, 0x00);
    c.quantityBoxName = QStringLiteral("edACDataQuantity");
    c.dataButtonName = QStringLiteral("btACDataQuantity");
    c.clearButtonName = QStringLiteral("btChart1Clear");
    c.clearButtonText = QStringLiteral("Chart Clear");
    c.leftMaxName = QStringLiteral("edChart1LeftMax");
    c.leftMaxUpDownName = QStringLiteral("UpDown1");
    c.leftMaxText = QStringLiteral("2000");
    c.leftMinName = QStringLiteral("edChart1LeftMin");
    c.leftMinUpDownName = QStringLiteral("UpDown2");
    c.leftMinText = QStringLiteral("-1000");
    c.autoBoxName = QStringLiteral("cbChart1LeftAuto");
    c.autoBoxPosition = QPoint(273, 92);
    c.autoBoxWhite = false;
    c.shownDefault = 300;
    c.dataDefault = 1000;
    c.editorName = QStringLiteral("ChartEditor1");
    return c;
}

TStripChartConfig GyStripChartConfig() {
    TStripChartConfig c;
    c.chartName = QStringLiteral("Chart2");
    c.geometry = QRect(344, 160, 489, 385);
    c.title = QStringLiteral("KUVAR-GY Chart");
    c.seriesNames = {QStringLiteral("LineSeries1"), QStringLiteral("LineSeries2"),
                     QStringLiteral("LineSeries3")};
    c.seriesTitles = {QStringLiteral("Pitch"), QStringLiteral("Roll"), QStringLiteral("Yaw")};
    c.legendGradient = {QColor(0x20, 0x03, 0xA5), QColor(0x40, 0x00, 0x80), QColor(0, 0, 0xFF)};
    c.quantityLabelName = QStringLiteral("lbGYDataQuantity");
    c.quantityLabelText = QStringLiteral("View");
    c.quantityLabelColour = QColor(0xFF, 0xFF, 0xFF);
    c.quantityBoxName = QStringLiteral("edGYDataQuantity");
    c.dataButtonName = QStringLiteral("btChart2DataQuantity");
    c.clearButtonName = QStringLiteral("btChart2Clear");
    c.clearButtonText = QStringLiteral("clear");
    c.leftMaxName = QStringLiteral("edChart2LeftMax");
    c.leftMaxUpDownName = QStringLiteral("UpDown5");
    c.leftMaxText = QStringLiteral("30");
    c.leftMinName = QStringLiteral("edChart2LeftMin");
    c.leftMinUpDownName = QStringLiteral("UpDown6");
    c.leftMinText = QStringLiteral("-30");
    c.autoBoxName = QStringLiteral("cbChart2LeftAuto");
    c.autoBoxPosition = QPoint(412, 163);
    c.autoBoxWhite = true;
    c.shownDefault = 300;
    c.dataDefault = 300;
    c.editorName = QStringLiteral("ChartEditor2");
    return c;
}

} // namespace kuvar::charts
