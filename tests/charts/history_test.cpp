// SPDX-License-Identifier: GPL-3.0-or-later
// The charts' history: columns in the run's history file, their ranges, the long-history export
// with its ends and its cancellation, and the wait that keeps the window going meanwhile.
#include "base/guard.h"
#include "charts/chart.h"
#include "charts/chart_export.h"
#include "charts/long_task.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <limits>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>

using namespace kuvar;
using namespace kuvar::charts;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Small chunks, so that a few hundred thousand values cross many chunk edges.
constexpr std::size_t kSmallChunk = 4096;

double Pattern(qint64 i) {
    if (i % 9973 == 5) {
        return kNaN;
    }
    if (i == 123457) {
        return kInf;
    }
    // Slow waves with a spike now and then, so that every block has its own range.
    return std::sin(double(i) / 700.0) * 100 + ((i * 7919) % 100003 == 1 ? 5000 : 0);
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

TEST(HistoryColumn, RangesOfAnyStretchAgreeWithItsValues) {
    QTemporaryDir dir;
    auto file = THistoryFile::Open(dir.path(), kSmallChunk);
    THistoryColumn column(file);
    constexpr qint64 kCount = 200003;
    for (qint64 i = 0; i < kCount; ++i) {
        column.Append(Pattern(i));
    }
    ASSERT_EQ(column.Size(), kCount);
    EXPECT_TRUE(std::isnan(column.At(5)));
    EXPECT_EQ(column.At(kCount - 1), Pattern(kCount - 1));
    const qint64 block = THistoryColumn::kBlock;
    const qint64 group = block * block;
    const struct {
        qint64 from, to;
    } cases[] = {
        {0, 1},
        {5, 6},
        {0, block},
        {1, block + 1},
        {block - 1, block + 1},
        {0, group},
        {group - 3, group + 3},
        {7, 2 * group + 5},
        {1000, 150000},
        {0, kCount},
        {kCount - 2, kCount},
        {kCount - 1, kCount + 50},
        {-10, 300},
        {200, 100},
    };
    for (const auto& c : cases) {
        double wantLo = kInf;
        double wantHi = -kInf;
        for (qint64 i = std::max<qint64>(0, c.from); i < std::min(c.to, kCount); ++i) {
            const double v = Pattern(i);
            if (std::isfinite(v)) {
                wantLo = std::min(wantLo, v);
                wantHi = std::max(wantHi, v);
            }
        }
        double lo = 0;
        double hi = 0;
        const bool found = column.Range(c.from, c.to, lo, hi);
        EXPECT_EQ(found, wantLo <= wantHi) << c.from << ".." << c.to;
        if (found) {
            EXPECT_EQ(lo, wantLo) << c.from << ".." << c.to;
            EXPECT_EQ(hi, wantHi) << c.from << ".." << c.to;
        }
    }
    // A stretch of nothing but NaN has no range.
    double lo = 0;
    double hi = 0;
    EXPECT_FALSE(column.Range(5, 6, lo, hi));
}

TEST(HistoryFile, ClearedLinesGiveTheirRoomBackAndSnapshotsKeepTheirValues) {
    QTemporaryDir dir;
    auto file = THistoryFile::Open(dir.path(), kSmallChunk);
    // The file is unlinked from the start: nothing to leave behind in the folder.
    EXPECT_TRUE(Entries(dir.path()).isEmpty()) << Entries(dir.path()).join(' ').toStdString();
    THistoryColumn column(file);
    for (int i = 0; i < 3 * int(kSmallChunk) + 1; ++i) {
        column.Append(i);
    }
    const qint64 chunkBytes = kSmallChunk * sizeof(double);
    EXPECT_EQ(file->FileBytesInUse(), 4 * chunkBytes);
    EXPECT_EQ(file->MemoryChunks(), 0);
    THistoryColumn::TSnapshot snapshot = column.Snapshot();
    column.Clear();
    EXPECT_EQ(column.Size(), 0);
    for (int i = 0; i < 10; ++i) {
        column.Append(-i);
    }
    // The snapshot reads what the column held when it was taken.
    EXPECT_EQ(snapshot.Size(), 3 * qint64(kSmallChunk) + 1);
    EXPECT_EQ(snapshot.At(0), 0);
    EXPECT_EQ(snapshot.At(3 * qint64(kSmallChunk)), 3 * double(kSmallChunk));
    EXPECT_EQ(file->FileBytesInUse(), 5 * chunkBytes);
    snapshot = {};
    EXPECT_EQ(file->FileBytesInUse(), chunkBytes);
    column.Clear();
    EXPECT_EQ(file->FileBytesInUse(), 0);
}

// Where the file cannot be had or cannot grow, the points are still kept, in memory, and the
// error line says so once.
TEST(HistoryFile, WithoutRoomOnDiskThePointsStayInMemoryAndTheLineSaysSoOnce) {
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QStringList messages;
    SetAppExceptionHandler(
        [&](const std::exception& e) { messages << QString::fromUtf8(e.what()); });
    for (bool limit : {false, true}) {
        messages.clear();
        const QString folder = limit ? dir.path() : dir.filePath(QStringLiteral("plain/cache"));
        auto file = THistoryFile::Open(folder, kSmallChunk);
        THistoryColumn column(file);
        {
            rlimit saved{};
            ::getrlimit(RLIMIT_FSIZE, &saved);
            auto* previous = std::signal(SIGXFSZ, SIG_IGN);
            if (limit) {
                const rlimit small{1024, saved.rlim_max};
                ::setrlimit(RLIMIT_FSIZE, &small);
            }
            for (int i = 0; i < 2 * int(kSmallChunk) + 3; ++i) {
                column.Append(i * 0.5);
            }
            ::setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, previous);
        }
        EXPECT_EQ(file->MemoryChunks(), 3) << limit;
        EXPECT_EQ(column.At(2 * qint64(kSmallChunk) + 2), double(kSmallChunk) + 1) << limit;
        ASSERT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Chart history kept in memory: Cannot ")))
            << messages[0].toStdString();
        EXPECT_TRUE(messages[0].endsWith(limit ? QStringLiteral("File too large")
                                               : QStringLiteral("Permission denied")))
            << messages[0].toStdString();
        column.Clear();
        EXPECT_EQ(file->MemoryChunks(), 0);
    }
    SetAppExceptionHandler(nullptr);
}

