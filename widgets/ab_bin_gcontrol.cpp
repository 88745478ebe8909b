// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_bin_gcontrol.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <bit>

namespace kuvar {

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
    if (checked_ && flashing_)
        TAbFlashClock::Instance().Join(this, static_cast<int>(frequency_) + 2);
    else
        TAbFlashClock::Instance().Leave(this);
}

void TAbBinGControl::SetChecked(bool v) {
    if (v == checked_)
        return;
    checked_ = v;
    UpdateClock();
    const uint32_t bit = 1u << statusBit_;
    int32_t s;
    if (mode_ == mRadioButton)
        s = v ? static_cast<int32_t>(bit) : 0;
    else
        s = static_cast<int32_t>(v ? (uint32_t(statusInt_) | bit) : (uint32_t(statusInt_) & ~bit));
    if (s != statusInt_) {
        statusInt_ = s;
        lowestBit_ = LowestSetBit(s);
    }
    Redraw();
    emit statusChanged();
}

void TAbBinGControl::SetStatusInt(int32_t v) {
    if (v == statusInt_)
        return;
    statusInt_ = v;
    const bool checked = (uint32_t(v) >> statusBit_) & 1u;
    if (checked != checked_) {
        checked_ = checked;
        UpdateClock();
        Redraw();
        emit statusChanged();
    }
    lowestBit_ = LowestSetBit(v);
    emit statusIntChanged();
    if (groupIndex_ != 0 && !gGroupUpdate && parentWidget()) {
        gGroupUpdate = true;
        const auto siblings =
            parentWidget()->findChildren<TAbBinGControl*>(Qt::FindDirectChildrenOnly);
        for (TAbBinGControl* c : siblings)
            if (c != this && c->groupIndex_ == groupIndex_)
                c->SetStatusInt(v);
        gGroupUpdate = false;
    }
}

void TAbBinGControl::SetMode(TMode v) {
    if (v == mode_)
        return;
    mode_ = v;
    if (v == mButton)
        SetStatusInt(0);
    else if (v == mRadioButton)
        SetStatusInt(1);
    Redraw();
}

void TAbBinGControl::SetGroupIndex(int v) {
    if (v >= 0)
        groupIndex_ = v;
}

void TAbBinGControl::SetStatusBit(int v) {
    if (v < 0 || v > 31 || v == statusBit_)
        return;
    statusBit_ = v;
    Redraw();
}

void TAbBinGControl::SetFrequency(TFlashFreq v) {
    if (v == frequency_)
        return;
    frequency_ = v;
    if (TAbFlashClock::Instance().Joined(this)) {
        TAbFlashClock::Instance().Leave(this);
        UpdateClock();
    }
}

void TAbBinGControl::SetFlashing(bool v) {
    if (v == flashing_)
        return;
    flashing_ = v;
    UpdateClock();
    Redraw();
    emit statusChanged();
}

void TAbBinGControl::FlashTick(bool phase) {
    phase_ = phase;
    Redraw();
}

void TAbBinGControl::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    Press();
}

void TAbBinGControl::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !pressed_) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    Release(rect().contains(e->position().toPoint()));
}

void TAbBinGControl::keyPressEvent(QKeyEvent* e) {
    if (e->key() != Qt::Key_Space || focusPolicy() == Qt::NoFocus ||
        e->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(e);
        return;
    }
    if (!e->isAutoRepeat() && !pressed_)
        Press();
}

void TAbBinGControl::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() != Qt::Key_Space || !pressed_) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    if (!e->isAutoRepeat())
        Release(true);
}

void TAbBinGControl::Press() {
    pressed_ = true;
    switch (mode_) {
    case mButton:
        SetChecked(true);
        break;
    case mSwitch:
        SetChecked(!checked_);
        break;
    case mRadioButton:
        SetStatusInt(static_cast<int32_t>(1u << statusBit_));
        break;
    case mIndicator:
        break;
    }
    Redraw();
}

void TAbBinGControl::Release(bool inside) {
    // The click runs first, so that the control looks pressed while its handler runs.
    QPointer<TAbBinGControl> self(this);
    if (inside)
        Click();
    if (!self)
        return;
    pressed_ = false;
    if (mode_ != mIndicator) {
        if (mode_ == mButton)
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
    for (Member& m : members_)
        if (m.control == c) {
            m.rate = rate;
            return;
        }
    members_.append({c, rate, ((ticks_ >> rate) & 1u) != 0});
    if (!timer_) {
        timer_ = new QTimer(this);
        timer_->setInterval(16);
        connect(timer_, &QTimer::timeout, this, &TAbFlashClock::Tick);
    }
    if (!timer_->isActive())
        timer_->start();
}

void TAbFlashClock::Leave(TAbBinGControl* c) {
    members_.removeIf([c](const Member& m) { return m.control == c; });
    if (members_.isEmpty() && timer_)
        timer_->stop();
}

bool TAbFlashClock::Joined(const TAbBinGControl* c) const {
    for (const Member& m : members_)
        if (m.control == c)
            return true;
    return false;
}

void TAbFlashClock::Tick() {
    ++ticks_;
    const QList<Member> members = members_; // a control may leave while told
    for (const Member& m : members) {
        const bool phase = ((ticks_ >> m.rate) & 1u) != 0;
        if (phase != m.last) {
            for (Member& live : members_)
                if (live.control == m.control)
                    live.last = phase;
            if (Joined(m.control))
                m.control->FlashTick(phase);
        }
    }
}

} // namespace kuvar
