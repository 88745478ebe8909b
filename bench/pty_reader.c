/* SPDX-License-Identifier: GPL-3.0-or-later */
/* The cheapest program that keeps up with a stream: it reads a serial line and counts the
 * CR-terminated frames, nothing more. The peer bench runs it beside the window on the same
 * stream, so that the window's cost has a floor to be measured against.
 *   kuvar_pty_reader DEVICE RATE SECONDS
 * It reads for SECONDS after the first byte and prints "name value" lines. */
#include <asm/termbits.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static double CpuSeconds(void) {
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: kuvar_pty_reader DEVICE RATE SECONDS\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDWR | O_NOCTTY | O_CLOEXEC);
    struct termios2 t;
    if (fd < 0 || ioctl(fd, TCGETS2, &t) != 0) {
        perror(argv[1]);
        return 1;
    }
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = CS8 | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = t.c_ospeed = (speed_t)atoi(argv[2]);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (ioctl(fd, TCSETS2, &t) != 0) {
        perror("TCSETS2");
        return 1;
    }
    const double seconds = atof(argv[3]);
    char buffer[65536];
    long long bytes = 0, frames = 0;
    double first = 0, cpu0 = 0;
    for (;;) {
        struct pollfd p = {fd, POLLIN, 0};
        const int ready = poll(&p, 1, first > 0 ? 1000 : 10000);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || (p.revents & (POLLHUP | POLLERR)))
            break;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        if (first == 0) {
            first = Now();
            cpu0 = CpuSeconds();
        }
        bytes += n;
        for (ssize_t i = 0; i < n; ++i)
            frames += buffer[i] == '\r';
        if (Now() - first >= seconds)
            break;
    }
    const double wall = Now() - first;
    printf("reader_frames %lld\n", frames);
    printf("reader_bytes %lld\n", bytes);
    printf("reader_frames_per_second %.0f\n", wall > 0 ? frames / wall : 0);
    printf("reader_cpu_percent %.2f\n", wall > 0 ? (CpuSeconds() - cpu0) / wall * 100 : 0);
    return first > 0 ? 0 : 1;
}
