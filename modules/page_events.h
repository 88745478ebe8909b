// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

class QComboBox;
class QWidget;

namespace kuvar::modules {

// Runs a handler and keeps its exception from unwinding through Qt (the window's guard shows it
// in status panel 0).
using Guard = std::function<void(const std::function<void()>&)>;

// Runs action when watched receives an event of this type, before watched handles it.
class TEventHook : public QObject {
public:
    TEventHook(QObject* watched, QEvent::Type type, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QEvent::Type type_;
    std::function<void()> action_;
};

// The list of the combo is about to drop down, by mouse or keyboard (its popup is shown).
void OnDropDown(QComboBox* combo, std::function<void()> action);
// A mouse button went down on the widget.
void OnMouseDown(QWidget* widget, std::function<void()> action);

} // namespace kuvar::modules
