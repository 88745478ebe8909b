// SPDX-License-Identifier: GPL-3.0-or-later
// Micro-benchmarks of the per-frame path, on the real window offscreen:
//   kuvar_micro_bench [--benchmark_filter=...] [--benchmark_format=json]
#include "app/app_exception.h"
#include "app/main_window.h"
#include "app/paint_pacer.h"
#include "app/user_settings.h"
#include "protocol/frame.h"
#include "protocol/link_state.h"
#include "protocol/receive_framer.h"
#include "protocol/reply_dispatcher.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

using namespace kuvar;

namespace {

TfKUVAR* window = nullptr;
QTemporaryDir* folder = nullptr;

// Frames whose readings differ from one to the next, so that every display changes.
std::array<std::string, 64> StreamTexts(const char* mode) {
    std::array<std::string, 64> texts;
    for (int i = 0; i < 64; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "[1 %s %+06d %+06d %+06d]", mode, 12 + i, -34 - i,
                      1000 + 3 * i);
        texts[i] = text;
    }
    return texts;
}

// Empties the chart and gives each series `points` points, the window showing the last 1,000.
void FillChart(charts::TStripChart& strip, long points) {
    strip.ClearClick();
    auto& chart = strip.Chart();
    // Rows as frames bring them: three points and a time.
    for (long i = 0; i < points; ++i) {
        chart.AddRow({static_cast<double>((i * 7) % 2000 - 1000),
                      static_cast<double>((i * 8) % 2000 - 1000),
                      static_cast<double>((i * 9) % 2000 - 1000)},
                     1796976902123 + i);
    }
    strip.SetViewQuantity(1000);
    strip.UpdateChartWindow(1000);
    QCoreApplication::processEvents();
}

// The window's pages: 2 is KUVAR-AC, 3 KUVAR-GY.
constexpr int kAcPage = 2;
constexpr int kGyPage = 3;

void ShowPage(int page) {
    window->PageControl1->setCurrentIndex(page);
    QCoreApplication::processEvents();
}

void BM_BuildFrame(benchmark::State& state) {
    const std::string text = "<1 SCALE 8>";
    for (auto _ : state) {
        benchmark::DoNotOptimize(protocol::BuildFrame(text));
    }
}
BENCHMARK(BM_BuildFrame);

