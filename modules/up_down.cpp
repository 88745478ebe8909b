// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/up_down.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

TUpDown::TUpDown(QLineEdit* associate, int min, int max, int step, QWidget* parent)
    : QWidget(parent), associate_(associate), min_(min), max_(max), step_(step), position_(min) {
    bool ok = false;
    const int value = associate->text().toInt(&ok);
    if (ok) {
        position_ = std::clamp(value, min_, max_);
    }
    const QRect box = associate->geometry();
    setGeometry(box.right() + 1, box.top(), 15, box.height());
    setAccessibleName(associate->objectName() + QStringLiteral(" arrows"));
    setCursor(Qt::ArrowCursor);
}

void TUpDown::StepBy(int steps) {
    bool ok = false;
    const int typed = associate_->text().toInt(&ok);
    if (ok) {
        position_ = std::clamp(typed, min_, max_);
    }
    position_ = std::clamp(position_ + steps * step_, min_, max_);
    associate_->setText(QString::number(position_));
}

void TUpDown::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = QRect(0, i * half, width(), i == 0 ? half : height() - half);
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        QStyleOption arrow = option;
        arrow.rect = option.rect.adjusted(3, 2, -3, -2);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
}

void TUpDown::mousePressEvent(QMouseEvent* event) {
    StepBy(event->position().y() < height() / 2 ? 1 : -1);
}
