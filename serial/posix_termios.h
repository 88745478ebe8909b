// SPDX-License-Identifier: GPL-3.0-or-later
// Linux line settings (termios2, so that any rate can be set). The kernel's termios header
// clashes with the C library's, so only posix_termios.cpp includes it; this header shows the
// settings as plain numbers with the kernel's flag values.
#pragma once

#include "serial/va_dcb.h"

#include <cstdint>

namespace kuvar::serial {

struct TVaLinuxTermios {
    std::uint32_t iflag = 0, oflag = 0, cflag = 0, lflag = 0;
    std::uint8_t line = 0;
    std::uint8_t cc[19] = {};
    std::uint32_t ispeed = 0, ospeed = 0;
};

// Maps a control block onto raw-mode settings with immediate reads. Returns 0, or EINVAL for
// what the Linux serial drivers cannot do (see the mapping in the .cpp).
int LinuxTermiosFromDcb(const TVaDcb& dcb, TVaLinuxTermios& out);

// Kernel index of the control characters in cc[].
int LinuxCcIndexStart();
int LinuxCcIndexStop();
int LinuxCcIndexEof();
int LinuxCcIndexMin();
int LinuxCcIndexTime();
// Kernel flag values this mapping uses and the C library's header may lack.
std::uint32_t LinuxFlagBother();
std::uint32_t LinuxFlagCbaud();

// Each returns 0 or errno.
int ReadLinuxTermios(int fd, TVaLinuxTermios& out);
int WriteLinuxTermios(int fd, const TVaLinuxTermios& settings);
// Keeps every setting and makes reads return at once with what has been received.
int SetLinuxImmediateReads(int fd);

} // namespace kuvar::serial
