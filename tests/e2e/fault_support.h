// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// What the process holds, from /proc/self: leaks show as counts that do not come back.
int OpenFileCount();
// Threads, not counting the workers of Qt's thread pool.
int ThreadCount();
long ResidentKb();
// The anonymous part of it: what the program holds in memory of its own (not mapped files).
long AnonResidentKb();
// CPU seconds, user and system, that the process has used.
double CpuSeconds();

// A child program with its standard output on a pipe that the test reads line by line.
class TChildProcess {
public:
    explicit TChildProcess(const std::vector<std::string>& argv);
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    int Pid() const { return pid_; }
    // The next line of its output, or nullopt when none came within the time.
    std::optional<std::string> ReadLine(std::chrono::milliseconds within);
    // Its exit status once it has ended within the time (-1 when it did not end, 128 + signal
    // when a signal ended it).
    int WaitExit(std::chrono::milliseconds within);
    void Kill(int signal);

private:
    int pid_ = -1;
    int out_ = -1;
    std::string pending_;
};

long long MonotonicNs();
