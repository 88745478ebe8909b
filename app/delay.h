// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kuvar {

// Waits at least `ms` milliseconds while the event loop runs, so that every handler of the window
// can run meanwhile (handlers nest inside one another's waits). Pending events are processed at
// least once, also for 0 ms; between events the thread sleeps in the event loop.
void Delay(int ms);

} // namespace kuvar
