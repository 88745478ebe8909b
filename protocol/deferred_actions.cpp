// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/deferred_actions.h"

#include "protocol/commands.h"

#include <string>

namespace kuvar::protocol {

namespace {

SendOutcome RunStart(LinkState& state, ITransactionHost& host, Control idField,
                     std::int32_t streamMode) {
    host.Delay(200);
    state.LastFrame.clear();
    state.RxBuffer.clear();
    state.RxMode = streamMode;
    if (!RequirePortOpen(host))
        return SendOutcome::PortClosed;
    RetriedSend start;
    start.command = [&host, idField] { return CommandText(host.Text(idField), "START"); };
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
    stop.command = [&host, idField] { return CommandText(host.Text(idField), "STOP"); };
    stop.waitMs = 500;
    stop.maxSends = 21;
    stop.endTest = LastFrameHas("STOP");
    stop.leaveWhenSilent = true;
    return RunRetriedSend(state, host, stop);
}

} // namespace

void NameSequence(LinkState& state, Sequence sequence) {
    static const char* const kActions[] = {"AC_START", "AC_STOP", "GY_START", "GY_STOP"};
    state.PendingAction = kActions[static_cast<int>(sequence)];
    state.StreamPaused = sequence == Sequence::AcStop || sequence == Sequence::GyStop;
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
    NameSequence(state, page == Page::Ac ? Sequence::AcStop : Sequence::GyStop);
    host.StartTimer1();
    host.Delay(20);
    state.LastFrame.clear();
    state.RxBuffer.clear();
}

} // namespace kuvar::protocol
