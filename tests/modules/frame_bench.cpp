// SPDX-License-Identifier: GPL-3.0-or-later
// Times stream frames from the framer to the displays and charts of both pages (not a test):
// kuvar_modules_bench [frames]
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "page_host.h"

using namespace kuvar;

namespace {

double MicrosPerFrame(modules::testing::PageHost& h, const char* frame, int count) {
    const std::string bytes = std::string(frame) + "00\r";
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        h.framer.Feed(bytes);
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / count;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 200000;
    modules::testing::PageHost h;
    h.Ac.Chart1->SetViewQuantity(1000);
    h.Gy.Chart2->SetViewQuantity(1000);
    h.state.RxMode = protocol::RxModes::AcStream;
    std::printf("AC frame: %.2f us\n", MicrosPerFrame(h, "[1 02 +00012 -00034 +01000]", count));
    h.state.RxMode = protocol::RxModes::GyStream;
    std::printf("GY angle frame: %.2f us\n",
                MicrosPerFrame(h, "[1 01 +00123 -00045 +01800]", count));
    std::printf("GY rate frame: %.2f us\n",
                MicrosPerFrame(h, "[1 11 +00123 -00045 +01800]", count));
    return 0;
}
