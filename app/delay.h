// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace kuvar {

class TWaits;

// Waits at least `ms` milliseconds while the event loop runs, so that every handler of the window
// can run meanwhile (handlers nest inside one another's waits). Pending events are processed at
// least once, also for 0 ms; between events the thread sleeps in the event loop.
void Delay(int ms);

// The same wait, watched by `waits`: returns false at once when `waits` cuts it (or has ended
// every wait before it starts), true when it ran its whole time.
bool Delay(int ms, TWaits& waits);

// The waits of one window's commands, so that they can be cut short. A wait that the close or a
// lost device cuts must not go on: every later wait would start a new event loop, and a new loop
// drops the application's pending quit.
class TWaits {
public:
    // Every wait running now returns at once (the device went away).
    void CutRunning();
    // Every running wait returns at once, and every later one does not wait at all (the window is
    // closing).
    void EndAll();
    bool Ended() const { return ended_; }

    struct TRunning; // one wait in progress

private:
    friend bool Delay(int ms, TWaits& waits);
    std::vector<TRunning*> running_;
    bool ended_ = false;
};

} // namespace kuvar
