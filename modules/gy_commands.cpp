// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/gy_commands.h"

#include "base/guard.h"
#include "modules/command_steps.h"
#include "modules/control_text.h"
#include "modules/gy_page.h"
#include "protocol/commands.h"
#include "protocol/messages.h"
#include "protocol/text_fields.h"

namespace kuvar::modules {

using protocol::ITransactionHost;
using protocol::LinkState;
using protocol::Page;
namespace RxModes = protocol::RxModes;

namespace {

std::function<std::string()> IdOf(const TGyPage& page) {
    return [&page] { return TextOf(page.edGYID); };
}

// The stream stopped first and RxMode 0, then the question and the port test; false when the
// handler ends there.
bool StoppedAskedAndOpen(LinkState& state, ITransactionHost& host,
                         const protocol::TMessage& question) {
    protocol::StopStreamFirst(state, host, Page::Gy);
    state.RxMode = RxModes::LogOnly;
    return host.Ask(question) && protocol::RequirePortOpen(host);
}

} // namespace

void btGYIDfindClick(LinkState& state, ITransactionHost& host, TGyPage& page) {
    if (!host.Ask(protocol::kIdFindQuestion))
        return;
    state.LastFrame.clear();
    state.RxBuffer.clear();
    state.IdsAnswered.clear();
    state.RxMode = RxModes::GyIdQuery;
    if (!protocol::RequirePortOpen(host))
        return;
    SendRetried(
        state, host, [] { return protocol::CommandText("0"); }, 500, protocol::LastFrameHas(" "));
    SetControlText(page.edGYVersion, QString());
    btGYVersionClick(state, host, page);
    host.Delay(500);
    protocol::ReportIdsAnswered(state, host);
    if (!protocol::Contains(TextOf(page.edGYVersion), "GY"))
        host.ShowMessage(protocol::kNotKuvarGy);
}

void btGYNewIDClick(LinkState& state, ITransactionHost& host, TGyPage& page) {
    protocol::StopStreamFirst(state, host, Page::Gy);
    if (!host.Ask(protocol::IdChangeQuestion(TextOf(page.edGYID), TextOf(page.edGYNewID))))
        return;
    state.RxMode = RxModes::LogOnly;
    if (!protocol::RequirePortOpen(host))
        return;
    protocol::SendOnce(state, host,
                       protocol::CommandText(TextOf(page.edGYID), "ID", TextOf(page.edGYNewID)));
    SetControlText(page.edGYID, ControlText(page.edGYNewID));
    protocol::SendSave(state, host, TextOf(page.edGYID));
}

void btGYBaudrateClick(LinkState& state, ITransactionHost& host, TGyPage& page) {
    protocol::RequireModuleRate(TextOf(page.cbGYBaudrate));
    ConfigureStep step{Page::Gy, protocol::BaudrateQuestion(TextOf(page.cbGYBaudrate))};
    step.command = [&page] {
        return protocol::SpeedCommandText(TextOf(page.edGYID), TextOf(page.cbGYBaudrate));
    };
    step.waitMs = 1000;
    step.id = IdOf(page);
    RunConfigure(state, host, step);
}

void Button7Click(LinkState& state, ITransactionHost& host, TGyPage& page) {
    ConfigureStep step{Page::Gy, protocol::ScaleQuestion(TextOf(page.cbGYScale))};
    step.command = [&page] {
        return protocol::CommandText(TextOf(page.edGYID), "SCALE", TextOf(page.cbGYScale));
    };
    step.waitMs = 1000;
    step.id = IdOf(page);
    RunConfigure(state, host, step);
}

void btGYINTClick(LinkState& state, ITransactionHost& host, TGyPage& page) {
    if (!StoppedAskedAndOpen(state, host, protocol::IntervalQuestion(TextOf(page.edGYINT))))
        return;
    protocol::SendOnce(
        state, host, protocol::CommandText(TextOf(page.edGYID), "INTERVAL", TextOf(page.edGYINT)));
    protocol::SendSave(state, host, TextOf(page.edGYID));
}

void btGYModeClick(LinkState& state, ITransactionHost& host, TGyPage& page) {
    ConfigureStep step{Page::Gy, protocol::ModeQuestion(TextOf(page.cbGYMode))};
    step.command = [&page] {
        return protocol::CommandText(TextOf(page.edGYID), "MODE", TextOf(page.cbGYMode));
    };
    step.endPart = "[";
    step.id = IdOf(page);
    // From the box, not from the reply; the unit labels follow only the ID reply.
    step.afterSends = [&page] {
        const QString mode = ControlText(page.cbGYMode);
        if (mode == QLatin1String("0") || mode == QLatin1String("1")) {
            page.rbGYDegrees->setChecked(mode == QLatin1String("0"));
            page.rbGYDegSpeed->setChecked(mode == QLatin1String("1"));
        }
    };
    RunConfigure(state, host, step);
}

void btGYVersionClick(LinkState& state, ITransactionHost& host, TGyPage& page) {
    protocol::StopStreamFirst(state, host, Page::Gy);
    state.RxMode = RxModes::GyVersion;
    if (!protocol::RequirePortOpen(host))
        return;
    protocol::SendOnce(state, host, protocol::CommandText(TextOf(page.edGYID), "VER"));
}

void btGYRESETClick(LinkState& state, ITransactionHost& host, TGyPage& page) {
    if (!StoppedAskedAndOpen(state, host, protocol::kRestoreQuestion))
        return;
    protocol::SendOnce(state, host, protocol::CommandText(TextOf(page.edGYID), "RESTORE"));
}

void btGYAngleResetClick(LinkState& state, ITransactionHost& host, TGyPage& page) {
    if (!StoppedAskedAndOpen(state, host, protocol::kYawResetQuestion))
        return;
    SendRetried(
        state, host, [&page] { return protocol::CommandText(TextOf(page.edGYID), "INIT"); }, 500,
        protocol::LastFrameHas(" "));
    // Levelled whether or not the module answered; the displays and the chart keep their values.
    page.abGYCircle->SetRoll(0);
    page.abGYCircle->SetPitch(0);
    page.abGYCircle->SetCourse(0);
}

void AbColBitBtn4Click(LinkState& state, ITransactionHost& host, TGyPage& page) {
    SaveSetting(state, host, IdOf(page), RxModes::GyStream);
}

void btGYSTARTClick(LinkState& state, ITransactionHost& host) {
    protocol::NameSequence(state, protocol::Sequence::GyStart);
    host.Delay(10);
    host.StartTimer1();
}

void btGYStopClick(LinkState& state, ITransactionHost& host) {
    protocol::NameSequence(state, protocol::Sequence::GyStop);
    host.StartTimer1();
}

void ConnectGyPage(TGyPage& page, LinkState& state, ITransactionHost& host) {
    TGyPage* p = &page;
    LinkState* s = &state;
    ITransactionHost* h = &host;
    auto click = [p](auto* button, std::function<void()> body) {
        ConnectGuarded(button, &std::remove_pointer_t<decltype(button)>::clicked, p->sheet,
                       std::move(body));
    };
    click(p->btGYIDfind, [=] { btGYIDfindClick(*s, *h, *p); });
    click(p->btGYNewID, [=] { btGYNewIDClick(*s, *h, *p); });
    click(p->btGYBaudrate, [=] { btGYBaudrateClick(*s, *h, *p); });
    click(p->Button7, [=] { Button7Click(*s, *h, *p); });
    click(p->btGYINT, [=] { btGYINTClick(*s, *h, *p); });
    click(p->btGYMode, [=] { btGYModeClick(*s, *h, *p); });
    click(p->btGYVersion, [=] { btGYVersionClick(*s, *h, *p); });
    click(p->btGYRESET, [=] { btGYRESETClick(*s, *h, *p); });
    click(p->btGYAngleReset, [=] { btGYAngleResetClick(*s, *h, *p); });
    click(p->btGYSTART, [=] { btGYSTARTClick(*s, *h); });
    click(p->btGYStop, [=] { btGYStopClick(*s, *h); });
    click(p->AbColBitBtn4, [=] { AbColBitBtn4Click(*s, *h, *p); });
}

} // namespace kuvar::modules
