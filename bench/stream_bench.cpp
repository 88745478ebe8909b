// SPDX-License-Identifier: GPL-3.0-or-later
// The whole window, offscreen, against kuvar-sim flooding the AC or the GY stream (angles) on a
// pseudo-terminal.
//   kuvar_stream_bench [--module ac|gy] [--flood RATE] [--sim-baud RATE] [--baud TEXT]
//                      [--line-rate RATE] [--seconds S] [--idle-seconds S] [--record 1]
//                      [--export-prefill N] [--wire-rate BITS] [--fill-log 1]
//                      [--paint-census 1]
// The window opens the port at the rate TEXT of its list; --line-rate then sets the port to a
// rate the list does not hold (the pseudo-terminal ignores it, the simulator paces itself by
// --sim-baud). --record 1 records the run to a file and checks it against the simulator's frames.
// --export-prefill N gives the chart N points before the stream and exports it to CSV a quarter
// into the run, on the worker thread with its progress dialog, while the stream goes on.
// --wire-rate BITS lets the simulator's line carry BITS a second (a pseudo-terminal has no rate
// of its own), for streams faster than the module's fastest rate. --fill-log 1 starts the stream
// with the receive log full, as it is a few seconds into any stream. --paint-census 1 prints how
// often each widget painted, and how many pixels.
// Prints "name value" lines.
#include "app/app_exception.h"
#include "app/main_window.h"
#include "app/paint_pacer.h"
#include "app/receive_log.h"
#include "bench/stream_measure.h"
#include "charts/chart_export.h"
#include "tests/e2e/fault_support.h"

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace kuvar;

namespace {

struct TOptions {
    bool gy = false;
    double flood = 850;
    int simBaud = 256000;
    QString baud = QStringLiteral("256000");
    int lineRate = 0;
    double seconds = 10;
    double idleSeconds = 3;
    bool record = false;
    long long exportPrefill = 0;
    int wireRate = 0;
    bool fillLog = false;
    bool paintCensus = false;
};

// Counts paint events and the pixels they cover: of the widgets it watches, by their bench name,
// and with --paint-census of every widget, by class and object name (where the paint time goes).
class TPaintCounter : public QObject {
public:
    struct TCount {
        long long paints = 0;
        long long pixels = 0;
    };
    std::map<std::string, TCount> Named;
    std::map<std::string, TCount> Census;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType()) {
            return false;
        }
        const QString name = watched->property("benchName").toString();
        TCount& count = !name.isEmpty() ? Named[name.toStdString()]
                                        : Census[std::string(watched->metaObject()->className()) +
                                                 "/" + watched->objectName().toStdString()];
        ++count.paints;
        for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
            count.pixels += static_cast<long long>(r.width()) * r.height();
        }
        return false;
    }
};

// The window, counting the stream frames the dispatcher logs.
class TBenchWindow : public TfKUVAR {
public:
    using TfKUVAR::TfKUVAR;
    void AppendLog(const QString& line) override {
        if (line.size() >= 20 && line[0] == QLatin1Char('[')) {
            ++LoggedFrames;
        }
        TfKUVAR::AppendLog(line);
    }
    long long LoggedFrames = 0;
};

void Pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// kuvar-sim flooding on a link in `dir`, each frame stamped in `frameLog`.
std::unique_ptr<TChildProcess> StartSim(const TOptions& o, const QString& dir,
                                        const std::string& frameLog) {
    const char* kind = o.gy ? "gy" : "ac";
    std::vector<std::string> args{KUVAR_SIM_PROGRAM, kind,
                                  "--link",          (dir + QLatin1Char('/') + kind).toStdString(),
                                  "--baud",          std::to_string(o.simBaud),
                                  "--flood",         std::to_string(o.flood),
                                  "--log-frames",    frameLog};
    if (o.wireRate > 0) {
        args.insert(args.end(), {"--wire-rate", std::to_string(o.wireRate)});
    }
    return std::make_unique<TChildProcess>(args);
}

// Ends the simulator, stopped or not, as an operator would; what does not end in 2 s is killed.
void StopSim(TChildProcess& sim) {
    sim.Kill(SIGCONT);
    sim.Kill(SIGTERM);
    if (sim.WaitExit(std::chrono::seconds(2)) < 0) {
        sim.Kill(SIGKILL);
        sim.WaitExit(std::chrono::seconds(2));
    }
}

