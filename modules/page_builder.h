// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QWidget>

// Small helpers that place the window's standard controls at fixed positions, named after the
// control so that tests and assistive technology find them.
namespace kuvar::modules {

QFont ControlFont();

QLabel* Label(QWidget* parent, const char* name, int x, int y, const QString& text);
QLabel* CentredLabel(QWidget* parent, const char* name, int x, int y, int width,
                     const QString& text);
QLineEdit* Edit(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text);
// An editable combo whose text is what was typed: no inline completion from the list.
QComboBox* Combo(QWidget* parent, const char* name, int x, int y, int w, int h,
                 const QStringList& items, const QString& text);
// The same set-up for a combo of a class of its own, made by the caller.
void SetUpCombo(QComboBox* combo, const char* name, int x, int y, int w, int h,
                const QStringList& items, const QString& text);
QPushButton* Button(QWidget* parent, const char* name, int x, int y, int w, int h,
                    const QString& caption);
QCheckBox* Check(QWidget* parent, const char* name, int x, int y, const QString& caption);
QRadioButton* Radio(QWidget* parent, const char* name, int x, int y, const QString& caption);
// Sets a label's text colour.
void SetLabelColour(QLabel* label, const QColor& colour);

} // namespace kuvar::modules
