// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/history_column.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

class QWidget;

namespace kuvar::charts {

class TChart;
class TTaskProgress;

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

// The lines' points and the rows' times as they are now, for writing on another thread while the
// chart goes on growing.
struct TChartData {
    QStringList titles;
    std::vector<THistoryColumn::TSnapshot> lines;
    THistoryColumn::TSnapshot times;
    qint64 Rows() const;
};
TChartData ChartData(const TChart& chart);

// The lines' points as text: a header row "X", the line titles and "Time", then one row per point
// index with X, each line's Y (an empty field where a line is shorter) and the row's time as ISO
// 8601 local time with milliseconds and UTC offset (empty where the row has none). X as an
// integer, Y in the shortest form that reads back to the same double. Fields holding the
// separator or a quote are quoted.
QString ChartDataText(const TChart& chart, QChar separator);

// Writes data as ChartDataText does, piece by piece, through the safe writer. With a progress,
// each piece advances it and a cancellation stops the write before the next: nothing is then
// left under path (nor a temporary beside it) and the result is false. Throws EChartExportError
// when the file is not written.
bool WriteChartData(const TChartData& data, const QString& path, QChar separator,
                    TTaskProgress* progress = nullptr);

// Writes the chart as a picture of its present size, or its data as CSV or tab-separated text.
// The chart on screen is left as it was. Throws EChartExportError when the file is not written.
void ExportChart(TChart& chart, const QString& path, TExportFormat format);

// As ExportChart, the data formats written on a worker thread while the window goes on (the
// stream keeps coming) with a progress dialog over owner once it takes long (RunLongTask). False
// when the operator cancelled: nothing is then left under path.
bool ExportChartWithProgress(TChart& chart, const QString& path, TExportFormat format,
                             QWidget* owner);

} // namespace kuvar::charts
