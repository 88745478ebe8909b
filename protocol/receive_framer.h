// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <string>

#include "protocol/arrival_clock.h"
#include "protocol/link_state.h"

namespace kuvar::protocol {

// Collects received bytes in LinkState::RxBuffer and hands each reply, without its two checksum
// characters, to the reply handler at its CR. STX, LF, ETB and "$" carry no text and are dropped.
//
// Reply test: a reply whose text holds more than one "]" is two replies run together (a CR got
// lost); it is discarded whole instead of being handed on or left in front of the next reply.
// Every other reply is handed on, however the chunks are cut.
class ReceiveFramer {
public:
    using ReplyHandler = std::function<void(const std::string& text)>;
    // Also given the reply's arrival: the moment its CR was framed.
    using TimedReplyHandler = std::function<void(const std::string& text, const ArrivalTime& at)>;

    // A flood without CR keeps at most this many bytes, the newest.
    static constexpr std::size_t kMaxBuffer = 64 * 1024;

    ReceiveFramer(LinkState& state, ReplyHandler onReply);
    ReceiveFramer(LinkState& state, TimedReplyHandler onReply, ArrivalClock clock = {});

    // One chunk as ReadText returned it. If the handler throws, the rest of the chunk is still
    // framed and handed on, and the first exception is rethrown at the end.
    void Feed(const std::string& chunk);

private:
    void EndOfReply(std::exception_ptr& firstError);

    LinkState& state_;
    TimedReplyHandler onReply_;
    ArrivalClock clock_;
};

} // namespace kuvar::protocol
