// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serial/va_types.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace kuvar {

// A text that is not a number where one is needed.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whether the port text names a device path ("/dev/ttyUSB0", a simulator link) rather than
// a COMn port.
bool IsDevicePath(const QString& portText);
// Characters 4 and 5 of a COMn text as an integer: COM3 gives 3, COM12 12, COM123 12.
int PortNumFromText(const QString& portText);
// The serial component's rate code of a rate text; EConvertError when it is no integer.
std::optional<kuvar::serial::TVaBaudrate> BaudrateCode(const QString& rateText);

// Why a port could not be probed, for the first-start hint.
enum class ProbeResult { Usable, NoPermission, Unusable };
ProbeResult ProbeComPort(const QString& name);
bool ComPortUsable(const QString& name);

// The platform's serial ports and the links of running module simulators.
QStringList AvailablePortNames();
// Fills the list; with probing, keeps only ports that open now. The first port refused for lack
// of permission is reported in permissionDenied.
QStringList ListComPorts(bool probe, QString* permissionDenied = nullptr);

} // namespace kuvar
