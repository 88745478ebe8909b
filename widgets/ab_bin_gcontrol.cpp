// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_bin_gcontrol.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <bit>

namespace {
bool gGroupUpdate = false;

int LowestSetBit(int32_t v) {
    return v == 0 ? 32 : std::countr_zero(static_cast<uint32_t>(v));
}
} // namespace

TAbBinGControl::TAbBinGControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

TAbBinGControl::~TAbBinGControl() {
    TAbFlashClock::Instance().Leave(this);
}

void TAbBinGControl::UpdateClock() {
    if (fChecked && fFlashing)
        TAbFlashClock::Instance().Join(this, static_cast<int>(fFrequency) + 2);
    else
        TAbFlashClock::Instance().Leave(this);
}

void TAbBinGControl::SetChecked(bool v) {
    if (v == fChecked)
        return;
    fChecked = v;
    UpdateClock();
    const uint32_t bit = 1u << fStatusBit;
    int32_t s;
    if (fMode == mRadioButton)
        s = v ? static_cast<int32_t>(bit) : 0;
    else
        s = static_cast<int32_t>(v ? (uint32_t(fStatusInt) | bit) : (uint32_t(fStatusInt) & ~bit));
    if (s != fStatusInt) {
        fStatusInt = s;
        fLowestBit = LowestSetBit(s);
    }
    Redraw();
    emit statusChanged();
}

void TAbBinGControl::SetStatusInt(int32_t v) {
    if (v == fStatusInt)
        return;
    fStatusInt = v;
    const bool checked = (uint32_t(v) >> fStatusBit) & 1u;
    if (checked != fChecked) {
        fChecked = checked;
        UpdateClock();
        Redraw();
        emit statusChanged();
    }
    fLowestBit = LowestSetBit(v);
    emit statusIntChanged();
    if (fGroupIndex != 0 && !gGroupUpdate && parentWidget()) {
        gGroupUpdate = true;
        const auto siblings =
            parentWidget()->findChildren<TAbBinGControl*>(Qt::FindDirectChildrenOnly);
        for (TAbBinGControl* c : siblings)
            if (c != this && c->fGroupIndex == fGroupIndex)
                c->SetStatusInt(v);
        gGroupUpdate = false;
    }
}

void TAbBinGControl::SetMode(TMode v) {
    if (v == fMode)
        return;
    fMode = v;
    if (v == mButton)
        SetStatusInt(0);
    else if (v == mRadioButton)
        SetStatusInt(1);
    Redraw();
}

void TAbBinGControl::SetGroupIndex(int v) {
    if (v >= 0)
        fGroupIndex = v;
}

void TAbBinGControl::SetStatusBit(int v) {
    if (v < 0 || v > 31 || v == fStatusBit)
        return;
    fStatusBit = v;
    Redraw();
}

void TAbBinGControl::SetFrequency(TFlashFreq v) {
    if (v == fFrequency)
        return;
    fFrequency = v;
    if (TAbFlashClock::Instance().Joined(this)) {
        TAbFlashClock::Instance().Leave(this);
        UpdateClock();
    }
}

void TAbBinGControl::SetFlashing(bool v) {
    if (v == fFlashing)
        return;
    fFlashing = v;
    UpdateClock();
    Redraw();
    emit statusChanged();
}

void TAbBinGControl::FlashTick(bool phase) {
    fPhase = phase;
    Redraw();
}

void TAbBinGControl::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    fPressed = true;
    switch (fMode) {
    case mButton:
        SetChecked(true);
        break;
    case mSwitch:
        SetChecked(!fChecked);
        break;
    case mRadioButton:
        SetStatusInt(static_cast<int32_t>(1u << fStatusBit));
        break;
    case mIndicator:
        break;
    }
    Redraw();
}

void TAbBinGControl::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !fPressed) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    // The click runs first, so that the control looks pressed while its handler runs.
    QPointer<TAbBinGControl> self(this);
    if (rect().contains(e->position().toPoint()))
        Click();
    if (!self)
        return;
    fPressed = false;
    if (fMode != mIndicator) {
        if (fMode == mButton)
            SetChecked(false);
        Redraw();
    }
}

TAbFlashClock& TAbFlashClock::Instance() {
    static TAbFlashClock* clock = new TAbFlashClock; // lives to the end of the program
    return *clock;
}

TAbFlashClock::TAbFlashClock() {}

void TAbFlashClock::Join(TAbBinGControl* c, int rate) {
    for (Member& m : fMembers)
        if (m.control == c) {
            m.rate = rate;
            return;
        }
    fMembers.append({c, rate, ((fTicks >> rate) & 1u) != 0});
    if (!fTimer) {
        fTimer = new QTimer(this);
        fTimer->setInterval(16);
        connect(fTimer, &QTimer::timeout, this, &TAbFlashClock::Tick);
    }
    if (!fTimer->isActive())
        fTimer->start();
}

void TAbFlashClock::Leave(TAbBinGControl* c) {
    fMembers.removeIf([c](const Member& m) { return m.control == c; });
    if (fMembers.isEmpty() && fTimer)
        fTimer->stop();
}

bool TAbFlashClock::Joined(const TAbBinGControl* c) const {
    for (const Member& m : fMembers)
        if (m.control == c)
            return true;
    return false;
}

void TAbFlashClock::Tick() {
    ++fTicks;
    const QList<Member> members = fMembers; // a control may leave while told
    for (const Member& m : members) {
        const bool phase = ((fTicks >> m.rate) & 1u) != 0;
        if (phase != m.last) {
            for (Member& live : fMembers)
                if (live.control == m.control)
                    live.last = phase;
            if (Joined(m.control))
                m.control->FlashTick(phase);
        }
    }
}
