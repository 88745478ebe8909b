// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/controls.h"

#include <QString>

namespace kuvar {

// What the link controller needs of the window's controls. Texts are Unicode here; the
// controller converts them to and from the line's code page.
class ILinkView {
public:
    virtual ~ILinkView() = default;

    // The texts of ePortNo and cbBaudrate, as typed.
    virtual QString PortText() const = 0;
    virtual QString BaudrateText() const = 0;
    // Puts a port into ePortNo's text, as if typed (a device back at another path).
    virtual void SetPortText(const QString& text) = 0;
    // imConnect's picture and lbComOpen's colour for an open or closed port; throws when the
    // picture cannot be loaded, before anything else changes.
    virtual void ShowPortState(bool open) = 0;
    // The frame just sent, in status panel 1 and leSendMessage.
    virtual void ShowSentFrame(const QString& frame) = 0;
    virtual void ShowStatus0(const QString& text) = 0;
    // Modal Yes/No question (Yes the default, Escape answers No) and plain message box.
    virtual bool Ask(const QString& question) = 0;
    virtual void ShowMessage(const QString& text) = 0;
    // One reply in the receive log; FlushLog shows the pending ones at once.
    virtual void AppendLog(const QString& line) = 0;
    virtual void FlushLog() = 0;
    // Text and check state of the controls the link logic knows by name.
    virtual QString ControlText(protocol::Control control) const = 0;
    virtual void SetControlText(protocol::Control control, const QString& text) = 0;
    virtual void SetControlChecked(protocol::Control control, bool checked) = 0;
};

} // namespace kuvar
