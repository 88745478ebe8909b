// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "protocol/controls.h"
#include "protocol/messages.h"

namespace kuvar::protocol {

// What commands need of the window. Every call runs on the UI thread; Delay and Ask run the
// event loop, so replies, the timer and other handlers may run inside them. A host may end the
// command from any call by throwing (the window closes, the device goes away); the code here
// holds nothing that such an exception would leave half done.
class ITransactionHost {
public:
    virtual ~ITransactionHost() = default;
    virtual bool PortOpen() = 0;
    // WriteText of the frame (its result is not examined), then status panel 1 and
    // leSendMessage show it.
    virtual void WriteFrame(const std::string& frame) = 0;
    virtual void Delay(int ms) = 0;
    virtual void SetStatus0(const std::string& text) = 0;
    // Modal Yes/No confirmation, Yes the default, Escape answers No; true for Yes.
    virtual bool Ask(const TMessage& question) = 0;
    // Plain message box with an OK button.
    virtual void ShowMessage(const TMessage& text) = 0;
    // The one-shot timer Timer1 (1 ms); the window calls Timer1Timer when it fires.
    virtual void StartTimer1() = 0;
    virtual void StopTimer1() = 0;
    // Current text of a control (eID, edGYID, the manual lines, ...).
    virtual std::string Text(Control control) = 0;
};

} // namespace kuvar::protocol
