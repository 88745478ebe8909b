// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/pty_link.h"

#include "tools/sim/line_rate.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kuvar::sim {
namespace {

std::string Errno(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Makes the folder and its parents; a folder that exists must be a real folder of ours, so that
// nobody else can swap the link under /tmp.
bool MakeFolder(const std::string& dir, std::string* error) {
    for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos != dir.size() && dir[pos] != '/')
            continue;
        const std::string part = dir.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            *error = Errno("cannot make " + part);
            return false;
        }
    }
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
        *error = dir + " is not a folder owned by this user";
        return false;
    }
    return true;
}

} // namespace

std::unique_ptr<PtyLink> PtyLink::Create(const std::string& linkPath, int baud,
                                         std::string* error) {
    std::unique_ptr<PtyLink> p(new PtyLink);
    p->link_ = linkPath;
    const auto slash = linkPath.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : linkPath.substr(0, slash);
    const std::string name = linkPath.substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.empty()) {
        *error = "the link needs a file name: " + linkPath;
        return nullptr;
    }
    if (dir != "." && !dir.empty() && !MakeFolder(dir, error))
        return nullptr;

    // A hidden lock beside the link tells a live simulator from a stale link of a crashed one.
    p->lockPath_ = (dir.empty() ? "" : dir + "/") + "." + name + ".lock";
    p->lock_ = open(p->lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (p->lock_ < 0) {
        *error = Errno("cannot open " + p->lockPath_);
        return nullptr;
    }
    if (flock(p->lock_, LOCK_EX | LOCK_NB) != 0) {
        close(p->lock_);
        p->lock_ = -1;
        *error = "another kuvar-sim serves " + linkPath;
        return nullptr;
    }

    p->master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (p->master_ < 0 || grantpt(p->master_) != 0 || unlockpt(p->master_) != 0) {
        *error = Errno("cannot open a pseudo-terminal");
        return nullptr;
    }
    char slaveName[128];
    if (ptsname_r(p->master_, slaveName, sizeof slaveName) != 0) {
        *error = Errno("ptsname");
        return nullptr;
    }
    p->slave_ = slaveName;
    p->ownSlave_ = open(slaveName, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (p->ownSlave_ < 0 || !SetRawLine(p->ownSlave_, baud)) {
        *error = Errno("cannot set up " + p->slave_);
        return nullptr;
    }
    p->notify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (p->notify_ < 0 || inotify_add_watch(p->notify_, slaveName, IN_OPEN | IN_CLOSE) < 0) {
        *error = Errno("cannot watch " + p->slave_);
        return nullptr;
    }

    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        *error = linkPath + " exists and is not a link";
        return nullptr;
    }
    const std::string temp = linkPath + ".new";
    unlink(temp.c_str());
    if (symlink(slaveName, temp.c_str()) != 0 || rename(temp.c_str(), linkPath.c_str()) != 0) {
        *error = Errno("cannot make the link " + linkPath);
        unlink(temp.c_str());
        return nullptr;
    }
    return p;
}

void PtyLink::HandleNotifications() {
    alignas(inotify_event) char buffer[4096];
    bool opened = false, closed = false;
    while (true) {
        const ssize_t n = read(notify_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (char* at = buffer; at < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            opened |= (event->mask & IN_OPEN) != 0;
            closed |= (event->mask & IN_CLOSE) != 0;
            at += sizeof(inotify_event) + event->len;
        }
    }
    if (closed && ownSlave_ >= 0)
        ioctl(ownSlave_, TIOCNXCL);
    if (opened && ownSlave_ >= 0)
        tcflush(ownSlave_, TCIFLUSH);
}

void PtyLink::RemoveLink() {
    if (link_.empty())
        return;
    // Only our own link: another simulator may have taken the name since.
    char target[256];
    const ssize_t n = readlink(link_.c_str(), target, sizeof target - 1);
    if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == slave_)
        unlink(link_.c_str());
    link_.clear();
}

void PtyLink::HangUp() {
    RemoveLink();
    for (int* fd : {&notify_, &ownSlave_, &master_}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
}

PtyLink::~PtyLink() {
    HangUp();
    if (lock_ >= 0) {
        unlink(lockPath_.c_str());
        close(lock_);
    }
}

} // namespace kuvar::sim
