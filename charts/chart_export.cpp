// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_export.h"

#include "charts/chart.h"

#include "base/safe_file.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
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

namespace {

// The chart as a picture file's bytes: rendered at its present size, 96 dots per inch.
QByteArray PictureBytes(TChart& chart, const char* format, int quality) {
    QImage picture = chart.toPixmap(0, 0, 1.0).toImage();
    const int dotsPerMeter = static_cast<int>(96 / 0.0254);
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, format, quality))
        throw EChartExportError(
            QStringLiteral("Cannot draw the chart as %1").arg(QLatin1String(format)).toStdString());
    return buffer.data();
}

// The chart as a one-page PDF document of its present size, its lines drawn as vectors.
QByteArray PdfBytes(TChart& chart) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(chart.Title());
        writer.setResolution(chart.logicalDpiX());
        QPageLayout page(
            QPageSize(chart.size(), QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
        page.setMode(QPageLayout::FullPageMode);
        writer.setPageLayout(page);
        QCPPainter painter;
        if (!painter.begin(&writer))
            throw EChartExportError("Cannot draw the chart as PDF");
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        painter.setWindow(QRect(QPoint(0, 0), chart.size()));
        chart.toPainter(&painter);
        painter.end();
    }
    return buffer.data();
}

QByteArray ExportBytes(TChart& chart, TExportFormat format) {
    switch (format) {
    case TExportFormat::Png:
        return PictureBytes(chart, "PNG", -1);
    case TExportFormat::Jpeg:
        return PictureBytes(chart, "JPG", 95);
    case TExportFormat::Bmp:
        return PictureBytes(chart, "BMP", -1);
    case TExportFormat::Pdf:
        return PdfBytes(chart);
    case TExportFormat::Csv:
        return ChartDataText(chart, QLatin1Char(',')).toUtf8();
    case TExportFormat::Text:
        return ChartDataText(chart, QLatin1Char('\t')).toUtf8();
    }
    return QByteArray();
}

} // namespace

void ExportChart(TChart& chart, const QString& path, TExportFormat format) {
    try {
        // Opened first, so that a target that is not a regular file is refused before drawing.
        TSafeFileWriter file(path);
        const QByteArray bytes = ExportBytes(chart, format);
        // Drawing a picture lays the chart out at the picture's size; put the screen back.
        chart.RequestRepaint();
        file.Write(bytes);
        file.Commit();
    } catch (const EFileError& e) {
        throw EChartExportError(e.what());
    }
}

} // namespace kuvar::charts
