// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/up_down.h"

#include "charts/number_text.h"

#include <QKeyEvent>
#include <algorithm>

namespace kuvar::charts {

TUpDown::TUpDown(QLineEdit* associate, int min, int max, int step, int position, QWidget* parent)
    : QWidget(parent), associate_(associate), up_(new QToolButton(this)),
      down_(new QToolButton(this)), min_(min), max_(max), step_(step),
      position_(std::clamp(position, min, max)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setObjectName(QStringLiteral("up"));
    down_->setObjectName(QStringLiteral("down"));
    up_->setAccessibleName(tr("Increase"));
    down_->setAccessibleName(tr("Decrease"));
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
    associate_->installEventFilter(this);
}

void TUpDown::StepBy(int steps) {
    position_ = std::clamp(IntFromText(associate_->text(), position_), min_, max_);
    const long long next =
        static_cast<long long>(position_) + static_cast<long long>(steps) * step_;
    position_ = static_cast<int>(std::clamp<long long>(next, min_, max_));
    associate_->setText(QString::number(position_));
}

void TUpDown::Attach() {
    position_ = std::clamp(IntFromText(associate_->text(), position_), min_, max_);
}

void TUpDown::WritePosition() {
    associate_->setText(QString::number(position_));
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

} // namespace kuvar::charts