namespace {

// A chart of three lines over a history file of small chunks, with `rows` timed rows.
struct TLongChart {
    explicit TLongChart(const QString& folder, qint64 rows)
        : chart(nullptr, THistoryFile::Open(folder, kSmallChunk)) {
        for (const char* title : {"A", "B", "C"}) {
            chart.AddSeries(QString::fromLatin1(title), Qt::red);
        }
        for (qint64 i = 0; i < rows; ++i) {
            chart.AddRow({double(i), -0.5 * double(i), 1e6 + double(i % 1000)}, kT0 + 2 * i);
        }
    }
    static constexpr qint64 kT0 = 1796976902123;
    TChart chart;
};

QList<QByteArray> Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

} // namespace

// A long history is written whole and right at both ends, also while the chart goes on growing
// and is cleared after the snapshot was taken.
TEST(LongHistoryExport, EveryRowIsWrittenAndTheEndsAreRight) {
    QTemporaryDir dir;
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    constexpr qint64 kRows = 300001;
    TLongChart data(dir.path(), kRows);
    const TChartData snapshot = ChartData(data.chart);
    data.chart.AddRow({1, 2, 3});
    data.chart.ClearPoints();
    const QString path = dir.filePath(QStringLiteral("long.csv"));
    TTaskProgress progress;
    ASSERT_TRUE(WriteChartData(snapshot, path, QLatin1Char(','), &progress));
    EXPECT_EQ(progress.Total(), kRows);
    EXPECT_EQ(progress.Done(), kRows);
    const QList<QByteArray> lines = Lines(path);
    ASSERT_EQ(lines.size(), kRows + 1);
    EXPECT_EQ(lines[0], "X,A,B,C,Time\r");
    EXPECT_EQ(lines[1], "0,0,0,1000000,2026-12-11T08:15:02.123+00:00\r");
    EXPECT_EQ(lines[2], "1,1,-0.5,1000001,2026-12-11T08:15:02.125+00:00\r");
    EXPECT_EQ(lines[kRows - 1], "299999,299999,-149999.5,1000999,2026-12-11T08:25:02.121+00:00\r");
    EXPECT_EQ(lines[kRows], "300000,300000,-150000,1000000,2026-12-11T08:25:02.123+00:00\r");
    ::unsetenv("TZ");
    ::tzset();
}

