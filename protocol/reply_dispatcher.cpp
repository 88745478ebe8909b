// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/reply_dispatcher.h"

#include "protocol/text_fields.h"

#include <algorithm>

namespace kuvar::protocol {

namespace {

constexpr auto npos = std::string::npos;

// Characters from two after the first "AL" or "LE" (past the blank) up to the first "]":
// "[1 INTERVAL 100]" gives "100", "[1 SCALE 2]" gives "2". No "]" gives the empty text.
std::string ValueAfter(const std::string& frame, const char* word) {
    const auto at = frame.find(word);
    const auto close = frame.find(']');
    if (at == npos || close == npos)
        return {};
    return CopyRange(frame, at + 3, close);
}

// One character at a 0-based position, or the empty text past the end.
std::string CharAt(const std::string& text, std::size_t at) {
    return at < text.size() ? text.substr(at, 1) : std::string();
}

bool IsQuery(std::int32_t mode) {
    return mode == RxModes::AcIdQuery || mode == RxModes::AcVersion || mode == RxModes::GyIdQuery ||
           mode == RxModes::GyVersion;
}

bool IsNumber(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool SameNumber(const std::string& a, const std::string& b) {
    const auto digits = [](const std::string& n) {
        const auto first = n.find_first_not_of('0');
        return first == npos ? std::string("0") : n.substr(first);
    };
    return digits(a) == digits(b);
}

ModulePage PageOf(std::int32_t rxMode) {
    switch (rxMode) {
    case RxModes::AcStream:
    case RxModes::AcIdQuery:
    case RxModes::AcVersion:
        return ModulePage::Ac;
    case RxModes::GyStream:
    case RxModes::GyIdQuery:
    case RxModes::GyVersion:
        return ModulePage::Gy;
    default:
        return ModulePage::None;
    }
}

// Hands the reply to the target's record when the dispatcher is done with it, however it ends.
struct TRecordWhenDone {
    IReplyTarget& target;
    ReplyRecord record;
    ~TRecordWhenDone() { target.RecordReply(record); }
};

bool IsAcStreamFrame(const std::string& frame) {
    return (frame.size() > 5 && !Contains(frame, "@")) || (!frame.empty() && frame[0] == '@');
}

} // namespace

ReplyDispatcher::ReplyDispatcher(LinkState& state, IReplyTarget& target, IMeasurementView* view)
    : state_(state), target_(target), view_(view) {}

bool AnswersQuery(const std::string& reply, const std::string& addressedId) {
    std::size_t end = 1;
    while (end < reply.size() && reply[end] >= '0' && reply[end] <= '9')
        ++end;
    if (reply.empty() || reply[0] != '[' || end == 1 || end >= reply.size() || reply[end] != ' ')
        return false;
    if (!IsNumber(addressedId) || SameNumber(addressedId, "0"))
        return true;
    return SameNumber(reply.substr(1, end - 1), addressedId);
}

void ReplyDispatcher::HandleReply(const std::string& text, const ArrivalTime& at) {
    ShownValues shown;
    const TRecordWhenDone record{target_, {text, at, PageOf(state_.RxMode), shown}};
    // The window's own frame coming back on a looped-back line, or another module's reply, is no
    // answer to a query: it is only logged, and the waiting command goes on waiting.
    const bool answer = !IsQuery(state_.RxMode) || AnswersQuery(text, state_.AddressedId);
    if (answer)
        state_.LastFrame = text;
    target_.AppendLog(text);
    if (Contains(text, "SAVE"))
        state_.SaveAcked = true;
    if (!answer)
        return;

    switch (state_.RxMode) {
    case RxModes::AcStream:
        if (!state_.StreamPaused && IsAcStreamFrame(state_.LastFrame) && view_)
            view_->ShowAcFrame(state_.LastFrame, at, shown);
        break;
    case RxModes::AcIdQuery:
        AcQueryReply();
        break;
    case RxModes::AcVersion:
        target_.SetText(Control::edACVersion, state_.LastFrame);
        break;
    case RxModes::GyIdQuery:
        GyQueryReply();
        break;
    case RxModes::GyVersion:
        target_.SetText(Control::edGYVersion, state_.LastFrame);
        break;
    case RxModes::GyStream:
        if (!state_.StreamPaused && state_.LastFrame.size() > 10) {
            // The shortened frame stays in LastFrame, where the waiting handler tests it.
            state_.LastFrame = Tail(state_.LastFrame, ' ');
            if (view_)
                view_->ShowGyFrame(state_.LastFrame, at, shown);
        }
        break;
    default:
        break;
    }
}

std::string ReplyDispatcher::TakeIdentity() {
    const std::string& frame = state_.LastFrame;
    const auto open = frame.find('[');
    const auto blank = frame.find(' ');
    const std::size_t idBegin = open == npos ? 0 : open + 1;
    std::string id = blank == npos ? std::string() : CopyRange(frame, idBegin, blank);
    const std::size_t rest = blank == npos ? 0 : blank;
    state_.LastFrame = frame.empty() ? std::string() : CopyRange(frame, rest, frame.size() - 1);
    auto& ids = state_.IdsAnswered;
    if (ids.size() < kMaxIdsAnswered && std::find(ids.begin(), ids.end(), id) == ids.end())
        ids.push_back(id);
    return id;
}

void ReplyDispatcher::AcQueryReply() {
    const std::string& frame = state_.LastFrame;
    if (Contains(frame, "VAL")) {
        target_.SetText(Control::edACINT, ValueAfter(frame, "AL"));
    } else if (Contains(frame, "ID")) {
        // "[" id " " mode-digit scale-digit ... "]"
        target_.SetText(Control::eID, TakeIdentity());
        target_.SetText(Control::cbACScale, CharAt(state_.LastFrame, 2));
        target_.SetText(Control::cbACMode, CharAt(state_.LastFrame, 1));
    } else if (const auto at = frame.find("SCALE"); at != npos) {
        target_.SetText(Control::cbACScale, CharAt(frame, at + 6));
        if (view_)
            view_->ClearAcDisplays();
    }
}

void ReplyDispatcher::GyQueryReply() {
    const std::string& frame = state_.LastFrame;
    if (Contains(frame, "VAL")) {
        target_.SetText(Control::edGYINT, ValueAfter(frame, "AL"));
        return;
    }
    if (Contains(frame, "LE")) {
        target_.SetText(Control::cbGYScale, ValueAfter(frame, "LE"));
        return;
    }
    // "[" id " " mode-digit ... "]", whatever else it holds
    target_.SetText(Control::edGYID, TakeIdentity());
    const std::string mode = CharAt(state_.LastFrame, 1);
    target_.SetText(Control::cbGYMode, mode);
    if (mode != "0" && mode != "1")
        return;
    const bool degrees = mode == "0";
    target_.SetChecked(Control::rbGYDegrees, degrees);
    target_.SetChecked(Control::rbGYDegSpeed, !degrees);
    const char* unit = degrees ? "(Degrees)" : "(mDegrees/Sec)";
    target_.SetText(Control::lbGYRoll, std::string("Roll") + unit);
    target_.SetText(Control::lbGYPitch, std::string("Pitch") + unit);
    target_.SetText(Control::lbGYYaw, std::string("Yaw") + unit);
}

} // namespace kuvar::protocol
