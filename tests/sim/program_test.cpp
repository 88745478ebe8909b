// SPDX-License-Identifier: GPL-3.0-or-later
// The kuvar-sim program itself, started as a child process and used over its real pty.
#include "tools/sim/checksum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace kuvar::sim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string Framed(const std::string& text) {
    return text + ChecksumDigits(XorChecksum(text)) + "\r";
}

int MillisLeft(Clock::time_point deadline) {
    return static_cast<int>(std::max<long long>(
        0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count()));
}

// One simulator process with its link in a fresh temporary folder; an argument starting with
// @DIR@ names a file in that folder.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args) {
        char dirTemplate[] = "/tmp/kuvar-sim-test-XXXXXX";
        dir_ = mkdtemp(dirTemplate);
        link_ = dir_ + "/" + args[0];
        for (auto& a : args)
            if (a.rfind("@DIR@", 0) == 0)
                a = dir_ + a.substr(5);
        args.insert(args.begin(), KUVAR_SIM_PROGRAM);
        args.push_back("--link");
        args.push_back(link_);
        int out[2];
        if (pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        stdout_ = out[0];
    }
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(stdout_);
        unlink(link_.c_str());
        rmdir(dir_.c_str());
    }

    // The line the program prints once its link exists.
    std::string ReadLinkLine(std::chrono::milliseconds timeout = 5s) {
        const auto deadline = Clock::now() + timeout;
        std::string line;
        while (line.find('\n') == std::string::npos) {
            pollfd p{stdout_, POLLIN, 0};
            if (poll(&p, 1, MillisLeft(deadline)) <= 0)
                return "";
            char buffer[256];
            const ssize_t n = read(stdout_, buffer, sizeof buffer);
            if (n <= 0)
                return "";
            line.append(buffer, static_cast<std::size_t>(n));
        }
        return line.substr(0, line.find('\n'));
    }

    // The exit status, or -1 when the program did not end before the deadline.
    int WaitExit(std::chrono::milliseconds timeout = 5s) {
        const auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(5ms);
        }
        return -1;
    }

    pid_t Pid() const { return pid_; }
    const std::string& Link() const { return link_; }
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_, link_;
    pid_t pid_ = -1;
    int stdout_ = -1;
};

// The window's side of the line: raw 8N1 at a given rate.
int OpenClient(const std::string& path, speed_t speed = B115200) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetspeed(&t, speed);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Reads until `count` CRs arrived, the line hung up, or the deadline passed.
std::string ReadReplies(int fd, int count, std::chrono::milliseconds timeout,
                        bool* hungUp = nullptr) {
    const auto deadline = Clock::now() + timeout;
    std::string got;
    while (std::count(got.begin(), got.end(), '\r') < count) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, MillisLeft(deadline)) <= 0)
            break;
        char buffer[512];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EAGAIN)
            continue;
        if (n <= 0) {
            if (hungUp)
                *hungUp = true;
            break;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

TEST(Program, AnswersOverItsLinkAndRemovesItOnSigterm) {
    SimProcess sim({"ac"});
    ASSERT_GT(sim.Pid(), 0);
    ASSERT_EQ(sim.ReadLinkLine(), sim.Link());
    ASSERT_TRUE(Exists(sim.Link()));

    const int fd = OpenClient(sim.Link());
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "<1 VER>52\r", 10), 10);
    EXPECT_EQ(ReadReplies(fd, 1, 2s), Framed("[1 VER KUVAR-AC V2.0]"));
    close(fd);

    kill(sim.Pid(), SIGTERM);
    EXPECT_EQ(sim.WaitExit(), 0);
    EXPECT_FALSE(Exists(sim.Link()));
}

TEST(Program, ServesAClientThatClosesAndReopens) {
    SimProcess sim({"gy"});
    ASSERT_EQ(sim.ReadLinkLine(), sim.Link());
    for (int round = 0; round < 3; ++round) {
        // A pty keeps a client's TIOCEXCL after it closed; the simulator drops it once it sees
        // the close, which takes it a moment (and root is never refused).
        int fd = -1;
        const auto deadline = Clock::now() + 1s;
        while ((fd = OpenClient(sim.Link())) < 0 && errno == EBUSY && Clock::now() < deadline)
            std::this_thread::sleep_for(2ms);
        ASSERT_GE(fd, 0) << "round " << round << ": " << std::strerror(errno);
        ioctl(fd, TIOCEXCL); // as the window's serial component takes its port
        const std::string frame = Framed("<0>");
        ASSERT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
        EXPECT_EQ(ReadReplies(fd, 1, 2s), Framed("[1 01]")) << "round " << round;
        close(fd);
    }
    kill(sim.Pid(), SIGINT);
    EXPECT_EQ(sim.WaitExit(), 0);
    EXPECT_FALSE(Exists(sim.Link()));
}

