// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

namespace kuvar::sim {

// A raw pseudo-terminal with a stable symbolic link to its slave side. The simulator keeps a
// slave descriptor of its own, so the master never sees a hang-up when a client closes.
class PtyLink {
public:
    // nullptr with a message when the pty or the link cannot be made, or when another simulator
    // serves the same link.
    static std::unique_ptr<PtyLink> Create(const std::string& linkPath, int baud,
                                           std::string* error);
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    int MasterFd() const { return master_; }
    int NotifyFd() const { return notify_; }
    const std::string& LinkPath() const { return link_; }
    const std::string& SlavePath() const { return slave_; }

    // Reads the open and close events of the slave. A client that opens gets a line without the
    // bytes sent while nobody listened; a client's exclusive lock (TIOCEXCL) is dropped when it
    // closes, because on a pty it would outlive the client and refuse the next open.
    void HandleNotifications();

    // Closes the line for good, as an unplugged adapter does, and removes the link.
    void HangUp();

private:
    PtyLink() = default;
    void RemoveLink();

    int master_ = -1;
    int ownSlave_ = -1;
    int notify_ = -1;
    int lock_ = -1;
    std::string link_;
    std::string lockPath_;
    std::string slave_;
};

} // namespace kuvar::sim
