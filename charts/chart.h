// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/chart_axis.h"
#include "charts/history_column.h"
#include "charts/line_series.h"
#include "charts/series_plot.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <limits>
#include <memory>
#include <qcustomplot.h>
#include <vector>

namespace kuvar::charts {

class TChartTitle;
class TBackgroundBuffer;

// The colours of the background gradient, from the bottom edge up, and where the middle one
// sits (0..100 from the bottom).
struct TChartBackground {
    QColor bottom = Qt::black;
    QColor middle = QColor(0x00, 0x00, 0x80);
    QColor top = Qt::black;
    int balance = 74;
};

// A line chart with a title, a left (value) and a bottom (point) axis and a legend below.
// Every change asks for one queued replot, so any number of changes between two paints cost one
// repaint; the automatic bounds are laid out just before it.
class TChart : public QCustomPlot {
    Q_OBJECT
public:
    // A row without a time of its own.
    static constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();

    // The lines and the rows' times keep their points in history (the run's history file unless
    // one is given).
    explicit TChart(QWidget* parent = nullptr, std::shared_ptr<THistoryFile> history = {});
    ~TChart() override;

    TLineSeries& AddSeries(const QString& title, const QColor& colour);
    int SeriesCount() const { return static_cast<int>(series_.size()); }
    TLineSeries& Series(int index) { return *series_.at(index); }
    const TLineSeries& Series(int index) const { return *series_.at(index); }

    // One point on each of the first values.size() lines, their row stamped with unixMs (wall
    // clock milliseconds), or without a time.
    void AddRow(const std::array<double, 3>& values, qint64 unixMs = kNoTime);
    // The time of each row, NaN where a row has none; a row with points from Series::Add alone
    // has none either.
    const THistoryColumn& Times() const { return times_; }
    // Every line empty, and the rows' times with them.
    void ClearPoints();

    TChartAxis& LeftAxis() { return *left_; }
    TChartAxis& BottomAxis() { return *bottom_; }
    const TChartAxis& LeftAxis() const { return *left_; }
    const TChartAxis& BottomAxis() const { return *bottom_; }

    QString Title() const;
    void SetTitle(const QString& text);
    QFont TitleFont() const;
    void SetTitleFont(const QFont& font);
    QColor TitleColor() const;
    void SetTitleColor(const QColor& colour);
    // The title sits in a white frame across the columns left..right of its row (the stretch that
    // the controls over the chart leave free), centred in it and in a smaller font where the
    // stretch is too narrow for the title font; by default the frame spans the whole row.
    void SetTitleSpan(int left, int right);
    // Where the last replot drew the title's frame and its text (empty before the first).
    QRect TitleFrame() const;
    QRect TitleTextRect() const;

    TChartBackground Background() const { return background_; }
    void SetBackground(const TChartBackground& background);
    // Paints the legend with a gradient from its top-left corner through the given colours.
    void SetLegendGradient(const std::vector<QColor>& colours);

    // What a change alters on screen: the whole chart, or only the plot area with its axes and
    // their labels (a point, an axis bound), which then alone is copied to the window.
    enum class TArea { Whole, Plot };
    // Queues one replot for the next pass of the event loop, or, when the last replot ran less
    // than a refresh interval ago, for the end of that interval.
    void RequestRepaint(TArea area = TArea::Whole);
    // Replots at once (pictures, measurements).
    void RepaintNow();

signals:
    void DoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool BottomDataRange(double& lower, double& upper) const;
    bool LeftDataRange(double& lower, double& upper) const;
    void LayoutAxes();
    void StartReplot();
    void EndReplot();
    void HoldFrame(bool hold);
    void PaintBackground();

    TChartTitle* title_ = nullptr;
    std::unique_ptr<TChartAxis> left_;
    std::unique_ptr<TChartAxis> bottom_;
    std::vector<std::unique_ptr<TLineSeries>> series_;
    TChartBackground background_;
    // The one paint buffer of every layer; it starts each replot as the background picture.
    QSharedPointer<TBackgroundBuffer> buffer_;
    std::shared_ptr<THistoryFile> history_;
    THistoryColumn times_;
    // When the last replot ran, on clock_; below 0 before the first.
    qint64 lastReplot_ = -1;
    // A replot is queued for the next pass: changes until it starts need nothing more.
    bool replotQueued_ = false;
    // What the changes since the last replot alter; a replot that no request asked for (a
    // resize, a caller of replot()) is whole.
    bool plotChanged_ = false;
    bool wholeChanged_ = true;
    // The running replot changes the plot area alone (HoldFrame): the window gets only that
    // rectangle.
    bool plotOnly_ = false;
    // The plot area with its axes' labels at the last replot.
    QRect plotArea_;
    // The picture beneath each control over the plot area at the last replot.
    struct TBeneath {
        QPointer<QWidget> control;
        QRect rect;
        QImage pixels;
    };
    std::vector<TBeneath> beneath_;
    QElapsedTimer clock_;
    QTimer deferredReplot_;
};

} // namespace kuvar::charts
