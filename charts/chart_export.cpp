// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_export.h"

#include "charts/chart.h"
#include "charts/long_task.h"

#include "base/safe_file.h"
#include "base/time_text.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace kuvar::charts {
namespace {

// Rows written between two looks at the progress.
constexpr qint64 kRowsPerPiece = 16384;

void AppendInteger(qint64 value, QByteArray& out) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, ec == std::errc() ? end - buffer : 0);
}

// Whole numbers as integers (the shortest form would write 100000 as 1e+05), others in the
// shortest form that reads back to the same double.
void AppendNumber(double value, QByteArray& out) {
    if (value == std::trunc(value) && std::abs(value) < 1e15) {
        AppendInteger(static_cast<qint64>(value), out);
        return;
    }
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, ec == std::errc() ? end - buffer : 0);
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

qint64 TChartData::Rows() const {
    qint64 rows = 0;
    for (const THistoryColumn::TSnapshot& line : lines) {
        rows = std::max(rows, line.Size());
    }
    return rows;
}

TChartData ChartData(const TChart& chart) {
    TChartData data;
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        data.titles << chart.Series(i).Title();
        data.lines.push_back(chart.Series(i).Values().Snapshot());
    }
    data.times = chart.Times().Snapshot();
    return data;
}

namespace {

QByteArray HeaderRow(const TChartData& data, QChar separator) {
    QString header = QStringLiteral("X");
    for (const QString& title : data.titles) {
        header += separator + Field(title, separator);
    }
    header += separator + QStringLiteral("Time") + QLatin1String("\r\n");
    return header.toUtf8();
}

void AppendRows(const TChartData& data, char separator, qint64 from, qint64 to, QByteArray& out,
                TIsoTimeText& timeText) {
    for (qint64 row = from; row < to; ++row) {
        AppendInteger(row, out);
        for (const THistoryColumn::TSnapshot& line : data.lines) {
            out += separator;
            if (row < line.Size()) {
                AppendNumber(line.At(row), out);
            }
        }
        out += separator;
        if (row < data.times.Size()) {
            const double ms = data.times.At(row);
            if (std::isfinite(ms)) {
                timeText.Append(static_cast<qint64>(ms), out);
            }
        }
        out += "\r\n";
    }
}

} // namespace

QString ChartDataText(const TChart& chart, QChar separator) {
    const TChartData data = ChartData(chart);
    QByteArray text = HeaderRow(data, separator);
    TIsoTimeText timeText;
    AppendRows(data, separator.toLatin1(), 0, data.Rows(), text, timeText);
    return QString::fromUtf8(text);
}

bool WriteChartData(const TChartData& data, const QString& path, QChar separator,
                    TTaskProgress* progress) {
    try {
        TSafeFileWriter file(path);
        const qint64 rows = data.Rows();
        if (progress) {
            progress->SetTotal(rows);
        }
        QByteArray piece = HeaderRow(data, separator);
        TIsoTimeText timeText;
        for (qint64 row = 0; row < rows; row += kRowsPerPiece) {
            if (progress && progress->Cancelled()) {
                file.Cancel();
                return false;
            }
            AppendRows(data, separator.toLatin1(), row, std::min(rows, row + kRowsPerPiece), piece,
                       timeText);
            file.Write(piece);
            piece.clear();
            if (progress) {
                progress->SetDone(std::min(rows, row + kRowsPerPiece));
            }
        }
        file.Write(piece);
        if (progress && progress->Cancelled()) {
            file.Cancel();
            return false;
        }
        file.Commit();
        return true;
    } catch (const EFileError& e) {
        throw EChartExportError(e.what());
    }
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
    case TExportFormat::Text:
        break;
    }
    return QByteArray();
}

QChar Separator(TExportFormat format) {
    return format == TExportFormat::Csv ? QLatin1Char(',') : QLatin1Char('\t');
}

bool IsData(TExportFormat format) {
    return format == TExportFormat::Csv || format == TExportFormat::Text;
}

} // namespace

void ExportChart(TChart& chart, const QString& path, TExportFormat format) {
    if (IsData(format)) {
        WriteChartData(ChartData(chart), path, Separator(format));
        return;
    }
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

bool ExportChartWithProgress(TChart& chart, const QString& path, TExportFormat format,
                             QWidget* owner) {
    if (!IsData(format)) {
        ExportChart(chart, path, format);
        return true;
    }
    // Taken here, on the UI thread: the worker reads only what the chart held at this moment.
    const TChartData data = ChartData(chart);
    const QChar separator = Separator(format);
    return RunLongTask(
        owner, QObject::tr("Exporting %1 rows").arg(data.Rows()),
        [&](TTaskProgress& progress) { return WriteChartData(data, path, separator, &progress); });
}

} // namespace kuvar::charts