TEST(LongHistoryExport, ACancelledExportLeavesNoFile) {
    QTemporaryDir dir;
    TLongChart data(dir.path(), 200000);
    const TChartData snapshot = ChartData(data.chart);
    const QString folder = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/chart.csv");
    for (bool midway : {false, true}) {
        TTaskProgress progress;
        std::thread canceller;
        if (midway) {
            canceller = std::thread([&] {
                while (progress.Done() == 0) {
                    std::this_thread::yield();
                }
                progress.Cancel();
            });
        } else {
            progress.Cancel();
        }
        EXPECT_FALSE(WriteChartData(snapshot, path, QLatin1Char(','), &progress)) << midway;
        if (canceller.joinable()) {
            canceller.join();
        }
        EXPECT_LT(progress.Done(), 200000) << midway;
        EXPECT_TRUE(Entries(folder).isEmpty()) << Entries(folder).join(' ').toStdString();
    }
}

namespace {

QProgressDialog* VisibleProgressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

} // namespace

// A long task shows its progress after half a second and stops on Cancel; meanwhile the event
// loop goes on (a stream would keep coming). A short one shows nothing; a failing one's error
// reaches the caller.
TEST(LongTask, ShowsProgressAfterHalfASecondGoesOnWithEventsAndStopsOnCancel) {
    QWidget owner;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);

    QElapsedTimer clock;
    clock.start();
    qint64 shownAfterMs = -1;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QProgressDialog* dialog = VisibleProgressDialog(); dialog && shownAfterMs < 0) {
            shownAfterMs = clock.elapsed();
            if (auto* cancel = dialog->findChild<QPushButton*>()) {
                cancel->click();
            }
        }
    });
    watcher.start(20);
    const bool finished = RunLongTask(&owner, QStringLiteral("Writing"), [](TTaskProgress& p) {
        p.SetTotal(100);
        for (int i = 0; i < 3000 && !p.Cancelled(); ++i) {
            p.SetDone(i % 100);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return !p.Cancelled();
    });
    EXPECT_FALSE(finished);
    EXPECT_GE(shownAfterMs, kProgressAfterMs);
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_GT(ticks, 10) << "the event loop stood still";
    EXPECT_EQ(VisibleProgressDialog(), nullptr);

    shownAfterMs = -1;
    clock.restart();
    EXPECT_TRUE(RunLongTask(&owner, QStringLiteral("Quick"), [](TTaskProgress&) { return true; }));
    EXPECT_EQ(shownAfterMs, -1);
    EXPECT_THROW(RunLongTask(&owner, QStringLiteral("Failing"),
                             [](TTaskProgress&) -> bool { throw std::runtime_error("full"); }),
                 std::runtime_error);
}

// A window over a million points still shows a single spike among them, and its value range.
TEST(SeriesPlot, AWideWindowShowsASingleSpikeAndItsRange) {
    QTemporaryDir dir;
    TChart chart(nullptr, THistoryFile::Open(dir.path(), kSmallChunk * 64));
    chart.resize(600, 400);
    TLineSeries& line = chart.AddSeries(QStringLiteral("A"), QColor(0xFF, 0x00, 0x80));
    constexpr int kCount = 1000000;
    for (int i = 0; i < kCount; ++i) {
        line.Add(i == 500001 ? 1000 : 0);
    }
    chart.LeftAxis().SetMaximum(1100);
    chart.LeftAxis().SetMinimum(-100);
    chart.RepaintNow();
    const QImage picture = chart.toPixmap().toImage();
    const QRect plot = chart.axisRect()->rect();
    const int spikeY = static_cast<int>(chart.yAxis->coordToPixel(1000));
    const int spikeX = static_cast<int>(chart.xAxis->coordToPixel(500001));
    bool seen = false;
    for (int x = spikeX - 2; x <= spikeX + 2; ++x) {
        for (int y = spikeY - 2; y <= spikeY + 2; ++y) {
            const QColor c = picture.pixelColor(x, y);
            // The line colour, softened by antialiasing.
            seen = seen || (c.red() > 150 && c.green() < 60 && c.blue() > 60);
        }
    }
    EXPECT_TRUE(seen) << "no line at (" << spikeX << ", " << spikeY << ") in " << plot.width()
                      << " pixels";
    bool found = false;
    const QCPRange range = line.Graph()->getValueRange(found, QCP::sdBoth, QCPRange(0, kCount));
    EXPECT_TRUE(found);
    EXPECT_EQ(range, QCPRange(0, 1000));
    const QCPRange none = line.Graph()->getValueRange(found, QCP::sdBoth, QCPRange(600000, 700000));
    EXPECT_EQ(none, QCPRange(0, 0));
}
