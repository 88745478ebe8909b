// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/chart.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <functional>
#include <vector>

namespace kuvar::charts {

// The colour a swatch's name is written in, so that it reads on the swatch.
QColor SwatchTextColour(const QColor& swatch);

// The chart editor: the title, each line's title, colour, width and visibility, the bounds and
// automatic flags of both axes and the background colours. Every change reaches the chart at
// once; a refused bound is shown in the dialog and the axis keeps its old one.
class TChartEditor : public QDialog {
    Q_OBJECT
public:
    explicit TChartEditor(TChart& chart, QWidget* parent = nullptr);

    // Asks the operator for a colour; replaceable so that the editor runs without a colour dialog.
    std::function<QColor(const QColor& initial, QWidget* parent)> pickColour;

    // Fills every field from the chart.
    void Refresh();

private:
    struct SeriesRow {
        QLineEdit* title;
        QPushButton* colour;
        QSpinBox* width;
        QCheckBox* visible;
    };
    struct AxisRow {
        TChartAxis* axis;
        QLineEdit* minimum;
        QLineEdit* maximum;
        QCheckBox* automaticMinimum;
        QCheckBox* automaticMaximum;
    };

    QWidget* BuildSeries(int index);
    QWidget* BuildAxis(const QString& name, TChartAxis& axis);
    QWidget* BuildBackground();
    template <typename Body> void Apply(Body body);
    static void ShowColour(QPushButton* button, const QColor& colour);

    TChart& chart_;
    QLineEdit* title_ = nullptr;
    std::vector<SeriesRow> series_;
    std::vector<AxisRow> axes_;
    std::array<QPushButton*, 3> background_{};
    QLabel* error_ = nullptr;
    bool refreshing_ = false;
};

} // namespace kuvar::charts
