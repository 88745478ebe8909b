// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_val_ind.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace kuvar {

TAbValInd::TAbValInd() {
    Own(Bevel);
    Own(Caption);
    Own(TxtSpacing);
    Bevel.Exchange();
}

QPoint CaptionPoint(const QRect& box, toPos pos) {
    // box is left/top inclusive, right/bottom as the outer edge (left + w, top + h).
    const int l = box.left();
    const int t = box.top();
    const int r = box.left() + box.width();
    const int b = box.top() + box.height();
    const int col = static_cast<int>(pos) % 3;
    const int row = static_cast<int>(pos) / 3;
    int x = col == 0 ? l : (col == 1 ? (l + r) / 2 : r);
    const int y = row == 0 ? t : (row == 1 ? (t + b) / 2 : b);
    if (col == 0 && row == 1)
        x = l - 1;
    return QPoint(x, y);
}

void TAbValInd::Layout(QPainter& p, QPoint pt, toPos anchor) {
    if (!Visible())
        return;
    const QFontMetrics fm(Font().Font);
    const int th = fm.height();
    const int tw = fm.horizontalAdvance(FormatStr());
    margin_ = th / 7;
    const int bw = Bevel.Width();
    const int w = tw + 2 * bw + 2 * margin_ + TxtSpacing.Left() + TxtSpacing.Right();
    const int h = th + 2 * bw + TxtSpacing.Top() + TxtSpacing.Bottom();
    const int col = static_cast<int>(anchor) % 3;
    const int row = static_cast<int>(anchor) / 3;
    const int left = pt.x() + OffsetX() + 1 - (col == 0 ? 0 : (col == 1 ? w / 2 : w));
    const int top = pt.y() + OffsetY() - (row == 0 ? 0 : (row == 1 ? h / 2 : h));
    box_ = QRect(left, top, w, h);

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    if (Caption.Visible()) {
        p.setFont(Caption.Font().Font);
        p.setPen(Caption.Font().Color);
        const QPoint cp = CaptionPoint(box_, Caption.Pos());
        DrawAnchoredText(p, cp.x() + Caption.OffsetX(), cp.y() + Caption.OffsetY(),
                         static_cast<toPos>(8 - static_cast<int>(Caption.Pos())), Caption.Text());
    }
    p.fillRect(box_, Color());
    for (int j = 0; j < bw; ++j) {
        const QRect f = box_.adjusted(j, j, -j, -j);
        p.setPen(Bevel.ColorFrom());
        p.drawLine(f.topLeft(), f.topRight());
        p.drawLine(f.topLeft(), f.bottomLeft());
        p.setPen(Bevel.ColorTo());
        p.drawLine(f.bottomLeft(), f.bottomRight());
        p.drawLine(f.topRight(), f.bottomRight());
    }
    p.restore();
    inner_ = box_.adjusted(bw + TxtSpacing.Left(), bw + TxtSpacing.Top(),
                           -(bw + TxtSpacing.Right()), -(bw + TxtSpacing.Bottom()));
}

void TAbValInd::Value(QPainter& p, double value, QChar decimalSep) {
    if (!Visible() || inner_.width() <= 0 || inner_.height() <= 0)
        return;
    QImage img(inner_.size(), QImage::Format_RGB32);
    img.fill(Color());
    {
        QPainter ip(&img);
        ip.setFont(Font().Font);
        ip.setPen(Font().Color);
        DrawAnchoredText(ip, img.width() - margin_ + 1, 0, toTopRight,
                         FormatNumber(FormatStr(), value, decimalSep));
    }
    p.drawImage(inner_.topLeft(), img);
}

} // namespace kuvar
