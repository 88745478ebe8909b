// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_list.h"

#include "serial/posix_backend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

bool IsComText(const QString& portText) {
    return portText.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive);
}

class TSystemPortInfo final : public IPortInfoSource {
public:
    std::vector<TPortInfo> Ports() override {
        std::vector<TPortInfo> ports;
        for (const QSerialPortInfo& q : QSerialPortInfo::availablePorts()) {
            TPortInfo info;
            info.path = q.systemLocation();
            info.description = q.description();
            info.manufacturer = q.manufacturer();
            info.serialNumber = q.serialNumber();
            if (q.hasVendorIdentifier())
                info.vendorId = q.vendorIdentifier();
            if (q.hasProductIdentifier())
                info.productId = q.productIdentifier();
            ports.push_back(info);
        }
        for (const QString& folder : SimulatorFolders()) {
            for (const auto& [link, terminal] : SimulatorLinks(folder)) {
                TPortInfo info;
                info.path = link;
                info.description = QStringLiteral("module simulator on %1").arg(terminal);
                ports.push_back(info);
            }
        }
        return ports;
    }
    QStringList DeviceFolders() override { return {QStringLiteral("/dev")}; }
};

} // namespace

TPortTarget PortTargetOf(const QString& portText) {
    TPortTarget target;
    if (IsComText(portText)) {
        target.comNumber = true;
        target.portNum = PortNumFromText(portText);
    } else if (portText.startsWith(QLatin1Char('/'))) {
        target.path = portText;
    } else if (portText.isEmpty()) {
        throw ENotAPort("No port given");
    } else {
        target.path = QStringLiteral("/dev/") + portText;
    }
    return target;
}

bool IsDevicePath(const QString& portText) {
    return !IsComText(portText);
}

int PortNumFromText(const QString& portText) {
    return ToInt(portText.mid(3, 2));
}

void CheckPortPath(const QString& path) {
    const int error = serial::CheckSerialNode(QFile::encodeName(path).constData());
    if (error == ENOTTY)
        throw ENotAPort(QStringLiteral("'%1' names no serial port").arg(path).toStdString());
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
    // A FIFO, a file or the terminal multiplexer is never opened.
    if (serial::CheckSerialNode(path.constData()) != 0)
        return ProbeResult::Unusable;
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES ? ProbeResult::NoPermission : ProbeResult::Unusable;
    }
    // Another program that holds the port holds its lock.
    const bool usable =
        serial::CheckSerialDescriptor(fd) == 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return usable ? ProbeResult::Usable : ProbeResult::Unusable;
}

bool ComPortUsable(const QString& name) {
    return ProbeComPort(name) == ProbeResult::Usable;
}

QString PortLabel(const TPortInfo& info) {
    QStringList maker;
    if (!info.manufacturer.isEmpty())
        maker << info.manufacturer;
    if (!info.serialNumber.isEmpty())
        maker << info.serialNumber;
    QString label = info.path;
    if (!info.description.isEmpty()) {
        label += QStringLiteral(" — ") + info.description;
        if (!maker.isEmpty())
            label += QStringLiteral(" (") + maker.join(QLatin1Char(' ')) + QLatin1Char(')');
    } else if (!maker.isEmpty()) {
        label += QStringLiteral(" — ") + maker.join(QLatin1Char(' '));
    }
    return label;
}

std::shared_ptr<IPortInfoSource> SystemPortInfo() {
    return std::make_shared<TSystemPortInfo>();
}

QStringList SimulatorFolders() {
    QStringList folders;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        folders << QFile::decodeName(runtime) + QStringLiteral("/kuvar-sim");
    folders << QStringLiteral("/tmp/kuvar-sim-%1").arg(::geteuid());
    return folders;
}

std::vector<std::pair<QString, QString>> SimulatorLinks(const QString& folder) {
    std::vector<std::pair<QString, QString>> links;
    struct stat st {};
    const QByteArray dir = QFile::encodeName(folder);
    if (::lstat(dir.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return links;
    static const QRegularExpression kSlave(QStringLiteral("^/dev/pts/[0-9]+$"));
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (!entry.isSymLink())
            continue;
        const QByteArray link = QFile::encodeName(entry.absoluteFilePath());
        char resolved[PATH_MAX];
        if (!::realpath(link.constData(), resolved))
            continue;
        const QString terminal = QFile::decodeName(resolved);
        struct stat target {};
        if (!kSlave.match(terminal).hasMatch() || ::stat(resolved, &target) != 0 ||
            !S_ISCHR(target.st_mode) || target.st_uid != ::geteuid())
            continue;
        links.emplace_back(entry.absoluteFilePath(), terminal);
    }
    return links;
}

QStringList AvailablePortNames() {
    QStringList names;
    for (const TPortInfo& info : SystemPortInfo()->Ports()) {
        if (!names.contains(info.path))
            names << info.path;
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