void BM_FrameChecksum(benchmark::State& state) {
    const std::string text = "[1 02 +00012 -00034 +01000]";
    for (auto _ : state) {
        benchmark::DoNotOptimize(protocol::FrameChecksum(text, static_cast<int>(text.size())));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(BM_FrameChecksum);

// A ReadText chunk of 100 thirty-byte stream frames cut into replies.
void BM_ReceiveFraming(benchmark::State& state) {
    protocol::LinkState link;
    long replies = 0;
    protocol::ReceiveFramer framer(
        link, [&](const std::string& text) { replies += static_cast<long>(text.size()); });
    std::string chunk;
    for (int i = 0; i < 100; ++i) {
        chunk += "[1 02 +00012 -00034 +01000]00\r";
    }
    for (auto _ : state) {
        framer.Feed(chunk);
    }
    benchmark::DoNotOptimize(replies);
    state.SetBytesProcessed(state.iterations() * static_cast<long>(chunk.size()));
}
BENCHMARK(BM_ReceiveFraming);

// One stream frame from HandleReply through the window's log, the displays, the chart (and the
// indicator for angles), with `range(0)` points already in each series. The log's append, the
// chart's replot and the paints it asks for wait for the next screen refresh, so they are not
// counted here: the stream bench measures the whole window, paints included.
void RunFrames(benchmark::State& state, std::int32_t rxMode, const char* mode,
               charts::TStripChart& strip, int page) {
    ShowPage(page);
    FillChart(strip, state.range(0));
    window->Link->State.RxMode = rxMode;
    window->Link->State.StreamPaused = false;
    protocol::ReplyDispatcher dispatcher(window->Link->State, *window->Link, window->Views.get());
    const auto texts = StreamTexts(mode);
    unsigned i = 0;
    for (auto _ : state) {
        dispatcher.HandleReply(texts[i++ % texts.size()]);
    }
    state.SetItemsProcessed(state.iterations());
    strip.ClearClick();
    window->btClearClick(); // also drops the lines still waiting for the log's next append
    QCoreApplication::processEvents();
}

void BM_AcFrame(benchmark::State& state) {
    RunFrames(state, protocol::RxModes::AcStream, "02", *window->AcPage.Chart1, kAcPage);
}
BENCHMARK(BM_AcFrame)->Arg(1000)->Arg(3'000'000)->Unit(benchmark::kMicrosecond);

void BM_GyFrame(benchmark::State& state) {
    RunFrames(state, protocol::RxModes::GyStream, "01", *window->GyPage.Chart2, kGyPage);
}
BENCHMARK(BM_GyFrame)->Arg(1000)->Arg(3'000'000)->Unit(benchmark::kMicrosecond);

// One frame's three points and the window move, with `range(0)` points per series before.
void BM_ChartAppend(benchmark::State& state) {
    auto& strip = *window->AcPage.Chart1;
    ShowPage(kAcPage);
    FillChart(strip, state.range(0));
    double v = 0;
    for (auto _ : state) {
        strip.AppendChartPoints({v, -v, 1000 + v});
        v = v > 500 ? -500 : v + 1;
    }
    state.SetItemsProcessed(state.iterations());
    strip.ClearClick();
}
BENCHMARK(BM_ChartAppend)->Arg(1000)->Arg(3'000'000);

// One replot of a 1,000-point window over 3 x `range(0)` points (the lines drawn from their
// history in the run's history file).
void BM_ChartRepaint(benchmark::State& state) {
    auto& strip = *window->AcPage.Chart1;
    ShowPage(kAcPage);
    FillChart(strip, state.range(0));
    for (auto _ : state) {
        strip.Chart().RepaintNow();
    }
    strip.ClearClick();
}
BENCHMARK(BM_ChartRepaint)
    ->Arg(1000)
    ->Arg(3'000'000)
    ->Arg(20'000'000)
    ->Unit(benchmark::kMicrosecond);

// The three setters of one angle frame, then the paint they asked for.
void BM_IndicatorRepaint(benchmark::State& state) {
    ShowPage(kGyPage);
    TAbVCInd& indicator = *window->GyPage.abGYCircle;
    float a = 0;
    for (auto _ : state) {
        indicator.SetPitch(a * 0.5f);
        indicator.SetRoll(a);
        indicator.SetCourse(a * 2);
        indicator.repaint();
        a = a > 80 ? -80 : a + 0.7f;
    }
}
BENCHMARK(BM_IndicatorRepaint)->Unit(benchmark::kMicrosecond);

void BM_LoadUserSet(benchmark::State& state) {
    const QString path = folder->filePath(QStringLiteral("load.dat"));
    TUserSetRecord record;
    record.SetDefaults();
    SaveUserSet(path, record);
    for (auto _ : state) {
        LoadUserSet(path, record);
    }
}
BENCHMARK(BM_LoadUserSet)->Unit(benchmark::kMicrosecond);

void BM_SaveUserSet(benchmark::State& state) {
    const QString path = folder->filePath(QStringLiteral("save.dat"));
    TUserSetRecord record;
    record.SetDefaults();
    for (auto _ : state) {
        SaveUserSet(path, record);
    }
}
BENCHMARK(BM_SaveUserSet)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TKuvarApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    folder = &dir;
    auto w = std::make_unique<TfKUVAR>(
        TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES)});
    window = w.get();
    // The repaint benchmarks time each paint they ask for, not one per screen refresh.
    w->removeEventFilter(w->PaintPacer);
    w->show();
    QCoreApplication::processEvents();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
