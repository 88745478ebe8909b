// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/chart.h"

#include <array>

namespace kuvar::charts {

// The sliding window of the point axis: once the newest X passes pointCount, the axis shows the
// last pointCount X units. A negative count asks for a minimum above the maximum, which the axis
// refuses with its error.
void UpdateChartWindow(TChart& chart, int pointCount);

// Appends one point to each of the first three lines, their row stamped with unixMs (wall-clock
// milliseconds), then moves the window. The points are in even when the window refuses its new
// edge.
void AppendChartPoints(TChart& chart, const std::array<double, 3>& values, int pointCount,
                       qint64 unixMs = TChart::kNoTime);

// Empties the lines (and their rows' times) and puts the point axis back to 0..0; the next point
// gets X = 0.
void ClearChartPoints(TChart& chart);

} // namespace kuvar::charts
