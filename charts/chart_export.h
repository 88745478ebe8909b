// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <stdexcept>
#include <vector>

namespace kuvar::charts {

class TChart;

class EChartExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TExportFormat { Png, Jpeg, Bmp, Pdf, Csv, Text };

struct TExportFormatInfo {
    TExportFormat format;
    QString caption; // as offered to the operator
    QString suffix;  // without the dot
};

// Every format the export offers, pictures first.
const std::vector<TExportFormatInfo>& ExportFormats();
const TExportFormatInfo& ExportFormatInfo(TExportFormat format);

// The lines' points as text: a header row "X" and the line titles, then one row per point index
// with X and each line's Y (an empty field where a line is shorter). Numbers in the shortest form
// that reads back to the same double. Fields holding the separator or a quote are quoted.
QString ChartDataText(const TChart& chart, QChar separator);

// Writes the chart as a picture of its present size, or its data as CSV or tab-separated text.
// The chart on screen is left as it was. Throws EChartExportError when the file is not written.
void ExportChart(TChart& chart, const QString& path, TExportFormat format);

} // namespace kuvar::charts
