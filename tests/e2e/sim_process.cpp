// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/sim_process.h"

#include <QFile>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

TSimProcess::TSimProcess(const QString& kind, const QString& link, const QStringList& options) {
    std::vector<std::string> args = {KUVAR_SIM_PROGRAM, kind.toStdString(), "--link",
                                     link.toStdString()};
    for (const QString& option : options) {
        args.push_back(option.toStdString());
    }
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    // The program prints its link once it serves.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            continue;
        }
        char c;
        if (::read(out[0], &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            link_ = QString::fromStdString(line);
            break;
        }
        line += c;
    }
    ::close(out[0]);
}

void TSimProcess::Kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

void TSimProcess::Pause() {
    if (pid_ > 0) {
        ::kill(pid_, SIGSTOP);
    }
}

TSimProcess::~TSimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGCONT);
        ::kill(pid_, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) {
            ::usleep(10000);
        }
        Kill();
    }
    QFile::remove(link_);
}
