// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/line_series.h"

#include "charts/series_plot.h"

namespace kuvar::charts {

TLineSeries::TLineSeries(TSeriesPlot* plot, std::function<void()> changed,
                         std::function<void()> pointsChanged)
    : plot_(plot), values_(&plot->Values()), changed_(std::move(changed)),
      pointsChanged_(std::move(pointsChanged)) {}

int TLineSeries::Count() const {
    return static_cast<int>(values_->Size());
}

void TLineSeries::Add(double y) {
    values_->Append(y);
    pointsChanged_();
}

void TLineSeries::Clear() {
    values_->Clear();
    changed_();
}

double TLineSeries::XValue(int index) const {
    return index;
}

double TLineSeries::YValue(int index) const {
    return values_->At(index);
}

const THistoryColumn& TLineSeries::Values() const {
    return *values_;
}

QString TLineSeries::Title() const {
    return plot_->name();
}

void TLineSeries::SetTitle(const QString& title) {
    plot_->setName(title);
    changed_();
}

QColor TLineSeries::Color() const {
    return plot_->pen().color();
}

void TLineSeries::SetColor(const QColor& colour) {
    QPen pen = plot_->pen();
    pen.setColor(colour);
    plot_->setPen(pen);
    // The legend writes each entry in its line's colour.
    if (auto* legend = plot_->parentPlot()->legend)
        if (auto* item = legend->itemWithPlottable(plot_))
            item->setTextColor(colour);
    changed_();
}

int TLineSeries::LineWidth() const {
    return plot_->pen().width();
}

void TLineSeries::SetLineWidth(int width) {
    QPen pen = plot_->pen();
    pen.setWidth(width);
    plot_->setPen(pen);
    changed_();
}

bool TLineSeries::Visible() const {
    return plot_->visible();
}

void TLineSeries::SetVisible(bool on) {
    plot_->setVisible(on);
    changed_();
}

} // namespace kuvar::charts
