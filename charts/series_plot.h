// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/history_column.h"

#include <qcustomplot.h>

namespace kuvar::charts {

// One line of a chart drawn from its history column: point i is at key i. Only the points inside
// the key axis's range are looked at. Where the range holds more points than twice the pixels
// across it, each pixel column shows the least and greatest value of its points, taken from the
// column's blocks, so that a window of any width costs about the same to draw.
class TSeriesPlot : public QCPAbstractPlottable {
    Q_OBJECT
public:
    TSeriesPlot(QCPAxis* keyAxis, QCPAxis* valueAxis, std::shared_ptr<THistoryFile> history);

    THistoryColumn& Values() { return values_; }
    const THistoryColumn& Values() const { return values_; }

    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

private:
    QPointF Point(double key, double value) const;
    void DrawEvery(QCPPainter* painter, qint64 first, qint64 last) const;
    void DrawColumns(QCPPainter* painter, qint64 first, qint64 last) const;

    THistoryColumn values_;
};

} // namespace kuvar::charts
