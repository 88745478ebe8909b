// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <vector>

namespace kuvar::charts {

// What differs between the strip chart of the KUVAR-AC page and that of the KUVAR-GY page.
struct TStripChartConfig {
    QString chartName; // the composite's object name
    QRect geometry;    // on the page
    QString title;
    std::array<QString, 3> seriesNames;
    std::array<QString, 3> seriesTitles;
    std::vector<QColor> legendGradient;

    QString quantityLabelName;
    QString quantityLabelText;
    QColor quantityLabelColour;
    QString quantityBoxName;
    QString dataButtonName;
    QString clearButtonName;
    QString clearButtonText;

    QString leftMaxName;
    QString leftMaxUpDownName;
    QString leftMaxText;
    QString leftMinName;
    QString leftMinUpDownName;
    QString leftMinText;

    QString autoBoxName;
    QPoint autoBoxPosition; // on the page, beside (or over) the chart
    bool autoBoxWhite = false;

    int shownDefault = 300; // point count when the box text is not an integer, page shown
    int dataDefault = 300;  // the same for the DATA button
    QString editorName;
};

TStripChartConfig AcStripChartConfig(); // Chart1 on the KUVAR-AC page
TStripChartConfig GyStripChartConfig(); // Chart2 on the KUVAR-GY page

} // namespace kuvar::charts
