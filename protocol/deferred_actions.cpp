// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/deferred_actions.h"

#include <string>

namespace kuvar::protocol {

namespace {

void Request(LinkState& state, bool pause, const char* action) {
    state.StreamPaused = pause;
    state.PendingAction = action;
}

SendOutcome RunStart(LinkState& state, ITransactionHost& host, Control idField,
                     std::int32_t streamMode) {
    host.Delay(200);
    state.LastFrame.clear();
    state.RxBuffer.clear();
    state.RxMode = streamMode;
    if (!RequirePortOpen(host))
        return SendOutcome::PortClosed;
    RetriedSend start;
    start.command = [&host, idField] { return "<" + host.Text(idField) + " START>"; };
    start.waitMs = 500;
    start.maxSends = 6;
    start.endTest = LastFrameHas(" ");
    return RunRetriedSend(state, host, start);
}

SendOutcome RunStop(LinkState& state, ITransactionHost& host, Control idField) {
    // RxBuffer is kept: the rest of a frame in flight still completes.
    state.LastFrame.clear();
    state.RxMode = RxModes::LogOnly;
    if (!RequirePortOpen(host))
        return SendOutcome::PortClosed;
    RetriedSend stop;
    stop.command = [&host, idField] { return "<" + host.Text(idField) + " STOP>"; };
    stop.waitMs = 500;
    stop.maxSends = 21;
    stop.endTest = LastFrameHas("STOP");
    stop.leaveWhenSilent = true;
    return RunRetriedSend(state, host, stop);
}

} // namespace

void btACStartClick(LinkState& state, ITransactionHost& host) {
    Request(state, false, "AC_START");
    host.StartTimer1();
}

void btACStopClick(LinkState& state, ITransactionHost& host) {
    Request(state, true, "AC_STOP");
    host.StartTimer1();
}

void btGYSTARTClick(LinkState& state, ITransactionHost& host) {
    Request(state, false, "GY_START");
    host.Delay(10);
    host.StartTimer1();
}

void btGYStopClick(LinkState& state, ITransactionHost& host) {
    Request(state, true, "GY_STOP");
    host.StartTimer1();
}

void Timer1Timer(LinkState& state, ITransactionHost& host) {
    host.StopTimer1();
    // A copy: a sequence may be asked for again while this one waits.
    const std::string action = state.PendingAction;
    if (action == "AC_START")
        RunAcStart(state, host);
    else if (action == "AC_STOP")
        RunAcStop(state, host);
    else if (action == "GY_START")
        RunGyStart(state, host);
    else if (action == "GY_STOP")
        RunGyStop(state, host);
}

SendOutcome RunAcStart(LinkState& state, ITransactionHost& host) {
    return RunStart(state, host, Control::eID, RxModes::AcStream);
}

SendOutcome RunAcStop(LinkState& state, ITransactionHost& host) {
    return RunStop(state, host, Control::eID);
}

SendOutcome RunGyStart(LinkState& state, ITransactionHost& host) {
    return RunStart(state, host, Control::edGYID, RxModes::GyStream);
}

SendOutcome RunGyStop(LinkState& state, ITransactionHost& host) {
    return RunStop(state, host, Control::edGYID);
}

void StopStreamFirst(LinkState& state, ITransactionHost& host, Page page) {
    if (page == Page::Ac)
        btACStopClick(state, host);
    else
        btGYStopClick(state, host);
    host.Delay(20);
    state.LastFrame.clear();
    state.RxBuffer.clear();
}

} // namespace kuvar::protocol
