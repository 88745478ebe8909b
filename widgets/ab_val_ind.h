// SPDX-License-Identifier: GPL-3.0-or-later
// A numeric readout box with caption, laid out and filled on a QPainter.
#pragma once

#include "widgets/ab_settings.h"

#include <QRect>

class QPainter;

namespace kuvar {

class TAbValInd : public TAbPersistent {
    AB_PROPERTY(QString, FormatStr, formatStr_, QStringLiteral("##0.0"))
    AB_PROPERTY(QColor, Color, color_, QColor(Qt::black))
    AB_PROPERTY(TAbFont, Font, font_, (TAbFont{AbFont(13, true), QColor(Qt::green)}))
    AB_PROPERTY(int, OffsetX, offsetX_, 0)
    AB_PROPERTY(int, OffsetY, offsetY_, 0)
    AB_PROPERTY(bool, Visible, visible_, true)
public:
    TAbValInd();

    TAbBevelSettings Bevel;
    TAbText Caption;
    TAbOffset TxtSpacing;

    // Draws the box, its bevel and its caption; remembers the rectangles for Value.
    void Layout(QPainter& p, QPoint pt, toPos anchor);
    // Right-aligned number in the inner rectangle, overwriting the previous one.
    void Value(QPainter& p, double value, QChar decimalSep = QLatin1Char('.'));

    QRect BoxRect() const { return box_; }
    QRect InnerRect() const { return inner_; }
    int Margin() const { return margin_; }

private:
    QRect box_;
    QRect inner_;
    int margin_ = 0;
};

// Point of a box named by an anchor, as the caption is placed.
QPoint CaptionPoint(const QRect& box, toPos pos);

} // namespace kuvar
