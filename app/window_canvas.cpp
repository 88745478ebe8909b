// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_canvas.h"

#include "base/guard.h"

#include <QResizeEvent>

namespace kuvar {

class TWindowCanvas::TSurface : public QWidget {
public:
    TSurface(TWindowCanvas* canvas) : QWidget(canvas), canvas_(canvas) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        Guarded([this] { canvas_->Apply(); });
    }

private:
    TWindowCanvas* canvas_;
};

TWindowCanvas::TWindowCanvas(QWidget* window) : QScrollArea(window), surface_(new TSurface(this)) {
    setObjectName(QStringLiteral("Canvas"));
    surface_->setObjectName(QStringLiteral("CanvasSurface"));
    setFrameShape(QFrame::NoFrame);
    // A click on a control that takes no focus (a caption, a colour button) leaves the focus in
    // the control that had it, instead of handing it to the scroll area.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The surface fills the viewport but never shrinks below the design.
    surface_->setMinimumSize(kDesignWidth, kDesignHeight);
    surface_->resize(kDesignWidth, kDesignHeight);
    setWidgetResizable(true);
    setWidget(surface_);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TWindowCanvas::StretchWidth(QWidget* control) {
    stretches_.push_back({control, control->size(), true});
    Apply();
}

void TWindowCanvas::StretchHeight(QWidget* control) {
    stretches_.push_back({control, control->size(), false});
    Apply();
}

void TWindowCanvas::Apply() {
    const int extraWidth = std::max(0, surface_->width() - kDesignWidth);
    const int extraHeight = std::max(0, surface_->height() - kDesignHeight);
    for (const TStretch& s : stretches_) {
        if (s.width)
            s.control->resize(s.design.width() + extraWidth, s.control->height());
        else
            s.control->resize(s.control->width(), s.design.height() + extraHeight);
    }
}

} // namespace kuvar
