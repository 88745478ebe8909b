// SPDX-License-Identifier: GPL-3.0-or-later
// TAbBinGControl: a control with a binary state, a status word, groups and flashing.
#pragma once

#include <QWidget>
#include <cstdint>

enum TMode { mButton, mSwitch, mIndicator, mRadioButton };
enum TFlashFreq { ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz };

class TAbBinGControl : public QWidget {
    Q_OBJECT
public:
    explicit TAbBinGControl(QWidget* parent = nullptr);
    ~TAbBinGControl() override;

    bool Checked() const { return fChecked; }
    void SetChecked(bool v);
    TMode Mode() const { return fMode; }
    void SetMode(TMode v);
    int GroupIndex() const { return fGroupIndex; }
    void SetGroupIndex(int v);
    int StatusBit() const { return fStatusBit; }
    void SetStatusBit(int v);
    int32_t StatusInt() const { return fStatusInt; }
    void SetStatusInt(int32_t v);
    TFlashFreq Frequency() const { return fFrequency; }
    void SetFrequency(TFlashFreq v);
    bool Flashing() const { return fFlashing; }
    void SetFlashing(bool v);

    bool Pressed() const { return fPressed; }
    bool FlashPhase() const { return fPhase; }
    // Index of the lowest set bit of StatusInt, 32 when none.
    int LowestBit() const { return fLowestBit; }

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
    // The release inside the control, reported before the control lets go.
    virtual void Click() {}

    bool fPressed = false;

private:
    void UpdateClock();

    bool fChecked = false;
    TMode fMode = mIndicator;
    int fGroupIndex = 0;
    int fStatusBit = 0;
    int32_t fStatusInt = 0;
    TFlashFreq fFrequency = ff1Hz;
    bool fFlashing = false;
    bool fPhase = false;
    int fLowestBit = 32;
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
    quint32 Ticks() const { return fTicks; }

private:
    TAbFlashClock();
    struct Member {
        TAbBinGControl* control;
        int rate;
        bool last;
    };
    QList<Member> fMembers;
    class QTimer* fTimer = nullptr;
    quint32 fTicks = 0;
};
