// SPDX-License-Identifier: GPL-3.0-or-later
// The chart dialogs fit what they show: the export dialog's whole path and a result that is
// never stale, the editor's colour names readable on their swatches.
#include "charts/chart_editor.h"
#include "charts/chart_window.h"
#include "charts/export_dialog.h"
#include "charts/strip_chart.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kuvar;

TEST(ExportDialogFit, ThePathIsReadableAndAResultGoesWhenTheChoiceChanges) {
    QWidget page;
    charts::TStripChart strip(charts::AcStripChartConfig(), &page);
    charts::AppendChartPoints(strip.Chart(), {1, 2, 3}, 300);
    QTemporaryDir dir;
    charts::TChartExportDialog dialog(strip.Chart(), &page);
    auto* format = dialog.findChild<QComboBox*>(QStringLiteral("cbExportFormat"));
    auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("edExportFile"));
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("lbExportStatus"));
    ASSERT_TRUE(format && file && status);
    dialog.show();
    // Wider than the 282 pixels that showed only "R-AC(mg) Chart.png" of the path, and short
    // enough to stay under the field's limit (two thirds of the offscreen screen's 800 pixels)
    // whatever letters the temporary folder's name draws.
    file->setText(dir.filePath(QStringLiteral("bench/KUVAR-AC(mg) Chart.png")));
    EXPECT_GE(file->width(), file->fontMetrics().horizontalAdvance(file->text()));
    EXPECT_GT(dialog.width(), 282);

    file->setText(dir.filePath(QStringLiteral("R-AC(mg) Chart.png")));
    ASSERT_TRUE(dialog.Save());
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Saved")));
    format->setCurrentIndex(format->findText(QStringLiteral("CSV data")));
    EXPECT_TRUE(file->text().endsWith(QStringLiteral(".csv")));
    EXPECT_TRUE(status->text().isEmpty()) << status->text().toStdString();

    ASSERT_TRUE(dialog.Save());
    file->setText(file->text() + QStringLiteral("x"));
    emit file->textEdited(file->text());
    EXPECT_TRUE(status->text().isEmpty());
}

TEST(ChartEditorSwatches, NamesAreWrittenInAContrastingColour) {
    const struct {
        QColor swatch, text;
    } cases[] = {
        {Qt::black, Qt::white}, {QColor(0, 0, 0x80), Qt::white}, {Qt::blue, Qt::white},
        {Qt::red, Qt::white},   {Qt::white, Qt::black},          {Qt::yellow, Qt::black},
        {Qt::green, Qt::black}, {Qt::cyan, Qt::black},
    };
    for (const auto& c : cases)
        EXPECT_EQ(charts::SwatchTextColour(c.swatch), c.text) << c.swatch.name().toStdString();

    QWidget page;
    charts::TStripChart strip(charts::GyStripChartConfig(), &page);
    charts::TChartEditor editor(strip.Chart(), &page);
    for (QPushButton* swatch : editor.findChildren<QPushButton*>()) {
        if (!swatch->objectName().startsWith(QStringLiteral("btBackground")) &&
            !swatch->objectName().startsWith(QStringLiteral("btSeriesColour")))
            continue;
        const QColor colour(swatch->text());
        ASSERT_TRUE(colour.isValid()) << swatch->objectName().toStdString();
        EXPECT_TRUE(swatch->styleSheet().contains(
            QStringLiteral("color: %1").arg(charts::SwatchTextColour(colour).name())))
            << swatch->styleSheet().toStdString();
    }
}