bool ParseOptions(int argc, char** argv, TOptions& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--module") {
            o.gy = std::strcmp(value, "gy") == 0;
            if (!o.gy && std::strcmp(value, "ac") != 0) {
                return false;
            }
        } else if (name == "--flood") {
            o.flood = std::atof(value);
        } else if (name == "--sim-baud") {
            o.simBaud = std::atoi(value);
        } else if (name == "--baud") {
            o.baud = QString::fromLatin1(value);
        } else if (name == "--line-rate") {
            o.lineRate = std::atoi(value);
        } else if (name == "--seconds") {
            o.seconds = std::atof(value);
        } else if (name == "--idle-seconds") {
            o.idleSeconds = std::atof(value);
        } else if (name == "--record") {
            o.record = std::atoi(value) != 0;
        } else if (name == "--wire-rate") {
            o.wireRate = std::atoi(value);
        } else if (name == "--paint-census") {
            o.paintCensus = std::atoi(value) != 0;
        } else if (name == "--fill-log") {
            o.fillLog = std::atoi(value) != 0;
        } else if (name == "--export-prefill") {
            o.exportPrefill = std::atoll(value);
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

int Run(const TOptions& o) {
    QTemporaryDir dir;
    TBenchWindow w(
        TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES)});
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) {
        std::fprintf(stderr, "kuvar_stream_bench: the window was not exposed\n");
        return 1;
    }
    std::printf("startup_ms %.0f\n", MsSinceProcessStart());
    if (o.gy) {
        QTest::mouseClick(w.TopPanel.btGY, Qt::LeftButton, Qt::NoModifier,
                          w.TopPanel.btGY->rect().center());
    }

    const std::string frameLog = dir.filePath(QStringLiteral("frames.log")).toStdString();
    const auto sim = StartSim(o, dir.path(), frameLog);
    // The simulator prints its link once it serves.
    const std::optional<std::string> link =
        sim->Started() ? sim->ReadLine(std::chrono::seconds(5)) : std::nullopt;
    if (!link || link->empty()) {
        std::fprintf(stderr, "kuvar_stream_bench: kuvar-sim did not start\n");
        StopSim(*sim);
        return 1;
    }
    w.TopPanel.ePortNo->setEditText(QString::fromStdString(*link));
    w.TopPanel.cbBaudrate->setEditText(o.baud);
    QTest::mouseClick(w.TopPanel.btConnect, Qt::LeftButton, Qt::NoModifier,
                      w.TopPanel.btConnect->rect().center());
    if (!w.Link->PortOpen()) {
        std::fprintf(stderr, "kuvar_stream_bench: %s\n", qPrintable(w.StatusText(0)));
        StopSim(*sim);
        return 1;
    }
    if (o.lineRate > 0) {
        w.Link->VaComm1->SetUserBaudrate(o.lineRate);
    }

    // The port open and no stream.
    Pump(500);
    const double idleCpu0 = CpuSeconds();
    const long long idle0 = MonotonicNs();
    Pump(static_cast<int>(o.idleSeconds * 1000));
    const double idleCpu = (CpuSeconds() - idleCpu0) / ((MonotonicNs() - idle0) / 1e9);
    std::printf("idle_cpu_percent %.3f\n", idleCpu * 100);

    // Every display state, in memory touched before the resident size is taken.
    const double lineFrames = o.simBaud / 300.0;
    const double expected = std::min(o.flood, o.lineRate > 0 ? 1e9 : lineFrames) * o.seconds;
    std::vector<TShownValues> shown(static_cast<std::size_t>(3 * expected * 1.5 + 30000));
    std::size_t shownCount = 0;
    // The displays in the order of the frame's fields, and the factor back to its numbers (the
    // GY page shows angles in degrees, the frame holds tenths).
    const std::array<TiAnalogDisplay*, 3> displays =
        o.gy ? std::array<TiAnalogDisplay*, 3>{w.GyPage.ssGYRoll, w.GyPage.ssGYPitch,
                                               w.GyPage.ssGYYaw}
             : std::array<TiAnalogDisplay*, 3>{w.AcPage.ssACX, w.AcPage.ssACY, w.AcPage.ssACZ};
    const double toFrame = o.gy ? 10 : 1;
    auto record = [&](TiAnalogDisplay*) {
        if (shownCount < shown.size()) {
            shown[shownCount++] = {MonotonicNs(), std::round(displays[0]->Value() * toFrame),
                                   std::round(displays[1]->Value() * toFrame),
                                   std::round(displays[2]->Value() * toFrame)};
        }
    };
    for (TiAnalogDisplay* d : displays) {
        QObject::connect(d, &TiAnalogDisplay::changed, &w, record);
    }
    // How the UI thread spends the stream: receive steps and chart replots.
    charts::TChart& chart = o.gy ? w.GyPage.Chart2->Chart() : w.AcPage.Chart1->Chart();
    if (o.exportPrefill > 0) {
        // Points of an earlier run, with times, for the export to write.
        const qint64 t0 = QDateTime::currentMSecsSinceEpoch() - o.exportPrefill;
        for (long long i = 0; i < o.exportPrefill; ++i) {
            // Tenths, as the GY page shows them: the shortest form of each double is written.
            chart.AddRow({double(i % 2000) * 0.1, -double(i % 1000) * 0.1, 1000.0 + double(i % 7)},
                         t0 + i);
        }
        (o.gy ? w.GyPage.Chart2 : w.AcPage.Chart1)->UpdateChartWindow(300);
    }
    if (o.fillLog) {
        // The log as a stream leaves it after a few seconds: every one of its lines taken.
        QStringList lines;
        for (int i = 0; i < TReceiveLog::kMaxLines; ++i) {
            lines << QStringLiteral("[1 02 %1 -00100 +01000]")
                         .arg(i % 100000, 6, 10, QLatin1Char('0'));
        }
        w.LeftColumn.Memo1->setPlainText(lines.join(QLatin1Char('\n')));
        Pump(200);
    }
    long rxSteps = 0, replots = 0;
    std::vector<double> rxStepMs;
    std::vector<std::pair<long long, long>> rxStarts; // when a step began, points before it
    rxStepMs.reserve(static_cast<std::size_t>(expected * 1.5 + 10000));
    auto onRx = w.Link->VaComm1->OnRxChar;
    w.Link->VaComm1->OnRxChar = [&](kuvar::serial::TVaCustomComm* c, int n) {
        const long long at = MonotonicNs();
        if (rxStarts.size() < rxStepMs.capacity()) {
            rxStarts.push_back({at, chart.Series(0).Count()});
        }
        onRx(c, n);
        ++rxSteps;
        if (rxStepMs.size() < rxStepMs.capacity()) {
            rxStepMs.push_back((MonotonicNs() - at) / 1e6);
        }
    };
    QObject::connect(&chart, &QCustomPlot::afterReplot, &w, [&] { ++replots; });
    // How soon the window answers: a thread posts a call every 10 ms, as input would come, and
    // the UI thread notes how long each one waited.
    std::vector<double> answerMs;
    answerMs.reserve(static_cast<std::size_t>(o.seconds * 100 + 2000));
    std::atomic<bool> probing{true};
    std::thread prober([&] {
        while (probing.load()) {
            const long long posted = MonotonicNs();
            QMetaObject::invokeMethod(
                &w,
                [&answerMs, posted] {
                    if (answerMs.size() < answerMs.capacity()) {
                        answerMs.push_back((MonotonicNs() - posted) / 1e6);
                    }
                },
                Qt::QueuedConnection);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    auto& points = chart.Series(0);
    const long pointsBefore = points.Count();
    // Memory is measured once the log holds its 10,000 lines, so that what grows after that is
    // the chart's history alone; a run too short for that measures from its start.
    constexpr long kLogFullFrames = 12000;
    long rssBefore = ResidentKb();
    long rssFrom = pointsBefore;
    bool rssFromLogFull = false;
    QTimer rssProbe;
    QObject::connect(&rssProbe, &QTimer::timeout, &w, [&] {
        if (!rssFromLogFull && points.Count() - pointsBefore >= kLogFullFrames) {
            rssFromLogFull = true;
            rssBefore = ResidentKb();
            rssFrom = points.Count();
        }
    });
    rssProbe.start(50);

    const QString recording = dir.filePath(QStringLiteral("recording.csv"));
    if (o.record) {
        w.Recorder->Start(recording);
    }
    double exportSeconds = -1;
    long long exportRows = 0;
    bool exportWritten = false;
    bool progressShown = false;
    long framesDuringExport = 0;
    QTimer exportTimer;
    exportTimer.setSingleShot(true);
    QObject::connect(&exportTimer, &QTimer::timeout, &w, [&] {
        const QString path = dir.filePath(QStringLiteral("export.csv"));
        const long before = chart.Series(0).Count();
        exportRows = before;
        QTimer progressProbe;
        QObject::connect(&progressProbe, &QTimer::timeout, [&] {
            progressShown = progressShown || QApplication::activeModalWidget() != nullptr;
        });
        progressProbe.start(100);
        const long long at = MonotonicNs();
        Guarded([&] {
            exportWritten =
                charts::ExportChartWithProgress(chart, path, charts::TExportFormat::Csv, &w);
        });
        exportSeconds = (MonotonicNs() - at) / 1e9;
        framesDuringExport = chart.Series(0).Count() - before;
        QFile::remove(path);
    });
    // Which widgets paint, and how often.
    TPaintCounter paintCounter;
    if (o.paintCensus) {
        qApp->installEventFilter(&paintCounter);
    }
    auto watchPaints = [&](QWidget* widget, const char* name) {
        widget->setProperty("benchName", QString::fromLatin1(name));
        if (!o.paintCensus) {
            widget->installEventFilter(&paintCounter);
        }
    };
    watchPaints(&chart, "chart");
    watchPaints(displays[0], "display");
    watchPaints(w.LeftColumn.Memo1->viewport(), "log_text");
    watchPaints(w.LeftColumn.Memo1->verticalScrollBar(), "log_scroll_bar");
    const long long paints0 = w.PaintPacer->Paints();
    const double cpu0 = CpuSeconds();
    const long long clicked = MonotonicNs();
    QWidget* start = o.gy ? static_cast<QWidget*>(w.GyPage.btGYSTART) : w.AcPage.btACStart;
    QTest::mouseClick(start, Qt::LeftButton, Qt::NoModifier, start->rect().center());
    if (o.exportPrefill > 0) {
        exportTimer.start(static_cast<int>(o.seconds * 250));
    }
    const long long firstDeadline = MonotonicNs() + 5'000'000'000LL;
    while (shownCount == 0 && MonotonicNs() < firstDeadline) {
        Pump(1);
    }
    if (shownCount == 0) {
        std::fprintf(stderr, "kuvar_stream_bench: no frame reached the displays\n");
        StopSim(*sim);
        return 1;
    }
    const long long first = shown[0].ns;
    Pump(static_cast<int>(o.seconds * 1000 - (MonotonicNs() - first) / 1e6));
    probing = false;
    prober.join();
    Pump(100);
    std::printf("ui_answer_median_ms %.3f\n", Percentile(answerMs, 0.5));
    std::printf("ui_answer_p95_ms %.3f\n", Percentile(answerMs, 0.95));
    std::printf("ui_answer_max_ms %.3f\n", Percentile(answerMs, 1.0));
    // The simulator stops where it is; the window then shows what is still on its way.
    sim->Kill(SIGSTOP);
    long long lastCount = -1;
    const long long drainDeadline = MonotonicNs() + 10'000'000'000LL;
    while (lastCount != points.Count() && MonotonicNs() < drainDeadline) {
        lastCount = points.Count();
        Pump(300);
    }
    const double cpu = CpuSeconds() - cpu0;
    const long rssAfter = ResidentKb();
    const long anonAfter = AnonResidentKb();
    const long long last = shown[shownCount - 1].ns;

    const auto sent = ReadFrameLog(frameLog);
    const long charted = points.Count() - pointsBefore;
    const double wall = (last - clicked) / 1e9;
    std::printf("frames_sent %zu\n", sent.size());
    std::printf("frames_logged %lld\n", w.LoggedFrames);
    std::printf("frames_charted %ld\n", charted);
    std::printf("frames_lost %ld\n", std::max(0L, static_cast<long>(sent.size()) - charted));
    std::printf("frames_per_second %.0f\n", charted / ((last - first) / 1e9));
    std::printf("cpu_seconds_per_1000_frames %.4f\n", cpu / charted * 1000);
    std::printf("cpu_percent %.1f\n", cpu / wall * 100);
    std::printf("rss_mb_per_million_frames %.1f\n",
                (rssAfter - rssBefore) / 1024.0 / std::max(1L, points.Count() - rssFrom) * 1e6);
    std::printf("rss_measured_after_log_full %d\n", rssFromLogFull ? 1 : 0);
    std::printf("rss_anon_mb_at_end %.1f\n", anonAfter / 1024.0);
    std::printf("receive_steps_per_second %.0f\n", rxSteps / wall);
    std::printf("receive_step_median_ms %.3f\n", Percentile(rxStepMs, 0.5));
    std::printf("receive_step_p99_ms %.3f\n", Percentile(rxStepMs, 0.99));
    {
        std::vector<double> toStep;
        for (const auto& [at, before] : rxStarts) {
            const long k = before - pointsBefore;
            if (k >= 0 && k < static_cast<long>(sent.size())) {
                toStep.push_back((at - sent[k].ns) / 1e6);
            }
        }
        std::printf("sent_to_receive_step_median_ms %.3f\n", Percentile(toStep, 0.5));
    }
    std::printf("chart_replots_per_second %.0f\n", replots / wall);
    std::printf("display_repaint_requests_per_second %.0f\n",
                displays[0]->RepaintRequests() / wall);
    std::printf("window_paints_per_second %.0f\n", (w.PaintPacer->Paints() - paints0) / wall);
    for (const auto& [name, count] : paintCounter.Named) {
        std::printf("%s_paints_per_second %.0f\n", name.c_str(), count.paints / wall);
    }
    for (const auto& [name, count] : paintCounter.Census) {
        std::printf("paint_census %s %.0f paints/s %.0f pixels/s\n", name.c_str(),
                    count.paints / wall, count.pixels / wall);
    }
    const TLatency latency = MatchLatencies(sent, {shown.begin(), shown.begin() + shownCount});
    std::printf("latency_matched %zu\n", latency.matched);
    std::printf("latency_median_ms %.3f\n", latency.medianMs);
    std::printf("latency_p99_ms %.3f\n", latency.p99Ms);
    std::fflush(stdout);

    if (o.exportPrefill > 0) {
        std::printf("export_rows %lld\n", exportRows);
        std::printf("export_written %d\n", exportWritten ? 1 : 0);
        std::printf("export_seconds %.1f\n", exportSeconds);
        std::printf("export_progress_shown %d\n", progressShown ? 1 : 0);
        std::printf("export_frames_charted_meanwhile %ld\n", framesDuringExport);
    }
    w.Link->CloseComPort();
    if (o.record) {
        while (w.Recorder->Writing()) {
            Pump(50);
        }
        // Every frame the simulator sent is in the recording, in order.
        std::vector<std::string> rows;
        {
            QFile file(recording);
            file.open(QIODevice::ReadOnly);
            while (!file.atEnd()) {
                const QByteArray line = file.readLine().trimmed();
                if (line.contains(",frame,") || line.contains(",reply,")) {
                    rows.push_back(line.mid(line.lastIndexOf(',') + 1).toStdString());
                }
            }
        }
        std::size_t row = 0;
        std::size_t found = 0;
        std::ifstream log(frameLog);
        std::string line;
        while (std::getline(log, line)) {
            const std::string text = line.substr(line.find(' ') + 1);
            while (row < rows.size() && rows[row] != text) {
                ++row;
            }
            if (row == rows.size()) {
                break;
            }
            ++found;
            ++row;
        }
        std::printf("recording_rows %zu\n", rows.size());
        std::printf("recording_frames_missing %zu\n", sent.size() - found);
    }
    StopSim(*sim);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: see the head of bench/stream_bench.cpp\n");
        return 2;
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TKuvarApplication app(argc, argv);
    return Run(options);
}
