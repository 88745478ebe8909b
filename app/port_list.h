// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serial/va_types.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace kuvar {

// A text that is not a number where one is needed.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A port text that names no serial port ("/", "/dev/tty").
class ENotAPort : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a port text opens. "COM" (in any case) and a number keeps the component's port number
// (characters 4 and 5, COM3 opens \\.\COM3); an absolute path opens as typed; any other text is
// a device name under /dev ("ttyUSB0" opens /dev/ttyUSB0).
struct TPortTarget {
    bool comNumber = false;
    int portNum = 0; // with comNumber
    QString path;    // without it
};
TPortTarget PortTargetOf(const QString& portText);
// Whether the port text names a device path rather than a COMn port.
bool IsDevicePath(const QString& portText);
// Characters 4 and 5 of a COMn text as an integer: COM3 gives 3, COM12 12, COM123 12.
int PortNumFromText(const QString& portText);
// ENotAPort when path exists and is no serial port (a folder, a file, /dev/ptmx, /dev/tty); a
// path that does not exist is left to the component, whose message says so.
void CheckPortPath(const QString& path);
// The serial component's rate code of a rate text; EConvertError when it is no integer.
std::optional<kuvar::serial::TVaBaudrate> BaudrateCode(const QString& rateText);

// Why a port could not be probed, for the first-start hint.
enum class ProbeResult { Usable, NoPermission, Unusable };
// Opens the port for a moment, as the program would (no controlling terminal, no waiting):
// usable when it is a serial port that no other program holds.
ProbeResult ProbeComPort(const QString& name);
bool ComPortUsable(const QString& name);

// What the system knows of a port.
struct TPortInfo {
    QString path; // the device path or a simulator's link
    QString description;
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
};
// "/dev/ttyUSB0 — FT232R USB UART (FTDI A50285BI)"; the path alone when nothing is known.
QString PortLabel(const TPortInfo& info);

// Where the list of ports comes from; tests give their own.
class IPortInfoSource {
public:
    virtual ~IPortInfoSource() = default;
    // The platform's serial ports, then the links of running module simulators.
    virtual std::vector<TPortInfo> Ports() = 0;
    // Folders in which a device that is plugged in appears.
    virtual QStringList DeviceFolders() = 0;
};
std::shared_ptr<IPortInfoSource> SystemPortInfo();

// The folders where module simulators make their links: $XDG_RUNTIME_DIR/kuvar-sim and
// /tmp/kuvar-sim-<uid>.
QStringList SimulatorFolders();
// The links in folder that lead to a pseudo-terminal of this user's (/dev/pts/N), each with the
// terminal it leads to. None when the folder is not this user's own or others may write to it,
// so that nobody else can plant a link that the program opens.
std::vector<std::pair<QString, QString>> SimulatorLinks(const QString& folder);

// The platform's serial ports and the links of running module simulators.
QStringList AvailablePortNames();
// Fills the list; with probing, keeps only ports that open now. The first port refused for lack
// of permission is reported in permissionDenied.
QStringList ListComPorts(bool probe, QString* permissionDenied = nullptr);

} // namespace kuvar
