// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QScrollArea>
#include <QWidget>

#include <vector>

namespace kuvar {

// The window's design surface, 1133 x 681 (the client area above the status bar), inside a
// scroll area: every control keeps its design position and size. A window smaller than the
// surface gets scroll bars; in a larger one the surface grows with the viewport and only the
// controls that stretch with the window follow it, from the top left.
class TWindowCanvas : public QScrollArea {
public:
    static constexpr int kDesignWidth = 1133;
    static constexpr int kDesignHeight = 681;

    explicit TWindowCanvas(QWidget* window);

    // The parent of the window's panels and pages.
    QWidget* Surface() const { return surface_; }
    // From now on the control's width (height) grows with the surface beyond its design size.
    void StretchWidth(QWidget* control);
    void StretchHeight(QWidget* control);

private:
    class TSurface;
    struct TStretch {
        QWidget* control;
        QSize design;
        bool width;
    };
    void Apply();

    QWidget* surface_;
    std::vector<TStretch> stretches_;
};

} // namespace kuvar
