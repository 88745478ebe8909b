// SPDX-License-Identifier: GPL-3.0-or-later
// The settings objects of the attitude indicator and the colour button.
#pragma once

#include "widgets/ab_draw.h"
#include "widgets/ab_persistent.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

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
    AB_PROPERTY(QColor, ColorFrom, QColor(Qt::white))
    AB_PROPERTY(QColor, ColorTo, QColor(0x73, 0x73, 0x73))
    AB_PROPERTY(int, Width, 2)
public:
    void Exchange() {
        std::swap(fColorFrom, fColorTo);
        Changed();
    }
};

class TAbLineSettings : public TAbPersistent {
    AB_PROPERTY(QPen, Pen, QPen(Qt::black, 1))
    AB_PROPERTY(int, Length, 0)
    AB_PROPERTY(int, Offset, 0)
    AB_PROPERTY(bool, Visible, true)
};

class TAbText : public TAbPersistent {
    AB_PROPERTY(QString, Text, QString())
    AB_PROPERTY(TAbFont, Font, TAbFont{})
    AB_PROPERTY(int, OffsetX, 0)
    AB_PROPERTY(int, OffsetY, 0)
    AB_PROPERTY(toPos, Pos, toTopLeft)
    AB_PROPERTY(bool, Visible, true)
};

class TAbOffset : public TAbPersistent {
    AB_PROPERTY(int, Top, 0)
    AB_PROPERTY(int, Left, 0)
    AB_PROPERTY(int, Right, 0)
    AB_PROPERTY(int, Bottom, 0)
};

class TAbCustomScale : public TAbPersistent {
    AB_PROPERTY(TAbFont, Font, TAbFont{})
    AB_PROPERTY(QString, FormatStr, QStringLiteral("##0.#"))
    AB_PROPERTY(int, TextOffsetX, 0)
    AB_PROPERTY(int, TextOffsetY, 0)
    AB_PROPERTY(toPos, TextAlignment, toMidCenter)
    AB_PROPERTY(int, Angle, 0)
    AB_PROPERTY(TAngleMode, AngleMode, amAuto)
public:
    TAbCustomScale();
    TAbLineSettings StepLines;
    TAbLineSettings SubStepLines;
};

class TAbScale : public TAbCustomScale {
    AB_PROPERTY(QString, Text, QString())
};

class TAbFlexScale : public TAbCustomScale {
public:
    float SubStepAt() const { return fSubStepAt; }
    int StepMulti() const { return fStepMulti; }
    int SubStepsVis() const { return fSubStepsVis; }
    // Values of 0 or less have no meaning and are ignored.
    void SetSubStepAt(float v) {
        if (v > 0)
            Store(fSubStepAt, v);
    }
    void SetStepMulti(int v) {
        if (v > 0)
            Store(fStepMulti, v);
    }
    void SetSubStepsVis(int v) {
        if (v > 0)
            Store(fSubStepsVis, v);
    }

private:
    float fSubStepAt = 0;
    int fStepMulti = 0;
    int fSubStepsVis = 0;
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
    AB_PROPERTY(QColor, ColorFrom, QColor(0xF0, 0xF0, 0xF0))
    AB_PROPERTY(QColor, ColorTo, QColor(0x69, 0x69, 0x69))
    AB_PROPERTY(bool, Visible, true)
    AB_PROPERTY(TGradientStyle, Style, gsHorizontal1)
};

class TAbBtnBevel : public TAbPersistent {
    AB_PROPERTY(QColor, ShadowColFrom, QColor(Qt::black))
    AB_PROPERTY(QColor, ShadowColTo, SysColor::BtnShadow)
    AB_PROPERTY(QColor, HighlightColFrom, QColor(0xD2, 0xD2, 0xD2))
    AB_PROPERTY(QColor, HighlightColTo, SysColor::BtnHighlight)
public:
    int Width() const { return fWidth; }
    void SetWidth(int v) {
        if (v >= 0)
            Store(fWidth, v);
    }

private:
    int fWidth = 4;
};
