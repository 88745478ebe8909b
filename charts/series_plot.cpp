// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/series_plot.h"

#include <algorithm>
#include <cmath>

namespace kuvar::charts {

TSeriesPlot::TSeriesPlot(QCPAxis* keyAxis, QCPAxis* valueAxis,
                         std::shared_ptr<THistoryFile> history)
    : QCPAbstractPlottable(keyAxis, valueAxis), values_(std::move(history)) {}

double TSeriesPlot::selectTest(const QPointF&, bool, QVariant*) const {
    return -1;
}

QCPRange TSeriesPlot::getKeyRange(bool& foundRange, QCP::SignDomain) const {
    foundRange = values_.Size() > 0;
    return foundRange ? QCPRange(0, static_cast<double>(values_.Size() - 1)) : QCPRange();
}

QCPRange TSeriesPlot::getValueRange(bool& foundRange, QCP::SignDomain,
                                    const QCPRange& inKeyRange) const {
    qint64 from = 0;
    qint64 to = values_.Size();
    // QCPRange() asks for every key, as for the library's own plottables.
    if (inKeyRange != QCPRange()) {
        from = static_cast<qint64>(std::ceil(std::max(0.0, inKeyRange.lower)));
        to = static_cast<qint64>(std::floor(std::min<double>(inKeyRange.upper, to - 1))) + 1;
    }
    double lo = 0;
    double hi = 0;
    foundRange = values_.Range(from, to, lo, hi);
    return foundRange ? QCPRange(lo, hi) : QCPRange();
}

QPointF TSeriesPlot::Point(double key, double value) const {
    const double k = mKeyAxis->coordToPixel(key);
    const double v = mValueAxis->coordToPixel(value);
    return mKeyAxis->orientation() == Qt::Horizontal ? QPointF(k, v) : QPointF(v, k);
}

void TSeriesPlot::draw(QCPPainter* painter) {
    const qint64 size = values_.Size();
    if (size == 0 || !mKeyAxis || !mValueAxis) {
        return;
    }
    QCPRange keys = mKeyAxis->range();
    keys.normalize();
    // One point beyond each edge, so that the line runs to the edge of the plot.
    const qint64 first = std::max<qint64>(0, static_cast<qint64>(std::floor(keys.lower)) - 1);
    const qint64 last = std::min<qint64>(size - 1, static_cast<qint64>(std::ceil(keys.upper)) + 1);
    if (first > last) {
        return;
    }
    painter->setPen(mPen);
    painter->setBrush(Qt::NoBrush);
    applyDefaultAntialiasingHint(painter);
    const double pixels = std::abs(Point(first, 0).x() - Point(last, 0).x()) +
                          std::abs(Point(first, 0).y() - Point(last, 0).y());
    if (static_cast<double>(last - first) <= 2 * pixels + 2) {
        DrawEvery(painter, first, last);
    } else {
        DrawColumns(painter, first, last);
    }
}

void TSeriesPlot::DrawEvery(QCPPainter* painter, qint64 first, qint64 last) const {
    QVector<QPointF> line;
    line.reserve(static_cast<qsizetype>(last - first + 1));
    auto flush = [&] {
        if (line.size() > 1) {
            painter->drawPolyline(line.constData(), static_cast<int>(line.size()));
        }
        line.clear();
    };
    for (qint64 i = first; i <= last; ++i) {
        const double v = values_.At(i);
        if (std::isfinite(v)) {
            line.append(Point(static_cast<double>(i), v));
        } else {
            flush();
        }
    }
    flush();
}

void TSeriesPlot::DrawColumns(QCPPainter* painter, qint64 first, qint64 last) const {
    const bool horizontal = mKeyAxis->orientation() == Qt::Horizontal;
    const double from = mKeyAxis->coordToPixel(static_cast<double>(first));
    const double to = mKeyAxis->coordToPixel(static_cast<double>(last));
    const int p0 = static_cast<int>(std::floor(std::min(from, to)));
    const int p1 = static_cast<int>(std::ceil(std::max(from, to)));
    QVector<QPointF> line;
    line.reserve(2 * (p1 - p0 + 1));
    double previous = 0;
    for (int p = p0; p <= p1; ++p) {
        // The points whose keys fall into this pixel column.
        double k0 = mKeyAxis->pixelToCoord(p);
        double k1 = mKeyAxis->pixelToCoord(p + 1);
        if (k0 > k1) {
            std::swap(k0, k1);
        }
        const qint64 a = std::max(first, static_cast<qint64>(std::ceil(k0)));
        const qint64 b = std::min(last + 1, static_cast<qint64>(std::ceil(k1)));
        double lo = 0;
        double hi = 0;
        if (a >= b || !values_.Range(a, b, lo, hi)) {
            continue;
        }
        const double lp = mValueAxis->coordToPixel(lo);
        const double hp = mValueAxis->coordToPixel(hi);
        // From the end nearer the last column's, so that the line does not cross its own band.
        const bool lowFirst = line.isEmpty() || std::abs(previous - lp) <= std::abs(previous - hp);
        const double e0 = lowFirst ? lp : hp;
        const double e1 = lowFirst ? hp : lp;
        const double x = p + 0.5;
        line.append(horizontal ? QPointF(x, e0) : QPointF(e0, x));
        line.append(horizontal ? QPointF(x, e1) : QPointF(e1, x));
        previous = e1;
    }
    if (line.size() > 1) {
        painter->drawPolyline(line.constData(), static_cast<int>(line.size()));
    }
}

void TSeriesPlot::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
    applyDefaultAntialiasingHint(painter);
    painter->setPen(mPen);
    painter->drawLine(QLineF(rect.left(), rect.center().y(), rect.right(), rect.center().y()));
}

} // namespace kuvar::charts
