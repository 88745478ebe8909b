// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <functional>

class QCPGraph;
class QCPGraphData;
template <class DataType> class QCPDataContainer;

namespace kuvar::charts {

// One line of a chart. Points are appended with X = the number of points already held, so X
// ascends and the chart can draw only the points inside its window.
class TLineSeries {
public:
    TLineSeries(QCPGraph* graph, std::function<void()> changed);

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

    QCPGraph* Graph() const { return graph_; }
    const QCPDataContainer<QCPGraphData>& Data() const { return *data_; }

private:
    QCPGraph* graph_;
    // The graph's own container, held once: every append then skips a shared-pointer copy.
    QCPDataContainer<QCPGraphData>* data_;
    std::function<void()> changed_;
};

} // namespace kuvar::charts
