// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ac_commands.h"

#include "base/guard.h"
#include "modules/ac_page.h"
#include "modules/command_steps.h"
#include "modules/control_text.h"
#include "modules/measurement_parse.h"
#include "modules/page_events.h"
#include "protocol/commands.h"
#include "protocol/messages.h"
#include "protocol/text_fields.h"

namespace kuvar::modules {

using protocol::ITransactionHost;
using protocol::LinkState;
using protocol::Page;
namespace RxModes = protocol::RxModes;

namespace {

std::function<std::string()> IdOf(const TAcPage& page) {
    return [&page] { return TextOf(page.eID); };
}

template <typename Control> auto PutBack(Control* control, std::int32_t value) {
    return [control, value] { SetTextOf(control, std::to_string(value)); };
}

} // namespace

void btACIDFindClick(LinkState& state, ITransactionHost& host, TAcPage& page) {
    if (!host.Ask(protocol::kIdFindQuestion))
        return;
    state.LastFrame.clear();
    state.RxBuffer.clear();
    state.IdsAnswered.clear();
    state.RxMode = RxModes::AcIdQuery;
    if (!protocol::RequirePortOpen(host))
        return;
    // The reply fills eID, cbACMode and cbACScale; the scale query then goes to that ID.
    SendRetried(
        state, host, [] { return protocol::CommandText("0", "ID"); }, 500,
        protocol::LastFrameHas(" "));
    state.LastFrame.clear();
    state.RxBuffer.clear();
    SendRetried(
        state, host, [&page] { return protocol::CommandText(TextOf(page.eID), "SCALE"); }, 500,
        protocol::LastFrameHas(" "));
    SetControlText(page.edACVersion, QString());
    btACVersionClick(state, host, page);
    host.Delay(500);
    protocol::ReportIdsAnswered(state, host);
    if (!protocol::Contains(TextOf(page.edACVersion), "AC"))
        host.ShowMessage(protocol::kNotKuvarAc);
}

void btIDchangeClick(LinkState& state, ITransactionHost& host, TAcPage& page,
                     const TAcPrevious& prev) {
    protocol::StopStreamFirst(state, host, Page::Ac);
    if (!host.Ask(protocol::IdChangeQuestion(TextOf(page.eID), TextOf(page.edACNewID)))) {
        PutBack(page.edACNewID, prev.PrevAcNewId)();
        return;
    }
    state.RxMode = RxModes::LogOnly;
    if (!protocol::RequirePortOpen(host))
        return;
    protocol::SendOnce(state, host,
                       protocol::CommandText(TextOf(page.eID), "ID", TextOf(page.edACNewID)));
    // No reply is awaited: from now on the module answers to the new ID.
    SetControlText(page.eID, ControlText(page.edACNewID));
    protocol::SendSave(state, host, TextOf(page.eID));
}

void btACBaudrateClick(LinkState& state, ITransactionHost& host, TAcPage& page,
                       const TAcPrevious& prev) {
    protocol::RequireModuleRate(TextOf(page.cbACBaudrate));
    ConfigureStep step{Page::Ac, protocol::BaudrateQuestion(TextOf(page.cbACBaudrate))};
    step.onNo = PutBack(page.cbACBaudrate, prev.PrevAcBaud);
    step.command = [&page] {
        return protocol::SpeedCommandText(TextOf(page.eID), TextOf(page.cbACBaudrate));
    };
    step.waitMs = 1000;
    step.id = IdOf(page);
    RunConfigure(state, host, step);
}

void btACScaleClick(LinkState& state, ITransactionHost& host, TAcPage& page,
                    const TAcPrevious& prev) {
    ConfigureStep step{Page::Ac, protocol::ScaleQuestion(TextOf(page.cbACScale))};
    step.onNo = PutBack(page.cbACScale, prev.PrevAcScale);
    step.command = [&page] {
        return protocol::CommandText(TextOf(page.eID), "SCALE", TextOf(page.cbACScale));
    };
    step.id = IdOf(page);
    RunConfigure(state, host, step);
}

void btACINTClick(LinkState& state, ITransactionHost& host, TAcPage& page,
                  const TAcPrevious& prev) {
    ConfigureStep step{Page::Ac, protocol::IntervalQuestion(TextOf(page.edACINT))};
    step.onNo = PutBack(page.edACINT, prev.PrevAcInterval);
    step.command = [&page] {
        return protocol::CommandText(TextOf(page.eID), "INTERVAL", TextOf(page.edACINT));
    };
    step.endPart = "INT";
    step.id = IdOf(page);
    RunConfigure(state, host, step);
}

void btACModeClick(LinkState& state, ITransactionHost& host, TAcPage& page,
                   const TAcPrevious& prev) {
    ConfigureStep step{Page::Ac, protocol::ModeQuestion(TextOf(page.cbACMode))};
    step.onNo = PutBack(page.cbACMode, prev.PrevAcMode);
    step.command = [&page] {
        return protocol::CommandText(TextOf(page.eID), "MODE", TextOf(page.cbACMode));
    };
    step.id = IdOf(page);
    RunConfigure(state, host, step);
}

void btACVersionClick(LinkState& state, ITransactionHost& host, TAcPage& page) {
    protocol::StopStreamFirst(state, host, Page::Ac);
    state.RxMode = RxModes::AcVersion;
    if (!protocol::RequirePortOpen(host))
        return;
    protocol::SendOnce(state, host, protocol::CommandText(TextOf(page.eID), "VER"));
}

void btACRESTOREClick(LinkState& state, ITransactionHost& host, TAcPage& page) {
    protocol::StopStreamFirst(state, host, Page::Ac);
    state.RxMode = RxModes::LogOnly;
    if (!host.Ask(protocol::kRestoreQuestion))
        return;
    if (!protocol::RequirePortOpen(host))
        return;
    protocol::SendOnce(state, host, protocol::CommandText(TextOf(page.eID), "RESTORE"));
}

void AbColBitBtn3Click(LinkState& state, ITransactionHost& host, TAcPage& page) {
    SaveSetting(state, host, IdOf(page), RxModes::AcStream);
}

void cbACScaleDropDown(const TAcPage& page, TAcPrevious& prev) {
    prev.PrevAcScale = IntOrDefault(TextOf(page.cbACScale), 0);
}

void cbACBaudrateDropDown(const TAcPage& page, TAcPrevious& prev) {
    prev.PrevAcBaud = IntOrDefault(TextOf(page.cbACBaudrate), 0);
}

void cbACModeDropDown(const TAcPage& page, TAcPrevious& prev) {
    prev.PrevAcMode = IntOrDefault(TextOf(page.cbACMode), 0);
}

void edACNewIDMouseDown(const TAcPage& page, TAcPrevious& prev) {
    prev.PrevAcNewId = IntOrDefault(TextOf(page.edACNewID), 0);
}

void edACINTMouseDown(const TAcPage& page, TAcPrevious& prev) {
    prev.PrevAcInterval = IntOrDefault(TextOf(page.edACINT), 100);
}

void btACStartClick(LinkState& state, ITransactionHost& host) {
    protocol::NameSequence(state, protocol::Sequence::AcStart);
    host.StartTimer1();
}

void btACStopClick(LinkState& state, ITransactionHost& host) {
    protocol::NameSequence(state, protocol::Sequence::AcStop);
    host.StartTimer1();
}

void ConnectAcPage(TAcPage& page, LinkState& state, ITransactionHost& host, TAcPrevious& prev) {
    TAcPage* p = &page;
    LinkState* s = &state;
    ITransactionHost* h = &host;
    TAcPrevious* r = &prev;
    auto click = [p](auto* button, std::function<void()> body) {
        ConnectGuarded(button, &std::remove_pointer_t<decltype(button)>::clicked, p->sheet,
                       std::move(body));
    };
    click(p->btACIDFind, [=] { btACIDFindClick(*s, *h, *p); });
    click(p->btIDchange, [=] { btIDchangeClick(*s, *h, *p, *r); });
    click(p->btACBaudrate, [=] { btACBaudrateClick(*s, *h, *p, *r); });
    click(p->btACScale, [=] { btACScaleClick(*s, *h, *p, *r); });
    click(p->btACINT, [=] { btACINTClick(*s, *h, *p, *r); });
    click(p->btACMode, [=] { btACModeClick(*s, *h, *p, *r); });
    click(p->btACVersion, [=] { btACVersionClick(*s, *h, *p); });
    click(p->btACRESTORE, [=] { btACRESTOREClick(*s, *h, *p); });
    click(p->btACStart, [=] { btACStartClick(*s, *h); });
    click(p->btACStop, [=] { btACStopClick(*s, *h); });
    click(p->AbColBitBtn3, [=] { AbColBitBtn3Click(*s, *h, *p); });
    OnDropDown(p->cbACScale, [=] { cbACScaleDropDown(*p, *r); });
    OnDropDown(p->cbACBaudrate, [=] { cbACBaudrateDropDown(*p, *r); });
    OnDropDown(p->cbACMode, [=] { cbACModeDropDown(*p, *r); });
    OnMouseDown(p->edACNewID, [=] { edACNewIDMouseDown(*p, *r); });
    OnMouseDown(p->edACINT, [=] { edACINTMouseDown(*p, *r); });
}

} // namespace kuvar::modules