TEST(Program, AClientAtAnotherRateHearsGarbageAndIsNotHeard) {
    SimProcess sim({"ac", "--stream", "--interval", "10"});
    ASSERT_EQ(sim.ReadLinkLine(), sim.Link());
    const int fd = OpenClient(sim.Link(), B57600);
    ASSERT_GE(fd, 0);
    ReadReplies(fd, 1000, 100ms); // whatever was already under way
    const std::string frame = Framed("<1 STOP>");
    ASSERT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    const std::string got = ReadReplies(fd, 1000, 300ms);
    EXPECT_GT(got.size(), 100u); // still streaming: STOP was not heard
    EXPECT_EQ(got.find("[1 02"), std::string::npos);
    close(fd);
}

TEST(Program, AReopenedLineCarriesNoBytesFromBeforeTheOpen) {
    SimProcess sim({"ac", "--stream", "--interval", "5"});
    ASSERT_EQ(sim.ReadLinkLine(), sim.Link());
    close(OpenClient(sim.Link()));
    std::this_thread::sleep_for(300ms); // some 60 frames that nobody read
    const int fd = OpenClient(sim.Link());
    ASSERT_GE(fd, 0);
    std::this_thread::sleep_for(30ms);
    const std::string got = ReadReplies(fd, 1000, 10ms);
    EXPECT_LT(got.size(), 400u) << "stale bytes on a new open";
    close(fd);
}

TEST(Program, LogsEveryMeasurementFrameWithItsTime) {
    SimProcess sim({"gy", "--stream", "--interval", "10", "--log-frames", "@DIR@/frames.log"});
    ASSERT_EQ(sim.ReadLinkLine(), sim.Link());
    const int fd = OpenClient(sim.Link());
    ASSERT_GE(fd, 0);
    const std::string got = ReadReplies(fd, 10, 2s);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    kill(sim.Pid(), SIGTERM);
    EXPECT_EQ(sim.WaitExit(), 0);
    close(fd);

    const std::string log = sim.Dir() + "/frames.log";
    std::ifstream in(log);
    long long previous = 0;
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines) {
        const auto blank = line.find(' ');
        const long long at = std::stoll(line.substr(0, blank));
        EXPECT_GE(at, previous); // frames written together share their time
        previous = at;
        EXPECT_EQ(line.substr(blank + 1, 6), "[1 01 ");
        if (lines < 5) { // the client read these before it stopped
            EXPECT_NE(got.find(Framed(line.substr(blank + 1))), std::string::npos) << line;
        }
    }
    EXPECT_GE(lines, 10);
    EXPECT_LE(previous, now.tv_sec * 1'000'000'000LL + now.tv_nsec + 1'000'000'000LL);
    std::remove(log.c_str());
}

TEST(Program, HangsUpAfterItsFramesAndRemovesTheLink) {
    SimProcess sim({"ac", "--stream", "--interval", "10", "--hangup-frames", "3"});
    ASSERT_EQ(sim.ReadLinkLine(), sim.Link());
    const int fd = OpenClient(sim.Link());
    ASSERT_GE(fd, 0);
    bool hungUp = false;
    const std::string got = ReadReplies(fd, 100, 3s, &hungUp);
    EXPECT_TRUE(hungUp);
    EXPECT_EQ(std::count(got.begin(), got.end(), '\r'), 3);
    EXPECT_EQ(sim.WaitExit(), 0);
    EXPECT_FALSE(Exists(sim.Link()));
    close(fd);
}

TEST(Program, RefusesASecondSimulatorOnTheSameLink) {
    SimProcess first({"ac"});
    ASSERT_EQ(first.ReadLinkLine(), first.Link());
    const std::string second =
        std::string(KUVAR_SIM_PROGRAM) + " ac --link " + first.Link() + " 2>/dev/null";
    EXPECT_NE(std::system(second.c_str()), 0);
    EXPECT_TRUE(Exists(first.Link()));
}

// What a shell sees of a run that ends by itself: the exit status and standard output.
std::pair<int, std::string> RunToEnd(const std::string& options) {
    const std::string command = std::string(KUVAR_SIM_PROGRAM) + " " + options + " 2>/dev/null";
    FILE* out = popen(command.c_str(), "r");
    if (!out)
        return {-1, ""};
    std::string text;
    char buffer[512];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, out))
        text.append(buffer, n);
    const int status = pclose(out);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

TEST(Program, AnswersVersionAndHelpAndRefusesUnknownOptions) {
    const struct {
        const char* options;
        int exitCode;
        const char* outStart;
    } cases[] = {
        {"--version", 0, "kuvar-sim " KUVAR_PROJECT_VERSION "\nCopyright (C) "},
        {"gy --version", 0, "kuvar-sim " KUVAR_PROJECT_VERSION "\n"},
        {"--help", 0, "Usage: kuvar-sim ac|gy [options]\n"},
        {"ac --bogus", 2, ""},
    };
    for (const auto& c : cases) {
        const auto [exitCode, out] = RunToEnd(c.options);
        EXPECT_EQ(exitCode, c.exitCode) << c.options;
        if (*c.outStart) {
            EXPECT_EQ(out.rfind(c.outStart, 0), 0u) << c.options << ": " << out;
        } else {
            EXPECT_EQ(out, "") << c.options;
        }
    }
}

} // namespace
} // namespace kuvar::sim
