// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

class QComboBox;
class QWidget;

namespace kuvar::modules {

// Runs action, guarded, when watched receives an event of this type, before watched handles it.
// Only events the program caused count when programOnly is set (a page shown by the page
// control, not the window shown again by the desktop).
class TEventHook : public QObject {
public:
    TEventHook(QObject* watched, QEvent::Type type, std::function<void()> action,
               bool programOnly = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QEvent::Type type_;
    std::function<void()> action_;
    bool programOnly_;
};

// The list of the combo is about to drop down, by mouse or keyboard (its popup is shown).
void OnDropDown(QComboBox* combo, std::function<void()> action);
// A mouse button went down on the widget.
void OnMouseDown(QWidget* widget, std::function<void()> action);
// The page became the visible page (TabSheet3Show, TabSheet4Show).
void OnPageShown(QWidget* page, std::function<void()> action);

} // namespace kuvar::modules
