// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/fault_support.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

int CountEntries(const char* folder) {
    DIR* dir = ::opendir(folder);
    if (!dir) {
        return -1;
    }
    int count = 0;
    while (dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.') {
            ++count;
        }
    }
    ::closedir(dir);
    return count - (std::strcmp(folder, "/proc/self/fd") == 0 ? 1 : 0); // the DIR's own fd
}

} // namespace

int OpenFileCount() {
    return CountEntries("/proc/self/fd");
}

int ThreadCount() {
    // Qt's painting starts workers of its thread pool on demand and ends them only after 30 s
    // idle: they come and go with what is drawn, not with the port.
    DIR* dir = ::opendir("/proc/self/task");
    if (!dir) {
        return -1;
    }
    int count = 0;
    while (dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        char path[300], name[32] = {};
        std::snprintf(path, sizeof path, "/proc/self/task/%s/comm", entry->d_name);
        if (FILE* f = std::fopen(path, "r")) {
            if (!std::fgets(name, sizeof name, f)) {
                name[0] = 0;
            }
            std::fclose(f);
        }
        if (std::strncmp(name, "Thread (pooled)", 15) != 0) {
            ++count;
        }
    }
    ::closedir(dir);
    return count;
}

namespace {

// One "<Name>: <n> kB" line of /proc/self/status.
long StatusKb(const char* name) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) {
        return -1;
    }
    char line[256];
    long kb = -1;
    const std::size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
            kb = std::strtol(line + length + 1, nullptr, 10);
        }
    }
    std::fclose(f);
    return kb;
}

} // namespace

long ResidentKb() {
    return StatusKb("VmRSS");
}

long AnonResidentKb() {
    return StatusKb("RssAnon");
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long long MonotonicNs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

TChildProcess::TChildProcess(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (auto& a : args) {
        pointers.push_back(a.data());
    }
    pointers.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    if (::posix_spawn(&pid_, pointers[0], &actions, nullptr, pointers.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    out_ = out[0];
}

std::optional<std::string> TChildProcess::ReadLine(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (true) {
        const auto newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || out_ < 0) {
            return std::nullopt;
        }
        pollfd p{out_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char buffer[512];
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n <= 0) {
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

int TChildProcess::WaitExit(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (pid_ > 0) {
        int status = 0;
        const int r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return -1;
        }
        ::usleep(2000);
    }
    return -1;
}

void TChildProcess::Kill(int signal) {
    if (pid_ > 0) {
        ::kill(pid_, signal);
    }
}

TChildProcess::~TChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) {
        ::close(out_);
    }
}
