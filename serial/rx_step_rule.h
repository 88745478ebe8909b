// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace kuvar::serial {

// When the event worker raises a receive step and how long it waits in between; the worker
// does the system calls, this type decides.
//
// - Gathering: bytes that come sooner than kMinRxStepSpacing after the last receive step wait
//   for the rest of it, so a stream hands the UI thread one step per few frames instead of one
//   per frame (each step costs the UI thread a wake-up and an event-loop pass, whatever it
//   carries). Bytes after a quiet spell go at once, and so does a full driver queue: nothing
//   more gathers in it, and a fast line fills what the driver holds behind it within a few
//   milliseconds, after which bytes are lost.
// - Holding: bytes a handler left unread are not raised again until more arrive (a
//   level-triggered wait would report them over and over); meanwhile the driver's count is
//   looked at every kHeldBytesPollMs, and a full driver queue raises them again, since no byte
//   can arrive until the handler reads.
// - Reading ahead: while a receive step waits for the UI thread (a paint may keep it for longer
//   than the driver's few KiB last at a fast stream), the driver's count is looked at every
//   kReadAheadPollMs, and from kReadAheadFromBytes on its bytes go into the component's own
//   receive queue of kReadAheadBytes; so it is while bytes gather before a step, once a line
//   brings kReadAheadGatherFrom bytes or more between steps (a few thousand frames a second).
//   Short steps, and slow lines, never read ahead.
// - Periodic: modem lines and the transmit queue have no wake-up of their own, so they are
//   looked at every kLinePollMs when watched.
class TRxStepRule {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kHeldBytesPollMs = 20;
    static constexpr std::uint32_t kFullDriverQueue = 4095; // a Linux tty holds at most this
    static constexpr int kLinePollMs = 50;
    static constexpr std::chrono::milliseconds kMinRxStepSpacing{4};
    static constexpr int kReadAheadPollMs = 2;
    static constexpr std::uint32_t kReadAheadFromBytes = 1024;
    static constexpr std::size_t kReadAheadBytes = std::size_t{1} << 20;
    static constexpr std::uint32_t kReadAheadGatherFrom = 256;

    TRxStepRule(bool wantRx, bool periodic) : wantRx_(wantRx), periodic_(periodic) {}

    // The next wait: its timeout (-1 for none) and whether it watches for received bytes.
    int WaitTimeoutMs() const;
    bool WaitsForReadable() const { return wantRx_ && !holding_; }
    // While holding, the driver's unread count is needed after each wait.
    bool Holding() const { return holding_; }

    // The line is readable at `now`: milliseconds to let it gather before the step, 0 for none.
    int GatherMs(Clock::time_point now) const;
    // The same, knowing that `unread` bytes wait in the driver's queue.
    int GatherMs(Clock::time_point now, std::uint32_t unread) const {
        return unread >= kFullDriverQueue ? 0 : GatherMs(now);
    }
    // Whether the bytes gathering for a step, `unread` of them so far, come fast enough that the
    // driver's queue is to be looked at while they do.
    static bool ReadsAheadWhileGathering(std::uint32_t unread) {
        return unread >= kReadAheadGatherFrom;
    }
    // While holding, with the driver's unread count: true when the held bytes are to be raised
    // (more came, or the queue is full); the hold ends when the bytes are gone.
    bool RaiseHeld(std::uint32_t unread);
    // A step ended. receiveStep: it carried received bytes; handlerRead: its handler read some;
    // left: bytes unread when it ended (those that came during the step are new).
    void StepEnded(bool receiveStep, Clock::time_point at, bool handlerRead, std::uint32_t left);

private:
    bool wantRx_;
    bool periodic_;
    bool holding_ = false;
    std::uint32_t held_ = 0;
    Clock::time_point lastRxStep_{};
};

} // namespace kuvar::serial
