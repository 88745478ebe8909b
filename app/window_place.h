// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace kuvar {

class TUserPreferences;

// The client rectangle moved and, where it must be, shrunk so that the window's frame (the
// client grown by the frame's margins) lies inside the available area of the screen.
QRect FitClientInto(const QRect& client, const QMargins& frame, const QRect& available);

// Before the window is shown: the place and size it had when last closed (or its design size,
// centred), inside the available area of the screen it was on; maximised again when it was.
void RestoreWindowPlace(QWidget& window, const TUserPreferences& preferences);
// Once shown, when the real frame is known: moves the frame back inside the screen if needed.
void KeepWindowOnScreen(QWidget& window);
// At a close: the place and size to come back to (the normal ones when maximised).
void SaveWindowPlace(const QWidget& window, TUserPreferences& preferences);

} // namespace kuvar
