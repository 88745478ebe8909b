// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_export.h"

#include "charts/chart.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <charconv>

namespace kuvar::charts {
namespace {

QString NumberText(double value) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, ec == std::errc() ? end - buffer : 0);
}

QString Field(const QString& text, QChar separator) {
    if (separator == QLatin1Char('\t')) {
        QString plain = text;
        return plain.replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

const std::vector<TExportFormatInfo>& ExportFormats() {
    static const std::vector<TExportFormatInfo> formats = {
        {TExportFormat::Png, QStringLiteral("PNG picture"), QStringLiteral("png")},
        {TExportFormat::Jpeg, QStringLiteral("JPEG picture"), QStringLiteral("jpg")},
        {TExportFormat::Bmp, QStringLiteral("BMP picture"), QStringLiteral("bmp")},
        {TExportFormat::Pdf, QStringLiteral("PDF document"), QStringLiteral("pdf")},
        {TExportFormat::Csv, QStringLiteral("CSV data"), QStringLiteral("csv")},
        {TExportFormat::Text, QStringLiteral("Text data (tab-separated)"), QStringLiteral("txt")},
    };
    return formats;
}

const TExportFormatInfo& ExportFormatInfo(TExportFormat format) {
    const auto& formats = ExportFormats();
    return *std::find_if(formats.begin(), formats.end(),
                         [format](const TExportFormatInfo& f) { return f.format == format; });
}

QString ChartDataText(const TChart& chart, QChar separator) {
    QString text = QStringLiteral("X");
    int rows = 0;
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        text += separator + Field(chart.Series(i).Title(), separator);
        rows = std::max(rows, chart.Series(i).Count());
    }
    text += QLatin1String("\r\n");
    for (int row = 0; row < rows; ++row) {
        QString line;
        bool haveX = false;
        for (int i = 0; i < chart.SeriesCount(); ++i) {
            const TLineSeries& series = chart.Series(i);
            line += separator;
            if (row >= series.Count())
                continue;
            if (!haveX) {
                line.prepend(NumberText(series.XValue(row)));
                haveX = true;
            }
            line += NumberText(series.YValue(row));
        }
        text += line + QLatin1String("\r\n");
    }
    return text;
}

void ExportChart(TChart& chart, const QString& path, TExportFormat format) {
    bool written = false;
    switch (format) {
    case TExportFormat::Png:
        written = chart.savePng(path);
        break;
    case TExportFormat::Jpeg:
        written = chart.saveJpg(path, 0, 0, 1.0, 95);
        break;
    case TExportFormat::Bmp:
        written = chart.saveBmp(path);
        break;
    case TExportFormat::Pdf:
        written = chart.savePdf(path, 0, 0, QCP::epAllowCosmetic, QString(), chart.Title());
        break;
    case TExportFormat::Csv:
    case TExportFormat::Text: {
        QSaveFile file(path);
        const QChar separator = format == TExportFormat::Csv ? QLatin1Char(',') : QLatin1Char('\t');
        written = file.open(QIODevice::WriteOnly) &&
                  file.write(ChartDataText(chart, separator).toUtf8()) >= 0 && file.commit();
        break;
    }
    }
    if (!written)
        throw EChartExportError(QStringLiteral("Cannot write %1").arg(path).toStdString());
    // Saving a picture lays the chart out at the picture's size; put the screen back.
    chart.RequestRepaint();
}

} // namespace kuvar::charts
