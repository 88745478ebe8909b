// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_window.h"
#include "charts/export_dialog.h"
#include "charts/strip_chart.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kuvar;

using charts::ExportChart;
using charts::TExportFormat;

namespace {

class ChartExportTest : public ::testing::Test {
protected:
    ChartExportTest() : strip(charts::AcStripChartConfig(), &page) {
        page.resize(840, 610);
        for (double y : {1.5, -2.0, 0.1})
            charts::AppendChartPoints(strip.Chart(), {y, y * 2, y * 3}, 300);
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QWidget page;
    charts::TStripChart strip;
};

TEST_F(ChartExportTest, PicturesAreWrittenAtTheChartsSizeAndTheChartStaysAsItWas) {
    struct Case {
        TExportFormat format;
        const char* name;
    } cases[] = {{TExportFormat::Png, "c.png"},
                 {TExportFormat::Jpeg, "c.jpg"},
                 {TExportFormat::Bmp, "c.bmp"}};
    const QSize size = strip.Chart().size();
    const QCPRange keys = strip.Chart().xAxis->range();
    for (const Case& c : cases) {
        ExportChart(strip.Chart(), Path(c.name), c.format);
        QImage picture(Path(c.name));
        ASSERT_FALSE(picture.isNull()) << c.name;
        EXPECT_EQ(picture.size(), size) << c.name;
        // The gradient background is dark: black and navy only.
        const QColor corner = picture.pixelColor(1, 1);
        EXPECT_LT(corner.red() + corner.green(), 40) << c.name;
        EXPECT_EQ(strip.Chart().size(), size);
        EXPECT_EQ(strip.Chart().xAxis->range(), keys);
    }
    ExportChart(strip.Chart(), Path("c.pdf"), TExportFormat::Pdf);
    EXPECT_TRUE(Read(Path("c.pdf")).startsWith("%PDF")) << "a PDF document";
}

TEST_F(ChartExportTest, DataIsWrittenAsCsvAndTabSeparatedText) {
    ExportChart(strip.Chart(), Path("d.csv"), TExportFormat::Csv);
    EXPECT_EQ(Read(Path("d.csv")).toStdString(), std::string("X,AccX,AccY,AccZ\r\n"
                                                             "0,1.5,3,4.5\r\n"
                                                             "1,-2,-4,-6\r\n"
                                                             "2,0.1,0.2,0.30000000000000004\r\n"));
    ExportChart(strip.Chart(), Path("d.txt"), TExportFormat::Text);
    EXPECT_EQ(Read(Path("d.txt")).toStdString(),
              std::string("X\tAccX\tAccY\tAccZ\r\n"
                          "0\t1.5\t3\t4.5\r\n"
                          "1\t-2\t-4\t-6\r\n"
                          "2\t0.1\t0.2\t0.30000000000000004\r\n"));
}

TEST_F(ChartExportTest, ShorterLinesAndTitlesWithTheSeparatorStayInTheirColumns) {
    strip.Chart().Series(1).SetTitle(QStringLiteral("Acc,\"Y\""));
    strip.Chart().Series(0).Clear();
    EXPECT_EQ(charts::ChartDataText(strip.Chart(), QLatin1Char(',')).toStdString(),
              std::string("X,AccX,\"Acc,\"\"Y\"\"\",AccZ\r\n"
                          "0,,3,4.5\r\n"
                          "1,,-4,-6\r\n"
                          "2,,0.2,0.30000000000000004\r\n"));
}

TEST_F(ChartExportTest, UnwritableFileIsReported) {
    const QString missing = Path("no/such/folder/d.csv");
    for (TExportFormat format : {TExportFormat::Csv, TExportFormat::Png})
        EXPECT_THROW(ExportChart(strip.Chart(), missing, format), charts::EChartExportError);
}

TEST_F(ChartExportTest, DialogSavesTheChosenFormatToTheChosenFile) {
    charts::TChartExportDialog dialog(strip.Chart(), &page);
    auto* format = dialog.findChild<QComboBox*>(QStringLiteral("cbExportFormat"));
    auto* browse = dialog.findChild<QPushButton*>(QStringLiteral("btExportBrowse"));
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("lbExportStatus"));
    ASSERT_TRUE(format && browse && status);
    format->setCurrentIndex(format->findText(QStringLiteral("CSV data")));
    QString offeredFilter;
    dialog.chooseFile = [&](QWidget*, const QString& filter, const QString&) {
        offeredFilter = filter;
        return Path("chosen"); // without a suffix: the format's is added
    };
    browse->click();
    EXPECT_EQ(offeredFilter, QStringLiteral("CSV data (*.csv)"));
    EXPECT_TRUE(Read(Path("chosen.csv")).startsWith("X,AccX,AccY,AccZ\r\n0,1.5,"));
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Saved"))) << status->text().toStdString();

    auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("edExportFile"));
    file->setText(Path("no/such/folder/x.csv"));
    EXPECT_FALSE(dialog.Save());
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Cannot write")));
}

} // namespace
