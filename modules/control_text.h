// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace kuvar::modules {

// The one way the window reads and writes a control's text: an edit box's or editable combo
// box's text as typed, or a label's caption; other controls have none.
QString ControlText(const QWidget* control);
// Sets that text; a text equal to the current one changes nothing, so that no change
// notification runs.
void SetControlText(QWidget* control, const QString& text);

} // namespace kuvar::modules
