// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/stream_measure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

std::vector<TSentFrame> ParseFrameLog(const std::string& text) {
    std::vector<TSentFrame> frames;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        TSentFrame f;
        if (std::sscanf(line.c_str(), "%lld [%*d %*s %d %d %d", &f.ns, &f.x, &f.y, &f.z) == 4) {
            frames.push_back(f);
        }
    }
    return frames;
}

std::vector<TSentFrame> ReadFrameLog(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return ParseFrameLog(text.str());
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * values.size()));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

TLatency MatchLatencies(const std::vector<TSentFrame>& sent,
                        const std::vector<TShownValues>& shown) {
    // A display state comes at most three changes per frame after the frame before it; a
    // bounded look-ahead keeps a lost frame from swallowing the rest.
    constexpr std::size_t kLookAhead = 64;
    std::vector<double> delays;
    std::size_t from = 0;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const TSentFrame& f = sent[i];
        if (i > 0 && f.x == sent[i - 1].x && f.y == sent[i - 1].y && f.z == sent[i - 1].z) {
            continue;
        }
        for (std::size_t j = from; j < shown.size() && j < from + kLookAhead; ++j) {
            const TShownValues& s = shown[j];
            if (s.x == f.x && s.y == f.y && s.z == f.z) {
                delays.push_back((s.ns - f.ns) / 1e6);
                from = j + 1;
                break;
            }
        }
    }
    TLatency result;
    result.matched = delays.size();
    result.medianMs = Percentile(delays, 0.5);
    result.p99Ms = Percentile(delays, 0.99);
    return result;
}

double MsSinceProcessStart() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Field 22 (start time in clock ticks since boot) counts from after the command's ")".
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double startS = std::strtod(field.c_str(), nullptr) / sysconf(_SC_CLK_TCK);
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return (ts.tv_sec + ts.tv_nsec / 1e9 - startS) * 1000;
}
