// SPDX-License-Identifier: GPL-3.0-or-later
// TAbBinGControl: a control with a binary state, a status word, groups and flashing.
#pragma once

#include <QWidget>
#include <cstdint>

namespace kuvar {

enum TMode { mButton, mSwitch, mIndicator, mRadioButton };
enum TFlashFreq { ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz };

class TAbBinGControl : public QWidget {
    Q_OBJECT
public:
    explicit TAbBinGControl(QWidget* parent = nullptr);
    ~TAbBinGControl() override;

    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    TMode Mode() const { return mode_; }
    void SetMode(TMode v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    int StatusBit() const { return statusBit_; }
    void SetStatusBit(int v);
    int32_t StatusInt() const { return statusInt_; }
    void SetStatusInt(int32_t v);
    TFlashFreq Frequency() const { return frequency_; }
    void SetFrequency(TFlashFreq v);
    bool Flashing() const { return flashing_; }
    void SetFlashing(bool v);

    bool Pressed() const { return pressed_; }
    bool FlashPhase() const { return phase_; }
    // Index of the lowest set bit of StatusInt, 32 when none.
    int LowestBit() const { return lowestBit_; }

    // Called by the flash clock with each new phase.
    void FlashTick(bool phase);

signals:
    void statusChanged();
    void statusIntChanged();

protected:
    // A state change that the face must show.
    virtual void Redraw() { update(); }
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // Space presses and releases a control that takes the focus, as the left mouse button does.
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    // The release inside the control, reported before the control lets go.
    virtual void Click() {}

    bool pressed_ = false;

private:
    void UpdateClock();
    void Press();
    void Release(bool inside);

    bool checked_ = false;
    TMode mode_ = mIndicator;
    int groupIndex_ = 0;
    int statusBit_ = 0;
    int32_t statusInt_ = 0;
    TFlashFreq frequency_ = ff1Hz;
    bool flashing_ = false;
    bool phase_ = false;
    int lowestBit_ = 32;
};

// The shared clock of all flashing controls: a tick every 16 ms on the UI thread.
class TAbFlashClock : public QObject {
    Q_OBJECT
public:
    static TAbFlashClock& Instance();
    void Join(TAbBinGControl* c, int rate);
    void Leave(TAbBinGControl* c);
    bool Joined(const TAbBinGControl* c) const;
    // One tick, as the timer runs it; public so that tests can drive the clock.
    void Tick();
    quint32 Ticks() const { return ticks_; }

private:
    TAbFlashClock();
    struct Member {
        TAbBinGControl* control;
        int rate;
        bool last;
    };
    QList<Member> members_;
    class QTimer* timer_ = nullptr;
    quint32 ticks_ = 0;
};

} // namespace kuvar
