// SPDX-License-Identifier: GPL-3.0-or-later
// kuvar-sim: serves one simulated module on a pseudo-terminal with the real clock.
#include "tools/sim/line_rate.h"
#include "tools/sim/module.h"
#include "tools/sim/program_options.h"
#include "tools/sim/pty_link.h"
#include "tools/sim/state_file.h"

#include "kuvar_version.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <time.h>
#include <unistd.h>

using namespace kuvar::sim;

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) {
    gStop = 1;
}

SimTime MonotonicNow() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return SimTime(static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec);
}

SimConfig BuildConfig(const ProgramOptions& o, bool* ok) {
    SimConfig config = DefaultConfig(o.kind);
    *ok = true;
    if (!o.stateFile.empty()) {
        std::string error;
        if (const auto stored = LoadStateFile(o.stateFile, o.kind, &error))
            config.stored = config.settings = *stored;
        else if (!error.empty()) {
            std::fprintf(stderr, "kuvar-sim: %s: %s\n", o.stateFile.c_str(), error.c_str());
            *ok = false;
        }
    }
    auto& s = config.settings;
    s.id = o.id.value_or(s.id);
    s.baud = o.baud.value_or(s.baud);
    s.scale = o.scale.value_or(s.scale);
    s.interval = o.interval.value_or(s.interval);
    s.mode = o.mode.value_or(s.mode);
    config.streamAtPowerUp = o.streamAtPowerUp;
    config.faults = o.faults;
    config.seed = o.seed;
    return config;
}

std::string Absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[4096];
    return getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + path : path;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr, "kuvar-sim: %s\n%s", error.c_str(), UsageText().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs("kuvar-sim " KUVAR_VERSION "\n" KUVAR_VERSION_NOTICE, stdout);
        return 0;
    }
    bool configOk = false;
    const SimConfig config = BuildConfig(*options, &configOk);
    if (!configOk)
        return 1;

    // Signals stay blocked except inside ppoll, so a stop request never slips past the wait.
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&blocked, sig);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction sa {};
        sa.sa_handler = OnSignal;
        sigaction(sig, &sa, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);

    const std::string linkPath =
        Absolute(options->link.empty() ? DefaultLinkPath(options->kind) : options->link);
    auto link = PtyLink::Create(linkPath, config.settings.baud, &error);
    if (!link) {
        std::fprintf(stderr, "kuvar-sim: %s\n", error.c_str());
        return 1;
    }
    FILE* frameLog = nullptr;
    if (!options->logFrames.empty()) {
        frameLog = std::fopen(options->logFrames.c_str(), "a");
        if (!frameLog) {
            std::fprintf(stderr, "kuvar-sim: cannot open %s: %s\n", options->logFrames.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }

    SimModule module(config, MonotonicNow());
    if (!options->stateFile.empty()) {
        module.SetStoreHandler([&](const ModuleSettings& s) {
            std::string saveError;
            if (!SaveStateFile(options->stateFile, options->kind, s, &saveError))
                std::fprintf(stderr, "kuvar-sim: %s\n", saveError.c_str());
        });
    }
    std::printf("%s\n", link->LinkPath().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "kuvar-sim: KUVAR-%s on %s (%s), ID %d, %d baud\n",
                 options->kind == ModuleKind::Ac ? "AC" : "GY", link->LinkPath().c_str(),
                 link->SlavePath().c_str(), config.settings.id, config.settings.baud);

    std::uint64_t bytesLost = 0;
    const SimTime kMinStep = std::chrono::milliseconds(1);
    while (!gStop) {
        const int master = link->MasterFd();
        module.SetHostBaud(ReadLineRate(master));
        module.AdvanceTo(MonotonicNow());
        const ModuleOutput out = module.TakeOutput();
        std::size_t written = 0;
        while (written < out.bytes.size()) {
            const ssize_t n = write(master, out.bytes.data() + written, out.bytes.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break; // nobody reads and the line's buffer is full: the bytes are lost
            written += static_cast<std::size_t>(n);
        }
        bytesLost += out.bytes.size() - written;
        if (frameLog && !out.frames.empty()) {
            const auto at = MonotonicNow().count();
            for (const SentFrame& f : out.frames)
                if (f.measurement)
                    std::fprintf(frameLog, "%lld %s\n", static_cast<long long>(at), f.text.c_str());
            std::fflush(frameLog);
        }
        if (module.HungUp()) {
            link->HangUp();
            std::fprintf(stderr, "kuvar-sim: hung up\n");
            break;
        }

        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        if (const auto next = module.NextEventTime()) {
            const SimTime wait = std::max(*next - MonotonicNow(), kMinStep);
            timeout.tv_sec = static_cast<time_t>(wait.count() / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(wait.count() % 1'000'000'000);
            timeoutPtr = &timeout;
        }
        pollfd fds[2] = {{master, POLLIN, 0}, {link->NotifyFd(), POLLIN, 0}};
        const int ready = ppoll(fds, 2, timeoutPtr, &waitMask);
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "kuvar-sim: poll: %s\n", std::strerror(errno));
            break;
        }
        if (ready <= 0)
            continue;
        if (fds[1].revents & POLLIN)
            link->HandleNotifications();
        if (fds[0].revents & POLLIN) {
            char buffer[4096];
            module.SetHostBaud(ReadLineRate(master));
            while (true) {
                const ssize_t n = read(master, buffer, sizeof buffer);
                if (n <= 0)
                    break;
                module.Receive(MonotonicNow(), std::string_view(buffer, static_cast<size_t>(n)));
            }
        }
    }
    std::fprintf(stderr,
                 "kuvar-sim: sent %llu measurement frames (%llu dropped on purpose, "
                 "%llu bytes lost to a full line)\n",
                 static_cast<unsigned long long>(module.MeasurementFramesSent()),
                 static_cast<unsigned long long>(module.FramesDropped()),
                 static_cast<unsigned long long>(bytesLost));
    if (frameLog)
        std::fclose(frameLog);
    return 0;
}
