// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/strip_chart.h"

#include "base/guard.h"
#include "charts/chart_editor.h"
#include "charts/chart_window.h"
#include "charts/number_text.h"

#include <QDebug>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>
#include <vector>

namespace kuvar::charts {
namespace {

constexpr int kArrowMin = -9000;
constexpr int kArrowMax = 9000;
constexpr int kArrowStep = 10;
constexpr int kRangeBoxWidth = 44;
constexpr int kArrowWidth = 16;
constexpr int kRowHeight = 21;
// The left axis leaves room for the range boxes, which sit where its end labels would be.
constexpr int kLeftMargin = kRangeBoxWidth + kArrowWidth + 6;

// Rows of the chart from its top edge down that the title and the top-row controls share.
constexpr int kTitleRowBottom = 25;
// Space between the title's frame and a control beside it.
constexpr int kTitleGap = 4;

// The widest stretch of columns 0..width - 1 that none of the covered column ranges touches.
std::pair<int, int> WidestFreeStretch(std::vector<std::pair<int, int>> covered, int width) {
    std::sort(covered.begin(), covered.end());
    std::pair<int, int> best{0, -1};
    int from = 0;
    auto consider = [&](int to) {
        if (to - from > best.second - best.first)
            best = {from, to};
    };
    for (const auto& [left, right] : covered) {
        consider(left - 1);
        from = std::max(from, right + 1);
    }
    consider(width - 1);
    return best;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& text,
                   const QString& accessible) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TStripChart::TStripChart(const TStripChartConfig& config, QWidget* page)
    : QWidget(page), config_(config), chart_(new TChart(this)) {
    setObjectName(config_.chartName);
    chart_->setObjectName(config_.chartName + QStringLiteral("Plot"));
    chart_->setAccessibleName(config_.title);
    chart_->SetTitle(config_.title);
    const std::array<QColor, 3> colours = {QColor(0xFF, 0x00, 0x80), QColor(Qt::yellow),
                                           QColor(0x00, 0xFF, 0x00)};
    for (int i = 0; i < 3; ++i)
        chart_->AddSeries(config_.seriesTitles[i], colours[i])
            .Graph()
            ->setObjectName(config_.seriesNames[i]);
    chart_->SetLegendGradient(config_.legendGradient);
    chart_->axisRect()->setMinimumMargins(QMargins(kLeftMargin, 4, 8, 4));

    // The controls are children of the chart, drawn over it.
    quantityLabel_ = new QLabel(config_.quantityLabelText, chart_);
    quantityLabel_->setObjectName(config_.quantityLabelName);
    quantityLabel_->setAutoFillBackground(true);
    QPalette labelPalette = quantityLabel_->palette();
    labelPalette.setColor(QPalette::Window, Qt::black);
    labelPalette.setColor(QPalette::WindowText, config_.quantityLabelColour);
    quantityLabel_->setPalette(labelPalette);
    quantityLabel_->adjustSize();
    quantityBox_ =
        MakeBox(chart_, config_.quantityBoxName, QStringLiteral("300"), tr("Points in view"));
    dataButton_ = MakeButton(chart_, config_.dataButtonName, QStringLiteral("DATA"));
    clearButton_ = MakeButton(chart_, config_.clearButtonName, config_.clearButtonText);
    leftMax_ = MakeBox(chart_, config_.leftMaxName, config_.leftMaxText, tr("Left axis maximum"));
    leftMin_ = MakeBox(chart_, config_.leftMinName, config_.leftMinText, tr("Left axis minimum"));
    leftMaxArrows_ = new TUpDown(leftMax_, kArrowMin, kArrowMax, kArrowStep,
                                 IntFromText(config_.leftMaxText, 0), chart_);
    leftMaxArrows_->setObjectName(config_.leftMaxUpDownName);
    leftMinArrows_ = new TUpDown(leftMin_, kArrowMin, kArrowMax, kArrowStep,
                                 IntFromText(config_.leftMinText, 0), chart_);
    leftMinArrows_->setObjectName(config_.leftMinUpDownName);

    autoBox_ = new QCheckBox(QStringLiteral("Left Axis Auto Range"), page ? page : this);
    autoBox_->setObjectName(config_.autoBoxName);
    if (config_.autoBoxWhite) {
        autoBox_->setAutoFillBackground(true);
        QPalette boxPalette = autoBox_->palette();
        boxPalette.setColor(QPalette::Window, Qt::white);
        autoBox_->setPalette(boxPalette);
    }
    autoBox_->adjustSize();

    ConnectGuarded(dataButton_, &QPushButton::clicked, this, [this] { DataQuantityClick(); });
    ConnectGuarded(clearButton_, &QPushButton::clicked, this, [this] { ClearClick(); });
    ConnectGuarded(autoBox_, &QCheckBox::toggled, this, [this] { LeftAutoClick(); });
    ConnectGuarded(leftMax_, &QLineEdit::textChanged, this, [this] { LeftMaxChange(); });
    ConnectGuarded(leftMin_, &QLineEdit::textChanged, this, [this] { LeftMinChange(); });
    ConnectGuarded(chart_, &TChart::DoubleClicked, this, [this] { RunEditor(); });

    setGeometry(config_.geometry);
    PlaceControls();
}

void TStripChart::AppendChartPoints(const std::array<double, 3>& values, qint64 unixMs) {
    charts::AppendChartPoints(*chart_, values, viewQuantity_, unixMs);
}

void TStripChart::UpdateChartWindow(int pointCount) {
    charts::UpdateChartWindow(*chart_, pointCount);
}

void TStripChart::PageShown() {
    chart_->LeftAxis().SetLabelsColor(Qt::white);
    chart_->BottomAxis().SetLabelsColor(Qt::white);
    chart_->SetTitleColor(Qt::white);
    viewQuantity_ = IntFromText(quantityBox_->text(), config_.shownDefault);
}

void TStripChart::ApplyRangeBoxes() {
    // A stored text that equals the box's design text raised no change, so both boxes are
    // applied here in any case.
    leftMaxArrows_->Attach();
    leftMinArrows_->Attach();
    LeftMaxChange();
    LeftMinChange();
}

void TStripChart::ResetRangeBoxes() {
    // The bound that the axis accepts at once goes first, so neither is refused on the way.
    if (leftMaxArrows_->Position() < chart_->LeftAxis().Minimum()) {
        leftMinArrows_->WritePosition();
        leftMaxArrows_->WritePosition();
    } else {
        leftMaxArrows_->WritePosition();
        leftMinArrows_->WritePosition();
    }
}

void TStripChart::DataQuantityClick() {
    viewQuantity_ = IntFromText(quantityBox_->text(), config_.dataDefault);
    UpdateChartWindow(viewQuantity_);
}

void TStripChart::ClearClick() {
    ClearChartPoints(*chart_);
}

void TStripChart::LeftAutoClick() {
    if (autoBox_->isChecked())
        chart_->LeftAxis().SetAutomatic(true);
    else
        ApplyUnchecked();
}

void TStripChart::ApplyUnchecked() {
    TChartAxis& left = chart_->LeftAxis();
    left.SetAutomatic(false);
    left.SetMaximum(FloatFromText(leftMax_->text()));
    left.SetMinimum(FloatFromText(leftMin_->text()));
}

void TStripChart::LeftMaxChange() {
    if (autoBox_->isChecked()) {
        // Unchecking runs the box's handler here, so its refusal ends this handler too.
        const QSignalBlocker block(autoBox_);
        autoBox_->setChecked(false);
        ApplyUnchecked();
    }
    chart_->LeftAxis().SetAutomaticMaximum(false);
    chart_->LeftAxis().SetMaximum(FloatFromTextOr(leftMax_->text(), 0));
}

void TStripChart::LeftMinChange() {
    if (autoBox_->isChecked()) {
        const QSignalBlocker block(autoBox_);
        autoBox_->setChecked(false);
        ApplyUnchecked();
    }
    chart_->LeftAxis().SetAutomaticMinimum(false);
    chart_->LeftAxis().SetMinimum(FloatFromTextOr(leftMin_->text(), 0));
}

void TStripChart::RunEditor() {
    TChartEditor editor(*chart_, this);
    editor.setObjectName(config_.editorName);
    editor.exec();
}

void TStripChart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    Guarded([&] { ApplyRangeBoxes(); });
}

void TStripChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceControls();
}

