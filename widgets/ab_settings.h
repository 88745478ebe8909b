// SPDX-License-Identifier: GPL-3.0-or-later
// The settings objects of the attitude indicator and the colour button.
#pragma once

#include "widgets/ab_draw.h"
#include "widgets/ab_persistent.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

namespace kuvar {

// A font with its colour, as the widgets' settings carry it.
struct TAbFont {
    QFont Font;
    QColor Color = Qt::black;
    bool operator==(const TAbFont& o) const { return Font == o.Font && Color == o.Color; }
};

// Face colours of a classic desktop, fixed so that pictures do not depend on the theme.
namespace SysColor {
inline const QColor BtnFace{0xF0, 0xF0, 0xF0};
inline const QColor BtnShadow{0xA0, 0xA0, 0xA0};
inline const QColor BtnHighlight{0xFF, 0xFF, 0xFF};
inline const QColor DkShadow3D{0x69, 0x69, 0x69};
inline const QColor Light3D{0xE3, 0xE3, 0xE3};
inline const QColor WindowText{0x00, 0x00, 0x00};
} // namespace SysColor

// Arial in the widgets' settings; the nearest sans face where it is missing.
QFont AbFont(int pixelSize, bool bold, const QString& family = QStringLiteral("Arial"));

class TAbBevelSettings : public TAbPersistent {
    AB_PROPERTY(QColor, ColorFrom, colorFrom_, QColor(Qt::white))
    AB_PROPERTY(QColor, ColorTo, colorTo_, QColor(0x73, 0x73, 0x73))
    AB_PROPERTY(int, Width, width_, 2)
public:
    void Exchange() {
        std::swap(colorFrom_, colorTo_);
        Changed();
    }
};

class TAbLineSettings : public TAbPersistent {
    AB_PROPERTY(QPen, Pen, pen_, QPen(Qt::black, 1))
    AB_PROPERTY(int, Length, length_, 0)
    AB_PROPERTY(int, Offset, offset_, 0)
    AB_PROPERTY(bool, Visible, visible_, true)
};

class TAbText : public TAbPersistent {
    AB_PROPERTY(QString, Text, text_, QString())
    AB_PROPERTY(TAbFont, Font, font_, TAbFont{})
    AB_PROPERTY(int, OffsetX, offsetX_, 0)
    AB_PROPERTY(int, OffsetY, offsetY_, 0)
    AB_PROPERTY(toPos, Pos, pos_, toTopLeft)
    AB_PROPERTY(bool, Visible, visible_, true)
};

class TAbOffset : public TAbPersistent {
    AB_PROPERTY(int, Top, top_, 0)
    AB_PROPERTY(int, Left, left_, 0)
    AB_PROPERTY(int, Right, right_, 0)
    AB_PROPERTY(int, Bottom, bottom_, 0)
};

class TAbCustomScale : public TAbPersistent {
    AB_PROPERTY(TAbFont, Font, font_, TAbFont{})
    AB_PROPERTY(QString, FormatStr, formatStr_, QStringLiteral("##0.#"))
    AB_PROPERTY(int, TextOffsetX, textOffsetX_, 0)
    AB_PROPERTY(int, TextOffsetY, textOffsetY_, 0)
    AB_PROPERTY(toPos, TextAlignment, textAlignment_, toMidCenter)
    AB_PROPERTY(int, Angle, angle_, 0)
    AB_PROPERTY(TAngleMode, AngleMode, angleMode_, amAuto)
public:
    TAbCustomScale();
    TAbLineSettings StepLines;
    TAbLineSettings SubStepLines;
};

class TAbScale : public TAbCustomScale {
    AB_PROPERTY(QString, Text, text_, QString())
};

class TAbFlexScale : public TAbCustomScale {
public:
    float SubStepAt() const { return subStepAt_; }
    int StepMulti() const { return stepMulti_; }
    int SubStepsVis() const { return subStepsVis_; }
    // Values of 0 or less have no meaning and are ignored.
    void SetSubStepAt(float v) {
        if (v > 0)
            Store(subStepAt_, v);
    }
    void SetStepMulti(int v) {
        if (v > 0)
            Store(stepMulti_, v);
    }
    void SetSubStepsVis(int v) {
        if (v > 0)
            Store(subStepsVis_, v);
    }

private:
    float subStepAt_ = 0;
    int stepMulti_ = 0;
    int subStepsVis_ = 0;
};

enum TGradientStyle {
    gsHorizontal1,
    gsHorizontal2,
    gsHorizontal3,
    gsVertical1,
    gsVertical2,
    gsVertical3,
    gsElliptic1,
    gsElliptic2,
    gsElliptic3,
    gsRectangle,
    gsDiamond1,
    gsDiamond2,
    gsTopLeft,
    gsTopRight
};

class TAbGradSettings : public TAbPersistent {
    AB_PROPERTY(QColor, ColorFrom, colorFrom_, QColor(0xF0, 0xF0, 0xF0))
    AB_PROPERTY(QColor, ColorTo, colorTo_, QColor(0x69, 0x69, 0x69))
    AB_PROPERTY(bool, Visible, visible_, true)
    AB_PROPERTY(TGradientStyle, Style, style_, gsHorizontal1)
};

class TAbBtnBevel : public TAbPersistent {
    AB_PROPERTY(QColor, ShadowColFrom, shadowColFrom_, QColor(Qt::black))
    AB_PROPERTY(QColor, ShadowColTo, shadowColTo_, SysColor::BtnShadow)
    AB_PROPERTY(QColor, HighlightColFrom, highlightColFrom_, QColor(0xD2, 0xD2, 0xD2))
    AB_PROPERTY(QColor, HighlightColTo, highlightColTo_, SysColor::BtnHighlight)
public:
    int Width() const { return width_; }
    void SetWidth(int v) {
        if (v >= 0)
            Store(width_, v);
    }

private:
    int width_ = 4;
};

} // namespace kuvar
