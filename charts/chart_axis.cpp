// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_axis.h"

#include <qcustomplot.h>

namespace kuvar::charts {

TChartAxis::TChartAxis(QCPAxis* axis, std::function<bool(double&, double&)> dataRange,
                       std::function<void()> changed)
    : axis_(axis), dataRange_(std::move(dataRange)), changed_(std::move(changed)) {}

double TChartAxis::Minimum() const {
    double lower = 0, upper = 0;
    if (automaticMinimum_ && dataRange_(lower, upper))
        return lower;
    return minimum_;
}

double TChartAxis::Maximum() const {
    double lower = 0, upper = 0;
    if (automaticMaximum_ && dataRange_(lower, upper))
        return upper;
    return maximum_;
}

void TChartAxis::SetMinimum(double value) {
    if (value > Maximum())
        throw EChartAxisError("Axis Minimum Value must be <= Maximum");
    minimum_ = value;
    changed_();
}

void TChartAxis::SetMaximum(double value) {
    if (value < Minimum())
        throw EChartAxisError("Axis Maximum Value must be >= Minimum");
    maximum_ = value;
    changed_();
}

void TChartAxis::SetAutomaticMinimum(bool on) {
    if (on == automaticMinimum_)
        return;
    // A bound turned manual keeps the value it had, so the axis does not jump.
    if (!on)
        minimum_ = Minimum();
    automaticMinimum_ = on;
    changed_();
}

void TChartAxis::SetAutomaticMaximum(bool on) {
    if (on == automaticMaximum_)
        return;
    if (!on)
        maximum_ = Maximum();
    automaticMaximum_ = on;
    changed_();
}

void TChartAxis::SetAutomatic(bool on) {
    SetAutomaticMaximum(on);
    SetAutomaticMinimum(on);
}

QFont TChartAxis::LabelsFont() const {
    return axis_->tickLabelFont();
}

void TChartAxis::SetLabelsFont(const QFont& font) {
    axis_->setTickLabelFont(font);
    changed_();
}

QColor TChartAxis::LabelsColor() const {
    return axis_->tickLabelColor();
}

void TChartAxis::SetLabelsColor(const QColor& colour) {
    axis_->setTickLabelColor(colour);
    changed_();
}

void TChartAxis::Layout() {
    double lower = Minimum();
    double upper = Maximum();
    // The drawn range needs a width; an axis spanning one value (an empty or cleared chart)
    // shows one unit above it, and crossed automatic bounds are drawn in order.
    if (upper < lower)
        std::swap(lower, upper);
    if (upper - lower < 1e-9 * std::max(1.0, std::abs(lower)))
        upper = lower + 1;
    axis_->setRange(lower, upper);
}

} // namespace kuvar::charts
