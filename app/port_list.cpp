// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kuvar {

using kuvar::serial::TVaBaudrate;

namespace {

int ToInt(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    // An integer text may carry blanks around it, nothing else.
    if (!ok) {
        throw EConvertError(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    }
    return value;
}

} // namespace

bool IsDevicePath(const QString& portText) {
    return portText.startsWith(QLatin1Char('/'));
}

int PortNumFromText(const QString& portText) {
    return ToInt(portText.mid(3, 2));
}

std::optional<TVaBaudrate> BaudrateCode(const QString& rateText) {
    static constexpr struct {
        int rate;
        TVaBaudrate code;
    } kRates[] = {
        {110, kuvar::serial::br110},       {300, kuvar::serial::br300},
        {600, kuvar::serial::br600},       {1200, kuvar::serial::br1200},
        {2400, kuvar::serial::br2400},     {4800, kuvar::serial::br4800},
        {9600, kuvar::serial::br9600},     {14400, kuvar::serial::br14400},
        {19200, kuvar::serial::br19200},   {38400, kuvar::serial::br38400},
        {56000, kuvar::serial::br56000},   {57600, kuvar::serial::br57600},
        {115200, kuvar::serial::br115200}, {128000, kuvar::serial::br128000},
        {256000, kuvar::serial::br256000},
    };
    const int rate = ToInt(rateText);
    for (const auto& entry : kRates) {
        if (entry.rate == rate) {
            return entry.code;
        }
    }
    return std::nullopt;
}

ProbeResult ProbeComPort(const QString& name) {
    const QByteArray path = QFile::encodeName(name);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES ? ProbeResult::NoPermission : ProbeResult::Unusable;
    }
    // Another program that holds the port holds its lock; a port that is no terminal is no port.
    const bool usable = ::isatty(fd) && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return usable ? ProbeResult::Usable : ProbeResult::Unusable;
}

bool ComPortUsable(const QString& name) {
    return ProbeComPort(name) == ProbeResult::Usable;
}

QStringList AvailablePortNames() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        names << info.systemLocation();
    }
    // Module simulators make links in these folders.
    QStringList simDirs;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        simDirs << QFile::decodeName(runtime) + QStringLiteral("/kuvar-sim");
    }
    simDirs << QStringLiteral("/tmp/kuvar-sim-%1").arg(::getuid());
    for (const QString& dir : simDirs) {
        const QFileInfoList links =
            QDir(dir).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& link : links) {
            if (link.isSymLink() && !names.contains(link.absoluteFilePath())) {
                names << link.absoluteFilePath();
            }
        }
    }
    return names;
}

QStringList ListComPorts(bool probe, QString* permissionDenied) {
    QStringList kept;
    for (const QString& name : AvailablePortNames()) {
        if (!probe) {
            kept << name;
            continue;
        }
        const ProbeResult result = ProbeComPort(name);
        if (result == ProbeResult::Usable) {
            kept << name;
        } else if (result == ProbeResult::NoPermission && permissionDenied &&
                   permissionDenied->isEmpty()) {
            *permissionDenied = name;
        }
    }
    return kept;
}

} // namespace kuvar
