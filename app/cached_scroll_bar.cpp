// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cached_scroll_bar.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace kuvar {

namespace {

bool SamePicture(const QStyleOptionSlider& a, const QStyleOptionSlider& b) {
    return a.rect == b.rect && a.state == b.state && a.direction == b.direction &&
           a.palette.cacheKey() == b.palette.cacheKey() && a.minimum == b.minimum &&
           a.maximum == b.maximum && a.sliderPosition == b.sliderPosition &&
           a.sliderValue == b.sliderValue && a.singleStep == b.singleStep &&
           a.pageStep == b.pageStep && a.orientation == b.orientation &&
           a.upsideDown == b.upsideDown && a.subControls == b.subControls &&
           a.activeSubControls == b.activeSubControls;
}

} // namespace

bool TCachedScrollBar::event(QEvent* event) {
    const bool handled = QScrollBar::event(event);
    // Every paint covers the bar with the window colour first, so the log's frame and the canvas
    // behind it need not be painted again whenever the bar is. The style's polish marks scroll
    // bars as see-through, so this follows it.
    if (event->type() == QEvent::Polish)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void TCachedScrollBar::paintEvent(QPaintEvent* event) {
    // Hovered or pressed parts are known to the plain scroll bar only.
    if (underMouse() || isSliderDown() || QWidget::mouseGrabber() == this) {
        valid_ = false;
        {
            QPainter painter(this);
            painter.fillRect(rect(), palette().window());
        }
        QScrollBar::paintEvent(event);
        return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    const qreal ratio = devicePixelRatioF();
    if (!valid_ || shownStyle_ != style() || !SamePicture(option, shown_) ||
        picture_.devicePixelRatio() != ratio) {
        picture_ = QPixmap(size() * ratio);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(palette().window().color());
        QPainter painter(&picture_);
        style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
        shown_ = option;
        shownStyle_ = style();
        valid_ = true;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

} // namespace kuvar
