// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/line_series.h"

#include <qcustomplot.h>

namespace kuvar::charts {

TLineSeries::TLineSeries(QCPGraph* graph, std::function<void()> changed)
    : graph_(graph), data_(graph->data().data()), changed_(std::move(changed)) {}

int TLineSeries::Count() const {
    return data_->size();
}

void TLineSeries::Add(double y) {
    data_->add(QCPGraphData(Count(), y));
    changed_();
}

void TLineSeries::Clear() {
    data_->clear();
    changed_();
}

double TLineSeries::XValue(int index) const {
    return data_->at(index)->key;
}

double TLineSeries::YValue(int index) const {
    return data_->at(index)->value;
}

QString TLineSeries::Title() const {
    return graph_->name();
}

void TLineSeries::SetTitle(const QString& title) {
    graph_->setName(title);
    changed_();
}

QColor TLineSeries::Color() const {
    return graph_->pen().color();
}

void TLineSeries::SetColor(const QColor& colour) {
    QPen pen = graph_->pen();
    pen.setColor(colour);
    graph_->setPen(pen);
    // The legend writes each entry in its line's colour.
    if (auto* legend = graph_->parentPlot()->legend)
        if (auto* item = legend->itemWithPlottable(graph_))
            item->setTextColor(colour);
    changed_();
}

int TLineSeries::LineWidth() const {
    return graph_->pen().width();
}

void TLineSeries::SetLineWidth(int width) {
    QPen pen = graph_->pen();
    pen.setWidth(width);
    graph_->setPen(pen);
    changed_();
}

bool TLineSeries::Visible() const {
    return graph_->visible();
}

void TLineSeries::SetVisible(bool on) {
    graph_->setVisible(on);
    changed_();
}

} // namespace kuvar::charts
