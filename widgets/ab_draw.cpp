// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_draw.h"

#include "widgets/decimal_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kuvar {

int RoundEven(double v) {
    if (!std::isfinite(v))
        return 0;
    v = std::clamp(v, -2.0e9, 2.0e9);
    return static_cast<int>(std::nearbyint(v)); // default FE_TONEAREST: ties to even
}

QColor DiagonalGradientColor(const QColor& from, const QColor& to, int d, int k) {
    auto ch = [&](int a, int b) {
        const float step = static_cast<float>(b - a) / static_cast<float>(d);
        return std::clamp(a + RoundEven(static_cast<double>(step) * k), 0, 255);
    };
    return QColor(ch(from.red(), to.red()), ch(from.green(), to.green()),
                  ch(from.blue(), to.blue()));
}

int FillDiagonalGradient(QPainter& p, const QRect& r, const QColor& from, const QColor& to) {
    const int w = r.width();
    const int c = RoundEven(0.22 * w);
    const int d = w == c ? 1 : 2 * (w - c);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k <= d; ++k) {
        p.setPen(QPen(DiagonalGradientColor(from, to, d, k), 1));
        p.drawLine(QPoint(r.left() + c + k - 1, r.top()), QPoint(r.left() - 1, r.top() + c + k));
    }
    p.restore();
    return d + 1;
}

QPoint RotatePoint(QPoint pt, QPoint centre, double angleDeg) {
    const float a = static_cast<float>(angleDeg * M_PI / 180.0);
    const double ca = std::cos(static_cast<double>(a));
    const double sa = std::sin(static_cast<double>(a));
    const double dx = pt.x() - centre.x();
    const double dy = pt.y() - centre.y();
    return QPoint(centre.x() + RoundEven(dx * ca - dy * sa),
                  centre.y() + RoundEven(dy * ca + dx * sa));
}

QPoint AnchoredTopLeft(int x, int y, toPos anchor, int tw, int th) {
    const int col = static_cast<int>(anchor) % 3;
    const int row = static_cast<int>(anchor) / 3;
    x -= col == 0 ? 0 : (col == 1 ? tw / 2 : tw);
    y -= row == 0 ? 0 : (row == 1 ? th / 2 : th);
    return QPoint(x, y);
}

void DrawAnchoredText(QPainter& p, int x, int y, toPos anchor, const QString& text) {
    const QFontMetrics fm(p.font());
    const QPoint tl = AnchoredTopLeft(x, y, anchor, fm.horizontalAdvance(text), fm.height());
    p.drawText(QPoint(tl.x(), tl.y() + fm.ascent()), text);
}

void DrawRotatedText(QPainter& p, QPoint anchor, const QString& text, toPos alignment,
                     double angleDeg) {
    if (!std::isfinite(angleDeg))
        angleDeg = 0;
    // The font turns in whole tenths of a degree.
    const double turn = std::trunc(std::fmod(angleDeg, 360.0) * 10.0) / 10.0;
    const QFontMetrics fm(p.font());
    const int tw = fm.horizontalAdvance(text);
    const int th = fm.height();
    const int col = static_cast<int>(alignment) % 3;
    const int left = col == 0 ? 0 : (col == 1 ? -(tw / 2) : -tw);
    int top = 0;
    switch (alignment) {
    case toMidLeft:
    case toMidCenter:
    case toMidRight:
        top = -(th / 2);
        break;
    case toBotCenter:
    case toBotRight:
        top = -th;
        break;
    case toBotLeft:
        top = -fm.ascent();
        break;
    default:
        break;
    }
    p.save();
    p.translate(anchor);
    p.rotate(turn);
    // Hinting fits glyphs to the pixel grid, which a turned label does not follow; each new
    // angle would run the font's hinting program again (a sixth of an indicator repaint).
    QFont turned = p.font();
    turned.setHintingPreference(QFont::PreferNoHinting);
    p.setFont(turned);
    p.drawText(QPoint(left, top + fm.ascent()), text);
    p.restore();
}

QString FormatNumber(const QString& pattern, double value, QChar decimalSep) {
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString intPat = point < 0 ? pattern : pattern.left(point);
    const QString fracPat = point < 0 ? QString() : pattern.mid(point + 1);
    int minInt = 0;
    for (QChar ch : intPat)
        if (ch == QLatin1Char('0'))
            ++minInt;
    int decimals = 0;
    int required = 0;
    for (QChar ch : fracPat) {
        if (ch == QLatin1Char('0') || ch == QLatin1Char('#'))
            ++decimals;
        if (ch == QLatin1Char('0'))
            required = decimals;
    }
    QString s = QString::fromStdString(FixedDecimal(value, decimals, '.'));
    if (!s.isEmpty() && !s[0].isDigit() && s[0] != QLatin1Char('-'))
        return s; // NAN, INF
    const bool neg = s.startsWith(QLatin1Char('-'));
    if (neg)
        s.remove(0, 1);
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    QString ip = dot < 0 ? s : s.left(dot);
    QString fp = dot < 0 ? QString() : s.mid(dot + 1);
    while (fp.size() > required && fp.endsWith(QLatin1Char('0')))
        fp.chop(1);
    if (ip == QLatin1String("0") && minInt == 0)
        ip.clear();
    while (ip.size() < minInt)
        ip.prepend(QLatin1Char('0'));
    QString out = neg ? QStringLiteral("-") : QString();
    out += ip;
    if (!fp.isEmpty())
        out += decimalSep + fp;
    return out;
}

void FillGradHorizontal1(QPainter& p, const QRect& r, const QColor& from, const QColor& to) {
    const int h = r.height();
    if (h <= 0 || r.width() <= 0)
        return;
    const int dr = to.red() - from.red();
    const int dg = to.green() - from.green();
    const int db = to.blue() - from.blue();
    int n = std::max({std::abs(dr), std::abs(dg), std::abs(db), 1});
    n = std::min(n, h);
    const int b = h / n;
    n = std::max(h / b, 1);
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    // The whole channel value is truncated, not the step alone: on a falling channel each band
    // is one level darker than from + Trunc(step) would make it.
    auto channel = [n](int from, int delta, int i) {
        return static_cast<int>(std::trunc(from + double(i) * delta / n));
    };
    for (int i = 0; i <= n; ++i) {
        const QColor c(channel(from.red(), dr, i), channel(from.green(), dg, i),
                       channel(from.blue(), db, i));
        p.fillRect(QRect(r.left(), r.top() + i * b, r.width(), b), c);
    }
    p.restore();
}

QColor BlendColor(const QColor& a, const QColor& b, int j, int n) {
    if (n <= 0)
        return b;
    auto ch = [&](int x, int y) {
        return std::clamp(x + RoundEven(double(y - x) * j / n), 0, 255);
    };
    return QColor(ch(a.red(), b.red()), ch(a.green(), b.green()), ch(a.blue(), b.blue()));
}

} // namespace kuvar
