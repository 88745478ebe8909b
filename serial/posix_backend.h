// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX back end: terminals opened exclusively, settings through termios2, waits in poll.
#pragma once

#include "serial/serial_backend.h"

namespace kuvar::serial {

class TVaPosixBackend final : public ISerialBackend {
public:
    // "\\.\COMn" opens /dev/ttyS(n-1); any other name is a path. A file that is not a
    // terminal fails with ENOTTY, a device another program holds with EBUSY.
    std::shared_ptr<ISerialPort> Open(const std::string& portName, int& error) override;
    std::string ErrorText(int code) override;
};

} // namespace kuvar::serial
