// SPDX-License-Identifier: GPL-3.0-or-later
// The only file that includes the kernel's termios definitions (<termios.h> must not be
// included beside them).
#include "serial/posix_termios.h"

#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

namespace kuvar::serial {

static_assert(sizeof(TVaLinuxTermios::cc) == NCCS);

namespace {

void ToKernel(const TVaLinuxTermios& in, termios2& out) {
    std::memset(&out, 0, sizeof out);
    out.c_iflag = in.iflag;
    out.c_oflag = in.oflag;
    out.c_cflag = in.cflag;
    out.c_lflag = in.lflag;
    out.c_line = in.line;
    std::memcpy(out.c_cc, in.cc, NCCS);
    out.c_ispeed = in.ispeed;
    out.c_ospeed = in.ospeed;
}

void FromKernel(const termios2& in, TVaLinuxTermios& out) {
    out.iflag = in.c_iflag;
    out.oflag = in.c_oflag;
    out.cflag = in.c_cflag;
    out.lflag = in.c_lflag;
    out.line = in.c_line;
    std::memcpy(out.cc, in.c_cc, NCCS);
    out.ispeed = in.c_ispeed;
    out.ospeed = in.c_ospeed;
}

} // namespace

// Mapping notes:
// - Every rate goes through BOTHER, so 14400, 56000, 128000, 256000 and any user rate are set
//   exactly as asked; the driver picks its nearest divisor. Rate 0 would hang the line up
//   (B0), so it is refused.
// - Data bits 5..8; 4 bits has no termios size and is refused.
// - 1.5 stop bits exist on UARTs only with 5 data bits, where CSTOPB gives 1.5; refused
//   otherwise. Mark and space parity are PARENB with CMSPAR (PARODD for mark).
// - CTS output flow and RTS handshake are both CRTSCTS (Linux pairs them). DSR output flow,
//   DTR handshake, DSR sensitivity, RTS toggle and null stripping have no Linux equivalent
//   and are refused. With parity checking (INPCK) Linux passes a byte received in error as a
//   zero byte: that is the error character 0; another error character is refused.
// - TxContinueOnXoff, XonLim and XoffLim have no termios setting: the driver's thresholds
//   apply. The event character is kept by the component only.
int LinuxTermiosFromDcb(const TVaDcb& dcb, TVaLinuxTermios& out) {
    out = TVaLinuxTermios{};
    if (dcb.BaudRate == 0)
        return EINVAL;
    if (dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > 4 || dcb.StopBits > 2)
        return EINVAL;
    if (dcb.StopBits == 1 && dcb.ByteSize != 5)
        return EINVAL;
    if (dcb.fOutxDsrFlow || dcb.fDtrControl == 2 || dcb.fDsrSensitivity || dcb.fNull ||
        dcb.fRtsControl == 3 || dcb.fDtrControl > 2)
        return EINVAL;
    if (dcb.fErrorChar && dcb.ErrorChar != 0)
        return EINVAL;

    tcflag_t c = BOTHER | CREAD | CLOCAL;
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    c |= kSizes[dcb.ByteSize - 5];
    if (dcb.StopBits != 0)
        c |= CSTOPB;
    switch (dcb.Parity) {
    case 1:
        c |= PARENB | PARODD;
        break;
    case 2:
        c |= PARENB;
        break;
    case 3:
        c |= PARENB | CMSPAR | PARODD;
        break;
    case 4:
        c |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == 2)
        c |= CRTSCTS;

    tcflag_t i = 0;
    if (dcb.fParity)
        i |= INPCK;
    if (dcb.fOutX)
        i |= IXON;
    if (dcb.fInX)
        i |= IXOFF;

    out.cflag = c;
    out.iflag = i;
    out.oflag = 0;
    out.lflag = 0;
    out.cc[VSTART] = static_cast<std::uint8_t>(dcb.XonChar);
    out.cc[VSTOP] = static_cast<std::uint8_t>(dcb.XoffChar);
    out.cc[VEOF] = static_cast<std::uint8_t>(dcb.EofChar);
    out.cc[VMIN] = 0;
    out.cc[VTIME] = 0;
    out.ispeed = dcb.BaudRate;
    out.ospeed = dcb.BaudRate;
    return 0;
}

int LinuxCcIndexStart() {
    return VSTART;
}
int LinuxCcIndexStop() {
    return VSTOP;
}
int LinuxCcIndexEof() {
    return VEOF;
}
int LinuxCcIndexMin() {
    return VMIN;
}
int LinuxCcIndexTime() {
    return VTIME;
}
std::uint32_t LinuxFlagBother() {
    return BOTHER;
}
std::uint32_t LinuxFlagCbaud() {
    return CBAUD;
}

int ReadLinuxTermios(int fd, TVaLinuxTermios& out) {
    termios2 t;
    if (ioctl(fd, TCGETS2, &t) != 0)
        return errno;
    FromKernel(t, out);
    return 0;
}

int WriteLinuxTermios(int fd, const TVaLinuxTermios& settings) {
    termios2 current;
    if (ioctl(fd, TCGETS2, &current) != 0)
        return errno;
    termios2 t;
    ToKernel(settings, t);
    t.c_line = current.c_line; // the line discipline is not ours to change
    if (ioctl(fd, TCSETS2, &t) != 0)
        return errno;
    return 0;
}

int SetLinuxImmediateReads(int fd) {
    termios2 t;
    if (ioctl(fd, TCGETS2, &t) != 0)
        return errno;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (ioctl(fd, TCSETS2, &t) != 0)
        return errno;
    return 0;
}

} // namespace kuvar::serial
