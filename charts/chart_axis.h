// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <functional>
#include <stdexcept>

class QCPAxis;
class QCPRange;

namespace kuvar::charts {

// Raised when a bound would cross the other one; the axis keeps its old bound.
class EChartAxisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One axis of a chart with manual or automatic bounds. An automatic bound follows the data
// it is given by its chart; reading it gives the bound the data gives now.
class TChartAxis {
public:
    // dataRange reports the range of the data the axis should follow, or false if there is none.
    TChartAxis(QCPAxis* axis, std::function<bool(double&, double&)> dataRange,
               std::function<void()> changed);

    double Minimum() const;
    double Maximum() const;
    void SetMinimum(double value);
    void SetMaximum(double value);
    bool AutomaticMinimum() const { return automaticMinimum_; }
    bool AutomaticMaximum() const { return automaticMaximum_; }
    void SetAutomaticMinimum(bool on);
    void SetAutomaticMaximum(bool on);
    void SetAutomatic(bool on);

    QFont LabelsFont() const;
    void SetLabelsFont(const QFont& font);
    QColor LabelsColor() const;
    void SetLabelsColor(const QColor& colour);

    // Puts the present bounds on the drawn axis; the chart calls it before each replot.
    void Layout();
    QCPAxis* Axis() const { return axis_; }

private:
    QCPAxis* axis_;
    std::function<bool(double&, double&)> dataRange_;
    std::function<void()> changed_;
    double minimum_ = 0;
    double maximum_ = 0;
    bool automaticMinimum_ = true;
    bool automaticMaximum_ = true;
};

} // namespace kuvar::charts
