// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/chart.h"
#include "charts/strip_chart_config.h"
#include "charts/up_down.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <exception>
#include <functional>

namespace kuvar::charts {

// A strip chart of three lines with its controls: the point-count box and DATA button, the clear
// button, the two range boxes of the left axis with their arrows (inside the chart) and the
// auto-range check box (on the page, beside the chart). The handlers throw their refusals; the
// slots behind the controls hand them to the application's error line.
class TStripChart : public QWidget {
    Q_OBJECT
public:
    // page is the parent; the chart and its check box are placed on it at the configured spots.
    TStripChart(const TStripChartConfig& config, QWidget* page);

    TChart& Chart() { return *chart_; }
    const TStripChartConfig& Config() const { return config_; }

    int ViewQuantity() const { return viewQuantity_; }
    void SetViewQuantity(int count) { viewQuantity_ = count; }

    QLineEdit* DataQuantityBox() const { return quantityBox_; }
    QLineEdit* LeftMaxBox() const { return leftMax_; }
    QLineEdit* LeftMinBox() const { return leftMin_; }
    QCheckBox* AutoRangeBox() const { return autoBox_; }
    QPushButton* DataButton() const { return dataButton_; }
    QPushButton* ClearButton() const { return clearButton_; }

    // One measurement frame: a point on each line (their row stamped with the frame's wall-clock
    // milliseconds), then the window moves.
    void AppendChartPoints(const std::array<double, 3>& values, qint64 unixMs = TChart::kNoTime);
    void UpdateChartWindow(int pointCount);

    // The chart part of showing the page: white label and title fonts, the point count.
    void PageShown();
    // The arrows take the range boxes' integers as their positions and both boxes apply to the
    // left axis, as the first showing of the page does; the boxes keep their texts.
    void ApplyRangeBoxes();
    // The arrows write their design positions into the range boxes, which apply them: the range
    // a new user starts from (the settings file's new texts are not meant for the gyro chart).
    void ResetRangeBoxes();

    void DataQuantityClick();
    void ClearClick();
    void LeftAutoClick();
    void LeftMaxChange();
    void LeftMinChange();
    // Runs the chart editor modally.
    void RunEditor();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void ApplyUnchecked();
    void PlaceControls();

    TStripChartConfig config_;
    TChart* chart_;
    QLabel* quantityLabel_;
    QLineEdit* quantityBox_;
    QPushButton* dataButton_;
    QPushButton* clearButton_;
    QLineEdit* leftMax_;
    TUpDown* leftMaxArrows_;
    QLineEdit* leftMin_;
    TUpDown* leftMinArrows_;
    QCheckBox* autoBox_;
    int viewQuantity_ = 0;
    bool shownOnce_ = false;
};

} // namespace kuvar::charts
