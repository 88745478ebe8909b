// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/pty_line.h"

#include "app/delay.h"
#include "protocol/frame.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

TPtyLine::TPtyLine() {
    char name[256];
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    path_ = QString::fromLocal8Bit(name);
    // Not inherited by the children a test starts: the window alone holds the device.
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

TPtyLine::~TPtyLine() {
    notifier_.reset();
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

std::string TPtyLine::Read() {
    std::string bytes;
    char buffer[4096];
    while (master_ >= 0) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::vector<std::string> TPtyLine::Frames(const std::string& bytes) {
    partial_ += bytes;
    std::vector<std::string> frames;
    for (auto cr = partial_.find('\r'); cr != std::string::npos; cr = partial_.find('\r')) {
        frames.push_back(partial_.substr(0, cr));
        partial_.erase(0, cr + 1);
    }
    sent_.insert(sent_.end(), frames.begin(), frames.end());
    return frames;
}

void TPtyLine::Respond(std::function<std::string(const std::string& frame)> responder) {
    responder_ = std::move(responder);
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Answer(); });
}

void TPtyLine::Answer() {
    for (const std::string& frame : Frames(Read())) {
        const std::string answer = responder_(frame);
        if (!answer.empty())
            Write(answer);
    }
}

bool TPtyLine::Write(const std::string& bytes, int ms) {
    std::size_t done = 0;
    QElapsedTimer clock;
    clock.start();
    while (master_ >= 0 && done < bytes.size() && clock.elapsed() < ms) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (errno == EAGAIN)
            kuvar::Delay(1); // the window reads on this thread
        else
            break;
    }
    return done == bytes.size();
}

void TPtyLine::HangUp() {
    notifier_.reset();
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}

bool TPtyLine::PortFree() const {
    const int fd = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int exclusive = 0;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                      ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive == 0;
    ::close(fd);
    return free;
}

std::string ModuleReply(const std::string& text) {
    // The window does not compare the two characters; a module's own sum would do as well.
    return kuvar::protocol::BuildFrame(text);
}
