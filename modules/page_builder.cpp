// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/page_builder.h"

namespace kuvar::modules {

QFont ControlFont() {
    // The nearest compact sans face to the design's 8-point control font.
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Sans Serif")});
    font.setPointSize(8);
    return font;
}

QLabel* Label(QWidget* parent, const char* name, int x, int y, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(ControlFont());
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* CentredLabel(QWidget* parent, const char* name, int x, int y, int width,
                     const QString& text) {
    QLabel* label = Label(parent, name, x, y, text);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->resize(width, label->height());
    return label;
}

QLineEdit* Edit(QWidget* parent, const char* name, int x, int y, int w, int h,
                const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(QString::fromLatin1(name));
    edit->setFont(ControlFont());
    edit->setGeometry(x, y, w, h);
    return edit;
}

QComboBox* Combo(QWidget* parent, const char* name, int x, int y, int w, int h,
                 const QStringList& items, const QString& text) {
    auto* combo = new QComboBox(parent);
    SetUpCombo(combo, name, x, y, w, h, items, text);
    return combo;
}

void SetUpCombo(QComboBox* combo, const char* name, int x, int y, int w, int h,
                const QStringList& items, const QString& text) {
    combo->setObjectName(QString::fromLatin1(name));
    combo->setAccessibleName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Completing "/dev/tty" to a listed port, or "11" to "115200", would open or send what was
    // not typed.
    combo->setCompleter(nullptr);
    combo->setFont(ControlFont());
    combo->addItems(items);
    combo->setEditText(text);
    // Narrow combos: give the text the few pixels the frame would take.
    combo->lineEdit()->setTextMargins(-3, 0, -3, 0);
    combo->setGeometry(x, y, w, h);
}

QPushButton* Button(QWidget* parent, const char* name, int x, int y, int w, int h,
                    const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(ControlFont());
    button->setGeometry(x, y, w, h);
    return button;
}

QCheckBox* Check(QWidget* parent, const char* name, int x, int y, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(ControlFont());
    box->move(x, y);
    box->adjustSize();
    return box;
}

QRadioButton* Radio(QWidget* parent, const char* name, int x, int y, const QString& caption) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->move(x, y);
    radio->adjustSize();
    return radio;
}

void SetLabelColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace kuvar::modules
