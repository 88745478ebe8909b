// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/page_events.h"

#include "base/guard.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QWidget>
#include <utility>

namespace kuvar::modules {

TEventHook::TEventHook(QObject* watched, QEvent::Type type, std::function<void()> action,
                       bool programOnly)
    : QObject(watched), type_(type), action_(std::move(action)), programOnly_(programOnly) {
    watched->installEventFilter(this);
}

bool TEventHook::eventFilter(QObject*, QEvent* event) {
    if (event->type() == type_ && !(programOnly_ && event->spontaneous()))
        Guarded(action_);
    return false;
}

void OnDropDown(QComboBox* combo, std::function<void()> action) {
    // The popup container is a window of its own; its Show comes before the list is drawn,
    // whether the arrow, F4 or Alt+Down opened it.
    new TEventHook(combo->view()->window(), QEvent::Show, std::move(action));
}

void OnMouseDown(QWidget* widget, std::function<void()> action) {
    new TEventHook(widget, QEvent::MouseButtonPress, std::move(action));
}

void OnPageShown(QWidget* page, std::function<void()> action) {
    new TEventHook(page, QEvent::Show, std::move(action), true);
}

} // namespace kuvar::modules
