// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_window.h"

namespace kuvar::charts {

void UpdateChartWindow(TChart& chart, int pointCount) {
    TChartAxis& bottom = chart.BottomAxis();
    const double newest = bottom.Maximum();
    bottom.SetAutomaticMinimum(false);
    if (static_cast<double>(pointCount) < newest)
        bottom.SetMinimum(newest - pointCount);
}

void AppendChartPoints(TChart& chart, const std::array<double, 3>& values, int pointCount,
                       qint64 unixMs) {
    chart.AddRow(values, unixMs);
    UpdateChartWindow(chart, pointCount);
}

void ClearChartPoints(TChart& chart) {
    chart.ClearPoints();
    chart.BottomAxis().SetMinimum(0);
    chart.BottomAxis().SetMaximum(0);
}

} // namespace kuvar::charts
