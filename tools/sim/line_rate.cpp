// SPDX-License-Identifier: GPL-3.0-or-later
// The kernel's termios2 carries any rate; it cannot share a file with <termios.h>.
#include "tools/sim/line_rate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace kuvar::sim {

int ReadLineRate(int fd) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return 0;
    return static_cast<int>(t.c_ospeed);
}

bool SetRawLine(int fd, int baud) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= CS8 | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = t.c_ospeed = static_cast<speed_t>(baud);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return ioctl(fd, TCSETS2, &t) == 0;
}

} // namespace kuvar::sim
