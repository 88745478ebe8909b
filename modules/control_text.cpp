// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/control_text.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace kuvar::modules {

QString ControlText(const QWidget* control) {
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return QString();
}

void SetControlText(QWidget* control, const QString& text) {
    if (ControlText(control) == text)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setEditText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
}

} // namespace kuvar::modules
