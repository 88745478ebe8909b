// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QScrollBar>
#include <QStyleOptionSlider>

namespace kuvar {

// A scroll bar that keeps its last picture and paints it again while nothing it shows has
// changed. The receive log asks its scroll bars to repaint at every append, and once the log
// is full an append leaves them as they were; drawing them anew cost more than the log's text.
// While the pointer is over the bar or holds it, it paints as a plain scroll bar.
class TCachedScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    QStyleOptionSlider shown_;
    const QStyle* shownStyle_ = nullptr;
    bool valid_ = false;
};

} // namespace kuvar
