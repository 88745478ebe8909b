// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/receive_framer.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace kuvar::protocol {

namespace {
constexpr char kStx = 0x02;
constexpr char kLf = 0x0A;
constexpr char kCr = 0x0D;
constexpr char kEtb = 0x17;
} // namespace

ReceiveFramer::ReceiveFramer(LinkState& state, ReplyHandler onReply)
    : ReceiveFramer(state, [onReply = std::move(onReply)](const std::string& text,
                                                          const ArrivalTime&) { onReply(text); }) {}

ReceiveFramer::ReceiveFramer(LinkState& state, TimedReplyHandler onReply, ArrivalClock clock)
    : state_(state), onReply_(std::move(onReply)), clock_(clock) {}

void ReceiveFramer::Feed(const std::string& chunk) {
    std::exception_ptr firstError;
    std::string& buffer = state_.RxBuffer;
    for (const char byte : chunk) {
        switch (byte) {
        case kStx:
        case kLf:
        case kEtb:
        case '$':
            break;
        case kCr:
            EndOfReply(firstError);
            break;
        default:
            buffer.push_back(byte);
            if (buffer.size() >= 2 * kMaxBuffer)
                buffer.erase(0, buffer.size() - kMaxBuffer);
            break;
        }
    }
    if (buffer.size() > kMaxBuffer)
        buffer.erase(0, buffer.size() - kMaxBuffer);
    if (firstError)
        std::rethrow_exception(firstError);
}

void ReceiveFramer::EndOfReply(std::exception_ptr& firstError) {
    std::string& buffer = state_.RxBuffer;
    std::string text = buffer.size() < 2 ? std::string() : buffer.substr(0, buffer.size() - 2);
    // Emptied before the handler runs, so that a failing reply leaves nothing behind.
    buffer.clear();
    if (std::count(text.begin(), text.end(), ']') > 1)
        return;
    try {
        onReply_(text, clock_.Now());
    } catch (...) {
        if (!firstError)
            firstError = std::current_exception();
    }
}

} // namespace kuvar::protocol
