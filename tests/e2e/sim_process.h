// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <string>

// One kuvar-sim process serving a module on a link in a folder of the test's.
class TSimProcess {
public:
    // kind "ac" or "gy"; extra options as the program takes them.
    TSimProcess(const QString& kind, const QString& link, const QStringList& options = {});
    ~TSimProcess();
    TSimProcess(const TSimProcess&) = delete;
    TSimProcess& operator=(const TSimProcess&) = delete;

    bool Started() const { return !link_.isEmpty(); }
    const QString& Link() const { return link_; }
    // SIGKILL: the master closes at once, as an unplugged adapter.
    void Kill();
    // SIGSTOP: the module sends nothing more and its line stays open.
    void Pause();

private:
    int pid_ = -1;
    QString link_;
};
