// SPDX-License-Identifier: GPL-3.0-or-later
// TAbColBitBtn: a push button with gradient face, bevel, picture and state-dependent text.
#pragma once

#include "widgets/ab_bin_gcontrol.h"
#include "widgets/ab_settings.h"

#include <QImage>

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

    unsigned FlashOptions() const { return fFlashOptions; }
    void SetFlashOptions(unsigned v) { Store(fFlashOptions, v); }
    unsigned CheckedOptions() const { return fCheckedOptions; }
    void SetCheckedOptions(unsigned v) { Store(fCheckedOptions, v); }
    const QImage& Glyph() const { return fGlyph; }
    // Copies the strip; its bottom-left pixel's colour becomes transparent.
    void SetGlyph(const QImage& strip);
    int NumGlyph() const { return fNumGlyph; }
    void SetNumGlyph(int v) {
        if (v > 0)
            Store(fNumGlyph, v);
    }
    QColor ColorOff() const { return fColorOff; }
    void SetColorOff(const QColor& v) { Store(fColorOff, v); }
    QColor ColorDisabled() const { return fColorDisabled; }
    void SetColorDisabled(const QColor& v) { Store(fColorDisabled, v); }
    QColor ColorOn() const { return fColorOn; }
    void SetColorOn(const QColor& v) { Store(fColorOn, v); }
    int OffsetDown() const { return fOffsetDown; }
    void SetOffsetDown(int v) { Store(fOffsetDown, v); }
    int OffsetX() const { return fOffsetX; }
    void SetOffsetX(int v) { Store(fOffsetX, v); }
    int OffsetY() const { return fOffsetY; }
    void SetOffsetY(int v) { Store(fOffsetY, v); }
    bool Beveled() const { return fBeveled; }
    void SetBeveled(bool v) { Store(fBeveled, v); }
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool v) { Store(fTransparent, v); }
    bool Flat() const { return fFlat; }
    void SetFlat(bool v) { Store(fFlat, v); }
    int Spacing() const { return fSpacing; }
    void SetSpacing(int v) { Store(fSpacing, v); }
    QString TextOn() const { return fTextOn; }
    void SetTextOn(const QString& v) { Store(fTextOn, v); }
    QString TextOff() const { return fTextOff; }
    void SetTextOff(const QString& v) { Store(fTextOff, v); }
    QColor TextColOn() const { return fTextColOn; }
    void SetTextColOn(const QColor& v) { Store(fTextColOn, v); }
    QColor TextColOff() const { return fTextColOff; }
    void SetTextColOff(const QColor& v) { Store(fTextColOff, v); }
    QColor TextColDisabled() const { return fTextColDisabled; }
    void SetTextColDisabled(const QColor& v) { Store(fTextColDisabled, v); }
    bool Text3D() const { return fText3D; }
    void SetText3D(bool v) { Store(fText3D, v); }
    TPosH PosHorizontal() const { return fPosH; }
    void SetPosHorizontal(TPosH v) { Store(fPosH, v); }
    TPosV PosVertical() const { return fPosV; }
    void SetPosVertical(TPosV v) { Store(fPosV, v); }
    TPos PosGlyph() const { return fPosGlyph; }
    void SetPosGlyph(TPos v) { Store(fPosGlyph, v); }

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

    unsigned fFlashOptions = foGlyph | foText | foTextCol | foBtnCol;
    unsigned fCheckedOptions = coGlyph | coText | coTextCol | coBtnCol | coBevel;
    QImage fGlyph;
    int fNumGlyph = 1;
    QColor fColorOff = SysColor::BtnFace;
    QColor fColorDisabled = QColor(0xA0, 0xA0, 0xA0);
    QColor fColorOn = SysColor::BtnFace;
    int fOffsetDown = 1;
    int fOffsetX = 0;
    int fOffsetY = 0;
    bool fBeveled = true;
    bool fTransparent = false;
    bool fFlat = false;
    bool fHover = false;
    int fSpacing = 4;
    QString fTextOn;
    QString fTextOff;
    QColor fTextColOn = QColor(0x00, 0xFF, 0x00);
    QColor fTextColOff = Qt::black;
    QColor fTextColDisabled = SysColor::BtnShadow;
    bool fText3D = true;
    TPosH fPosH = phCenter;
    TPosV fPosV = pvCenter;
    TPos fPosGlyph = pLeft;
};
