// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX back end: terminals opened exclusively, settings through termios2, waits in poll.
#pragma once

#include "serial/serial_backend.h"

namespace kuvar::serial {

class TVaPosixBackend final : public ISerialBackend {
public:
    // "\\.\COMn" opens /dev/ttyS(n-1); any other name is a path. A file that is no serial
    // port (CheckSerialNode) fails with ENOTTY before it is opened, a device another program
    // holds with EBUSY.
    std::shared_ptr<ISerialPort> Open(const std::string& portName, int& error) override;
    std::string ErrorText(int code) override;
    std::string DeviceFile(const std::string& portName) override;
};

// Whether the node at path may be opened as a serial port: a character device that is not the
// pseudo-terminal multiplexer (opening it makes a new terminal), the controlling terminal or the
// console. 0, or the errno value to fail with (ENOTTY for a node that is no port).
int CheckSerialNode(const char* path);
// Whether an open descriptor is a serial port: the same rule, and it answers tcgetattr and is
// not the master side of a pseudo-terminal.
int CheckSerialDescriptor(int fd);

} // namespace kuvar::serial
