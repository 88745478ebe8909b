// SPDX-License-Identifier: GPL-3.0-or-later
// TAbColBitBtn: a push button with gradient face, bevel, picture and state-dependent text.
#pragma once

#include "widgets/ab_bin_gcontrol.h"
#include "widgets/ab_settings.h"

#include <QImage>

namespace kuvar {

enum TFlashOption : unsigned { foGlyph = 1, foText = 2, foTextCol = 4, foBtnCol = 8 };
enum TCheckedOption : unsigned {
    coGlyph = 1,
    coText = 2,
    coTextCol = 4,
    coBtnCol = 8,
    coBevel = 16
};
enum TPosH { phLeft, phRight, phCenter };
enum TPosV { pvTop, pvBottom, pvCenter };
enum TPos { pLeft, pRight, pTop, pBottom };

// Where glyph and text go inside the content area.
struct TAbBtnLayout {
    QRect glyph;   // glyph's place (size of one image)
    QPoint anchor; // text anchor point
    toPos textAnchor;
    QSize box; // content box
};
TAbBtnLayout LayoutButtonContent(const QRect& area, QSize glyph, int tw, int th, int spacing,
                                 TPos posGlyph, TPosH posH, TPosV posV, QPoint offset);

class TAbColBitBtn : public TAbBinGControl {
    Q_OBJECT
public:
    explicit TAbColBitBtn(QWidget* parent = nullptr);

    TAbBtnBevel ButtonBevel;
    TAbGradSettings GradBtnFace;

    unsigned FlashOptions() const { return flashOptions_; }
    void SetFlashOptions(unsigned v) { Store(flashOptions_, v); }
    unsigned CheckedOptions() const { return checkedOptions_; }
    void SetCheckedOptions(unsigned v) { Store(checkedOptions_, v); }
    const QImage& Glyph() const { return glyph_; }
    // Copies the strip; its bottom-left pixel's colour becomes transparent.
    void SetGlyph(const QImage& strip);
    int NumGlyph() const { return numGlyph_; }
    void SetNumGlyph(int v) {
        if (v > 0)
            Store(numGlyph_, v);
    }
    QColor ColorOff() const { return colorOff_; }
    void SetColorOff(const QColor& v) { Store(colorOff_, v); }
    QColor ColorDisabled() const { return colorDisabled_; }
    void SetColorDisabled(const QColor& v) { Store(colorDisabled_, v); }
    QColor ColorOn() const { return colorOn_; }
    void SetColorOn(const QColor& v) { Store(colorOn_, v); }
    int OffsetDown() const { return offsetDown_; }
    void SetOffsetDown(int v) { Store(offsetDown_, v); }
    int OffsetX() const { return offsetX_; }
    void SetOffsetX(int v) { Store(offsetX_, v); }
    int OffsetY() const { return offsetY_; }
    void SetOffsetY(int v) { Store(offsetY_, v); }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool v) { Store(beveled_, v); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { Store(transparent_, v); }
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { Store(flat_, v); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int v) { Store(spacing_, v); }
    QString TextOn() const { return textOn_; }
    void SetTextOn(const QString& v) { Store(textOn_, v); }
    QString TextOff() const { return textOff_; }
    void SetTextOff(const QString& v) { Store(textOff_, v); }
    QColor TextColOn() const { return textColOn_; }
    void SetTextColOn(const QColor& v) { Store(textColOn_, v); }
    QColor TextColOff() const { return textColOff_; }
    void SetTextColOff(const QColor& v) { Store(textColOff_, v); }
    QColor TextColDisabled() const { return textColDisabled_; }
    void SetTextColDisabled(const QColor& v) { Store(textColDisabled_, v); }
    bool Text3D() const { return text3D_; }
    void SetText3D(bool v) { Store(text3D_, v); }
    TPosH PosHorizontal() const { return posH_; }
    void SetPosHorizontal(TPosH v) { Store(posH_, v); }
    TPosV PosVertical() const { return posV_; }
    void SetPosVertical(TPosV v) { Store(posV_, v); }
    TPos PosGlyph() const { return posGlyph_; }
    void SetPosGlyph(TPos v) { Store(posGlyph_, v); }

    // What the face shows in the present state.
    QString ShownText() const;
    QColor ShownTextColor() const;
    bool ShownSunken() const;
    int GlyphIndex() const;
    QPoint ContentOffset() const;

    QSize sizeHint() const override { return QSize(65, 33); }

signals:
    // A left press and release inside the button.
    void clicked();

protected:
    void Click() override { emit clicked(); }
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void changeEvent(QEvent* e) override;

private:
    template <class T> void Store(T& field, const T& v) {
        if (!(field == v)) {
            field = v;
            Redraw();
        }
    }
    bool Flag(unsigned flashOpt, unsigned checkedOpt) const;

    unsigned flashOptions_ = foGlyph | foText | foTextCol | foBtnCol;
    unsigned checkedOptions_ = coGlyph | coText | coTextCol | coBtnCol | coBevel;
    QImage glyph_;
    int numGlyph_ = 1;
    QColor colorOff_ = SysColor::BtnFace;
    QColor colorDisabled_ = QColor(0xA0, 0xA0, 0xA0);
    QColor colorOn_ = SysColor::BtnFace;
    int offsetDown_ = 1;
    int offsetX_ = 0;
    int offsetY_ = 0;
    bool beveled_ = true;
    bool transparent_ = false;
    bool flat_ = false;
    bool hover_ = false;
    int spacing_ = 4;
    QString textOn_;
    QString textOff_;
    QColor textColOn_ = QColor(0x00, 0xFF, 0x00);
    QColor textColOff_ = Qt::black;
    QColor textColDisabled_ = SysColor::BtnShadow;
    bool text3D_ = true;
    TPosH posH_ = phCenter;
    TPosV posV_ = pvCenter;
    TPos posGlyph_ = pLeft;
};

} // namespace kuvar
