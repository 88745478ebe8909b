// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <functional>

namespace kuvar::charts {

class THistoryColumn;
class TSeriesPlot;

// One line of a chart. Points are appended with X = the number of points already held, so X
// ascends and the chart can draw only the points inside its window. The values live in the line's
// history column (the run's history file), not in the program's memory.
class TLineSeries {
public:
    // changed is called after every change, pointsChanged after a change of the points alone.
    TLineSeries(TSeriesPlot* plot, std::function<void()> changed,
                std::function<void()> pointsChanged);

    int Count() const;
    void Add(double y);
    void Clear();
    double XValue(int index) const;
    double YValue(int index) const;

    QString Title() const;
    void SetTitle(const QString& title);
    QColor Color() const;
    void SetColor(const QColor& colour);
    int LineWidth() const;
    void SetLineWidth(int width);
    bool Visible() const;
    void SetVisible(bool on);

    TSeriesPlot* Graph() const { return plot_; }
    const THistoryColumn& Values() const;

private:
    TSeriesPlot* plot_;
    // The plot's column, held once: every append then skips a call through the plot.
    THistoryColumn* values_;
    std::function<void()> changed_;
    std::function<void()> pointsChanged_;
};

} // namespace kuvar::charts
