// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing primitives shared by the attitude indicator and the colour button.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

namespace kuvar {

// Which point of a text box lies at the anchor.
enum toPos {
    toTopLeft,
    toTopCenter,
    toTopRight,
    toMidLeft,
    toMidCenter,
    toMidRight,
    toBotLeft,
    toBotCenter,
    toBotRight
};

enum TAngleMode { amAuto, amManual };

// Round to nearest, ties to even (the rounding of every pixel coordinate here).
int RoundEven(double v);

// Anti-diagonal bands from `from` (top-left) to `to` (bottom-right); returns the lines drawn.
int FillDiagonalGradient(QPainter& p, const QRect& r, const QColor& from, const QColor& to);

// The colour of line k of a gradient of d steps.
QColor DiagonalGradientColor(const QColor& from, const QColor& to, int d, int k);

// Clockwise on screen for positive angles (y points down).
QPoint RotatePoint(QPoint pt, QPoint centre, double angleDeg);

// Top-left corner of a tw x th text box whose `anchor` point lies at (x, y).
QPoint AnchoredTopLeft(int x, int y, toPos anchor, int tw, int th);

void DrawAnchoredText(QPainter& p, int x, int y, toPos anchor, const QString& text);
void DrawRotatedText(QPainter& p, QPoint anchor, const QString& text, toPos alignment,
                     double angleDeg);

// Digit pattern of '#', '0' and one '.', as "##0.0"; the separator is the user's.
QString FormatNumber(const QString& pattern, double value, QChar decimalSep = QLatin1Char('.'));

// Vertical face gradient: ColorFrom at the top row, ColorTo at the bottom.
void FillGradHorizontal1(QPainter& p, const QRect& r, const QColor& from, const QColor& to);

// Colour j/n of the way from a to b, each channel rounded.
QColor BlendColor(const QColor& a, const QColor& b, int j, int n);

} // namespace kuvar
