// SPDX-License-Identifier: GPL-3.0-or-later
// What the stream bench reads and computes: the simulator's frame log, the values the displays
// took, their matching, and the process's start time (tests/e2e/fault_support.h has its clock,
// CPU and memory figures).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One measurement frame as the simulator logged it when its last byte was written.
struct TSentFrame {
    long long ns = 0;
    int x = 0, y = 0, z = 0;
};

// The three displays' values just after one of them changed.
struct TShownValues {
    long long ns = 0;
    double x = 0, y = 0, z = 0;
};

// Lines "<CLOCK_MONOTONIC ns> [id mode x y z]"; lines of another form are skipped.
std::vector<TSentFrame> ParseFrameLog(const std::string& text);
std::vector<TSentFrame> ReadFrameLog(const std::string& path);

struct TLatency {
    std::size_t matched = 0; // frames whose values were found on the displays
    double medianMs = 0;
    double p99Ms = 0;
};

// Matches each sent frame, in order, to the next display state that holds its values (the
// simulator stamps a frame after its write returns, so a display may be a little earlier).
// A frame equal to the one before changes no display and is left out.
TLatency MatchLatencies(const std::vector<TSentFrame>& sent,
                        const std::vector<TShownValues>& shown);

// The value below which `share` (0..1) of the sorted values lie (nearest rank).
double Percentile(std::vector<double> values, double share);

// Milliseconds since this process was started (at the kernel's clock-tick resolution).
double MsSinceProcessStart();
