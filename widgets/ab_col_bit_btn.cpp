// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_col_bit_btn.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace kuvar {

TAbBtnLayout LayoutButtonContent(const QRect& area, QSize glyph, int tw, int th, int spacing,
                                 TPos posGlyph, TPosH posH, TPosV posV, QPoint offset) {
    const int gw = glyph.width(), gh = glyph.height();
    const int sp = (gw <= 0 || tw <= 0) ? 0 : spacing;
    const bool side = posGlyph == pLeft || posGlyph == pRight;
    const QSize box =
        side ? QSize(gw + sp + tw, std::max(gh, th)) : QSize(std::max(gw, tw), gh + sp + th);
    const int aRight = area.left() + area.width();
    const int aBottom = area.top() + area.height();
    int cxc = (area.left() + aRight) / 2;
    if (posH == phLeft)
        cxc = area.left() + box.width() / 2;
    else if (posH == phRight)
        cxc = aRight - box.width() / 2;
    int cyc = (area.top() + aBottom) / 2;
    if (posV == pvTop)
        cyc = area.top() + box.height() / 2;
    else if (posV == pvBottom)
        cyc = aBottom - box.height() / 2;

    TAbBtnLayout l;
    l.box = box;
    QPoint g;
    switch (posGlyph) {
    case pLeft:
        g = QPoint(cxc - box.width() / 2, cyc - gh / 2);
        l.anchor = QPoint(g.x() + gw + sp, cyc);
        l.textAnchor = toMidLeft;
        break;
    case pRight:
        g = QPoint(cxc + box.width() / 2 - gw, cyc - gh / 2);
        l.anchor = QPoint(g.x() - sp, cyc);
        l.textAnchor = toMidRight;
        break;
    case pTop:
        g = QPoint(cxc - gw / 2, cyc - box.height() / 2);
        l.anchor = QPoint(cxc, g.y() + gh + sp);
        l.textAnchor = toTopCenter;
        break;
    case pBottom:
        g = QPoint(cxc - gw / 2, cyc + box.height() / 2 - gh);
        l.anchor = QPoint(cxc, g.y() - sp);
        l.textAnchor = toBotCenter;
        break;
    }
    l.glyph = QRect(g + offset, glyph);
    l.anchor += offset;
    return l;
}

TAbColBitBtn::TAbColBitBtn(QWidget* parent) : TAbBinGControl(parent) {
    SetMode(mButton);
    // Reached with Tab and pressed with Space; a click with the mouse leaves the focus where it
    // was.
    setFocusPolicy(Qt::TabFocus);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    ButtonBevel.SetWidth(4);
    auto repaint = [this](TAbPersistent*) { Redraw(); };
    ButtonBevel.OnChange = repaint;
    GradBtnFace.OnChange = repaint;
    resize(65, 33);
}

void TAbColBitBtn::SetGlyph(const QImage& strip) {
    QImage img = strip.convertToFormat(QImage::Format_ARGB32);
    if (!img.isNull()) {
        const QRgb key = img.pixel(0, img.height() - 1);
        for (int y = 0; y < img.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if (line[x] == key)
                    line[x] = 0;
        }
    }
    glyph_ = img;
    Redraw();
}

bool TAbColBitBtn::Flag(unsigned flashOpt, unsigned checkedOpt) const {
    if ((flashOptions_ & flashOpt) && Checked() && Flashing())
        return FlashPhase();
    return (checkedOptions_ & checkedOpt) && Checked();
}

QString TAbColBitBtn::ShownText() const {
    if (Flag(foText, coText))
        return textOn_;
    return textOff_.isEmpty() ? textOn_ : textOff_;
}

QColor TAbColBitBtn::ShownTextColor() const {
    if (!isEnabled())
        return textColDisabled_;
    return Flag(foTextCol, coTextCol) ? textColOn_ : textColOff_;
}

bool TAbColBitBtn::ShownSunken() const {
    if (checkedOptions_ & coBevel)
        return Checked() || pressed_;
    return pressed_;
}

int TAbColBitBtn::GlyphIndex() const {
    if (numGlyph_ == 1)
        return 0;
    if (!isEnabled())
        return 1;
    if (Flag(foGlyph, coGlyph) && numGlyph_ > 2)
        return 2;
    return 0;
}

QPoint TAbColBitBtn::ContentOffset() const {
    const bool down = pressed_ || (Checked() && (checkedOptions_ & coBevel));
    return QPoint(offsetX_ + (down ? offsetDown_ : 0), offsetY_ + (down ? offsetDown_ : 0));
}

void TAbColBitBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    const int bw = ButtonBevel.Width();
    const bool gradient = !transparent_ && GradBtnFace.Visible();
    // The parent's pixels are already under the button; the face goes over them.
    if (gradient)
        FillGradHorizontal1(p, r.adjusted(bw, bw, -bw, -bw), GradBtnFace.ColorFrom(),
                            GradBtnFace.ColorTo());
    const QColor face =
        !isEnabled() ? colorDisabled_ : (Flag(foBtnCol, coBtnCol) ? colorOn_ : colorOff_);
    if (!gradient && !transparent_)
        p.fillRect(r, face);

    int frames = 0;
    if (beveled_ && (!flat_ || hover_)) {
        frames = bw;
        const bool sunken = ShownSunken();
        for (int j = 1; j <= bw; ++j) {
            const QRect f = r.adjusted(j - 1, j - 1, -(j - 1), -(j - 1));
            const QColor tl =
                sunken ? BlendColor(ButtonBevel.ShadowColTo(), ButtonBevel.ShadowColFrom(), j, bw)
                       : BlendColor(ButtonBevel.HighlightColFrom(), ButtonBevel.HighlightColTo(), j,
                                    bw);
            const QColor br =
                sunken ? BlendColor(ButtonBevel.HighlightColTo(), ButtonBevel.HighlightColFrom(), j,
                                    bw)
                       : BlendColor(ButtonBevel.ShadowColFrom(), ButtonBevel.ShadowColTo(), j, bw);
            p.setPen(tl);
            p.drawLine(f.topLeft(), f.topRight());
            p.drawLine(f.topLeft(), f.bottomLeft());
            p.setPen(br);
            p.drawLine(f.bottomLeft(), f.bottomRight());
            p.drawLine(f.topRight(), f.bottomRight());
        }
    }
    const QRect area = r.adjusted(frames, frames, -frames, -frames);

    const QString text = ShownText();
    const QStringList lines = text.split(QLatin1Char('|'));
    const QFontMetrics fm(font());
    int tw = 0;
    for (const QString& s : textOn_.split(QLatin1Char('|')) + textOff_.split(QLatin1Char('|')))
        tw = std::max(tw, fm.horizontalAdvance(s));
    const int lineH = fm.height();
    const int th = text.isEmpty() ? 0 : lineH * int(lines.size());
    const QSize glyphSize =
        glyph_.isNull() ? QSize(0, 0) : QSize(glyph_.width() / numGlyph_, glyph_.height());
    const TAbBtnLayout l = LayoutButtonContent(area, glyphSize, tw, th, spacing_, posGlyph_, posH_,
                                               posV_, ContentOffset());

    if (!text.isEmpty()) {
        const int extra = lineH * int(lines.size() - 1);
        const int row = static_cast<int>(l.textAnchor) / 3;
        int y = l.anchor.y() - (row == 1 ? extra / 2 : (row == 2 ? extra : 0));
        p.setFont(font());
        for (const QString& s : lines) {
            if (text3D_) {
                p.setPen(ButtonBevel.HighlightColTo());
                DrawAnchoredText(p, l.anchor.x() + 1, y + 1, l.textAnchor, s);
                p.setPen(ButtonBevel.ShadowColTo());
                DrawAnchoredText(p, l.anchor.x() - 1, y - 1, l.textAnchor, s);
            }
            p.setPen(ShownTextColor());
            DrawAnchoredText(p, l.anchor.x(), y, l.textAnchor, s);
            y += lineH;
        }
    }
    if (glyphSize.width() > 0) {
        const int i = std::min(GlyphIndex(), numGlyph_ - 1);
        p.drawImage(l.glyph.topLeft(), glyph_,
                    QRect(i * glyphSize.width(), 0, glyphSize.width(), glyphSize.height()));
    }
    if (hasFocus()) {
        // Only the button that Tab has reached shows this: the faces stay as drawn otherwise.
        p.setPen(QPen(ShownTextColor(), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(area.adjusted(2, 2, -3, -3));
    }
}

void TAbColBitBtn::enterEvent(QEnterEvent* e) {
    TAbBinGControl::enterEvent(e);
    if (flat_ && isEnabled()) {
        hover_ = true;
        Redraw();
    }
}

void TAbColBitBtn::leaveEvent(QEvent* e) {
    TAbBinGControl::leaveEvent(e);
    if (hover_) {
        hover_ = false;
        Redraw();
    }
}

void TAbColBitBtn::changeEvent(QEvent* e) {
    TAbBinGControl::changeEvent(e);
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange)
        Redraw();
}

} // namespace kuvar
