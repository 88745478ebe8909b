// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_window.h"
#include "charts/export_dialog.h"
#include "charts/strip_chart.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

using namespace kuvar;

using charts::ExportChart;
using charts::TExportFormat;

namespace {

// Local time is UTC for the test, so that the times read the same everywhere.
class TUtc {
public:
    TUtc() {
        if (const char* old = std::getenv("TZ")) {
            saved_ = old;
            had_ = true;
        }
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
    }
    ~TUtc() {
        had_ ? ::setenv("TZ", saved_.c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string saved_;
    bool had_ = false;
};

// 2026-12-11T08:15:02.123Z
constexpr qint64 kT0 = 1796976902123;

class ChartExportTest : public ::testing::Test {
protected:
    // Three rows with times, the last one a second later, and a fourth without one.
    ChartExportTest() : strip(charts::AcStripChartConfig(), &page) {
        page.resize(840, 610);
        qint64 at = kT0;
        for (double y : {1.5, -2.0, 0.1}) {
            charts::AppendChartPoints(strip.Chart(), {y, y * 2, y * 3}, 300, at);
            at += 500;
        }
        charts::AppendChartPoints(strip.Chart(), {200000, -7, 1e-3}, 300);
    }
    TUtc utc;
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
    // The existing columns keep their names and places; the time comes last. Whole numbers stay
    // whole (not 2e+05).
    EXPECT_EQ(Read(Path("d.csv")).toStdString(),
              std::string("X,AccX,AccY,AccZ,Time\r\n"
                          "0,1.5,3,4.5,2026-12-11T08:15:02.123+00:00\r\n"
                          "1,-2,-4,-6,2026-12-11T08:15:02.623+00:00\r\n"
                          "2,0.1,0.2,0.30000000000000004,2026-12-11T08:15:03.123+00:00\r\n"
                          "3,200000,-7,0.001,\r\n"));
    ExportChart(strip.Chart(), Path("d.txt"), TExportFormat::Text);
    EXPECT_EQ(Read(Path("d.txt")).toStdString(),
              std::string("X\tAccX\tAccY\tAccZ\tTime\r\n"
                          "0\t1.5\t3\t4.5\t2026-12-11T08:15:02.123+00:00\r\n"
                          "1\t-2\t-4\t-6\t2026-12-11T08:15:02.623+00:00\r\n"
                          "2\t0.1\t0.2\t0.30000000000000004\t2026-12-11T08:15:03.123+00:00\r\n"
                          "3\t200000\t-7\t0.001\t\r\n"));
}

TEST_F(ChartExportTest, ShorterLinesAndTitlesWithTheSeparatorStayInTheirColumns) {
    strip.Chart().Series(1).SetTitle(QStringLiteral("Acc,\"Y\""));
    strip.Chart().Series(0).Clear();
    strip.Chart().Series(2).Add(9);
    EXPECT_EQ(charts::ChartDataText(strip.Chart(), QLatin1Char(',')).toStdString(),
              std::string("X,AccX,\"Acc,\"\"Y\"\"\",AccZ,Time\r\n"
                          "0,,3,4.5,2026-12-11T08:15:02.123+00:00\r\n"
                          "1,,-4,-6,2026-12-11T08:15:02.623+00:00\r\n"
                          "2,,0.2,0.30000000000000004,2026-12-11T08:15:03.123+00:00\r\n"
                          "3,,-7,0.001,\r\n"
                          "4,,,9,\r\n"));
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
    EXPECT_TRUE(Read(Path("chosen.csv")).startsWith("X,AccX,AccY,AccZ,Time\r\n0,1.5,"));
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Saved"))) << status->text().toStdString();

    auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("edExportFile"));
    file->setText(Path("no/such/folder/x.csv"));
    EXPECT_FALSE(dialog.Save());
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Cannot write")));
}

} // namespace