void TStripChart::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    PlaceControls();
}

void TStripChart::PlaceControls() {
    chart_->setGeometry(rect());
    const int w = width();
    const int h = height();
    // Range boxes at the two ends of the left axis, below the title and above the legend.
    leftMax_->setGeometry(2, 26, kRangeBoxWidth, kRowHeight);
    leftMaxArrows_->setGeometry(2 + kRangeBoxWidth, 26, kArrowWidth, kRowHeight);
    leftMin_->setGeometry(2, h - 30 - kRowHeight - 20, kRangeBoxWidth, kRowHeight);
    leftMinArrows_->setGeometry(2 + kRangeBoxWidth, h - 30 - kRowHeight - 20, kArrowWidth,
                                kRowHeight);
    // Point count, DATA and clear along the top right corner.
    const int clearWidth = clearButton_->fontMetrics().horizontalAdvance(clearButton_->text()) + 16;
    int x = w - 4 - clearWidth;
    clearButton_->setGeometry(x, 2, clearWidth, kRowHeight);
    x -= 46;
    dataButton_->setGeometry(x, 2, 44, kRowHeight);
    x -= 42;
    quantityBox_->setGeometry(x, 2, 40, kRowHeight);
    x -= quantityLabel_->width() + 2;
    quantityLabel_->move(x, 2 + (kRowHeight - quantityLabel_->height()) / 2);
    autoBox_->move(config_.autoBoxPosition);
    autoBox_->raise();

    // The title takes the widest stretch of its row left free by the controls there, the check
    // box of the page included where it lies over the chart.
    std::vector<std::pair<int, int>> covered{{0, kTitleGap - 1}, {w - kTitleGap, w - 1}};
    auto cover = [&](const QRect& r) {
        if (r.top() < kTitleRowBottom && r.bottom() >= 0)
            covered.emplace_back(r.left() - kTitleGap, r.right() + kTitleGap);
    };
    for (QWidget* control :
         {static_cast<QWidget*>(quantityLabel_), static_cast<QWidget*>(quantityBox_),
          static_cast<QWidget*>(dataButton_), static_cast<QWidget*>(clearButton_)})
        cover(control->geometry());
    cover(QRect(chart_->mapFrom(autoBox_->parentWidget(), autoBox_->pos()), autoBox_->size()));
    const auto [left, right] = WidestFreeStretch(covered, w);
    chart_->SetTitleSpan(left, right);
}

} // namespace kuvar::charts
