// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kuvar::sim {

// The bit rate set on a terminal. On a pty master it is the rate the program on the slave side
// set, custom rates such as 256000 included. 0 when it cannot be read.
int ReadLineRate(int fd);

// Sets the terminal raw (8N1, no flow control) at the given rate; false on failure.
bool SetRawLine(int fd, int baud);

} // namespace kuvar::sim
