// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart.h"

#include <algorithm>

#include <QFontMetrics>
#include <QMouseEvent>
#include <limits>
#include <optional>
#include <utility>

namespace kuvar::charts {

// A layout element's size, measured again only when what it is measured from (the key) changes:
// QCustomPlot's layout asks every element at every replot, and a stream's replots change none.
template <class TKey, class TValue>
class TMeasured {
public:
    template <class TMeasure>
    const TValue& Get(const TKey& key, TMeasure measure) const {
        if (!value_ || !(key_ == key)) {
            value_ = measure();
            key_ = key;
        }
        return *value_;
    }

private:
    mutable std::optional<TValue> value_;
    mutable TKey key_;
};

// The chart's title in its frame.
class TChartTitle : public QCPTextElement {
public:
    TChartTitle(QCustomPlot* plot, const QFont& font) : QCPTextElement(plot, QString(), font) {
        // The frame stands a little taller than the text, as high as a row of edit boxes.
        setMargins(QMargins(0, 2, 0, 2));
        setMinimumSize(0, kFrameHeight);
    }

    void SetSpan(int left, int right) {
        spanLeft_ = left;
        spanRight_ = right;
    }
    QRect Frame() const { return frame_; }
    QRect TextRect() const { return mTextBoundingRect; }

    QSize minimumOuterSizeHint() const override { return Sizes().first; }
    QSize maximumOuterSizeHint() const override { return Sizes().second; }

protected:
    void draw(QCPPainter* painter) override {
        frame_ = mRect;
        if (spanLeft_ <= spanRight_) {
            frame_.setLeft(std::max(frame_.left(), spanLeft_));
            frame_.setRight(std::min(frame_.right(), spanRight_));
        }
        QFont font = mainFont();
        const auto textWidth = [&] { return QFontMetrics(font).horizontalAdvance(mText); };
        while (textWidth() + 2 * kPadding > frame_.width() && font.pointSizeF() > kSmallestPoints)
            font.setPointSizeF(std::max(kSmallestPoints, font.pointSizeF() - 0.5));
        painter->save();
        painter->setAntialiasing(false);
        painter->setPen(QPen(Qt::white, 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(frame_.adjusted(0, 0, -1, -1));
        painter->restore();
        painter->setFont(font);
        painter->setPen(QPen(mainTextColor()));
        painter->drawText(frame_, Qt::AlignCenter, mText, &mTextBoundingRect);
    }

private:
    static constexpr int kFrameHeight = 21;
    static constexpr int kPadding = 4;
    static constexpr double kSmallestPoints = 6;
    struct TKey {
        QString text;
        QFont font;
        QMargins margins;
        bool operator==(const TKey&) const = default;
    };
    using TSizes = std::pair<QSize, QSize>;
    const TSizes& Sizes() const {
        return sizes_.Get(TKey{mText, mFont, mMargins}, [this] {
            return TSizes(QCPTextElement::minimumOuterSizeHint(),
                          QCPTextElement::maximumOuterSizeHint());
        });
    }

    int spanLeft_ = 0;
    int spanRight_ = -1;
    QRect frame_;
    TMeasured<TKey, TSizes> sizes_;
};

namespace {
// A legend entry, measured again only when what it shows changes.
class TLegendEntry : public QCPPlottableLegendItem {
public:
    using QCPPlottableLegendItem::QCPPlottableLegendItem;

    QSize minimumOuterSizeHint() const override {
        return size_.Get(TKey{mPlottable ? mPlottable->name() : QString(), getFont(),
                              mParentLegend->iconSize(), mParentLegend->iconTextPadding(),
                              mMargins},
                         [this] { return QCPPlottableLegendItem::minimumOuterSizeHint(); });
    }

private:
    struct TKey {
        QString name;
        QFont font;
        QSize icon;
        int padding = 0;
        QMargins margins;
        bool operator==(const TKey&) const = default;
    };
    TMeasured<TKey, QSize> size_;
};

class TPointTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override {
        return std::max(1.0, QCPAxisTicker::getTickStep(range));
    }
};
} // namespace
// The layers' paint buffer, opaque: each replot starts it as a copy of the background picture
// instead of clearing it to transparent, and a paint copies it to the screen instead of drawing
// the background and blending a transparent buffer over it. The picture is the same.
class TBackgroundBuffer : public QCPAbstractPaintBuffer {
public:
    TBackgroundBuffer(const QSize& size, double devicePixelRatio)
        : QCPAbstractPaintBuffer(size, devicePixelRatio) {
        TBackgroundBuffer::reallocateBuffer();
    }

    void SetBackground(const QPixmap& picture) { background_ = picture; }
    const QPixmap& Picture() const { return buffer_; }
    // The part that the next replots start anew; outside it the last picture stays. Empty: all.
    void SetClearArea(const QRect& area) { clearArea_ = area; }

    QCPPainter* startPainting() override { return new QCPPainter(&buffer_); }
    void draw(QCPPainter* painter) const override {
        if (painter && painter->isActive())
            painter->drawPixmap(0, 0, buffer_);
    }
    // QCustomPlot clears to transparent before the layers draw.
    void clear(const QColor& colour) override {
        if (background_.isNull()) {
            buffer_.fill(colour);
            return;
        }
        if (background_.size() != buffer_.size())
            buffer_.fill(Qt::transparent); // resized: the new picture comes with the next replot
        QPainter painter(&buffer_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (clearArea_.isEmpty()) {
            painter.drawPixmap(0, 0, background_);
            return;
        }
        const qreal ratio = background_.devicePixelRatio();
        painter.drawPixmap(
            clearArea_, background_,
            QRectF(QPointF(clearArea_.topLeft()) * ratio, QSizeF(clearArea_.size()) * ratio));
    }

protected:
    void reallocateBuffer() override {
        setInvalidated();
        buffer_ = QPixmap(mSize * mDevicePixelRatio);
        buffer_.setDevicePixelRatio(mDevicePixelRatio);
    }

private:
    QPixmap buffer_;
    QPixmap background_;
    QRect clearArea_;
};

namespace {

// Replots are at least this far apart, however fast the changes come. Evenly spaced replots
// scroll a streaming chart smoothly; the paint work per second stays fixed.
constexpr qint64 kReplotSpacingMs = 33;

const QColor kSilver(0xC0, 0xC0, 0xC0);

void StyleAxis(QCPAxis* axis, bool drawn) {
    QPen line(kSilver, 1);
    axis->setBasePen(line);
    axis->setTickPen(line);
    axis->setSubTickPen(line);
    axis->setTickLabels(drawn);
    axis->setTicks(drawn);
    axis->setLabelColor(kSilver);
    axis->grid()->setVisible(drawn);
    axis->grid()->setPen(QPen(kSilver, 0, Qt::DotLine));
    axis->grid()->setZeroLinePen(Qt::NoPen);
    axis->setVisible(true);
}

} // namespace

TChart::TChart(QWidget* parent, std::shared_ptr<THistoryFile> history)
    : QCustomPlot(parent), history_(history ? std::move(history) : THistoryFile::Shared()),
      times_(history_, false) {
    setNoAntialiasingOnDrag(true);
    clock_.start();
    deferredReplot_.setSingleShot(true);
    deferredReplot_.setTimerType(Qt::PreciseTimer);
    connect(&deferredReplot_, &QTimer::timeout, this, [this] { replot(rpQueuedReplot); });
    connect(this, &QCustomPlot::afterReplot, this, [this] { EndReplot(); });
    // Axes are drawn inside the plot area's rectangle, labels included.
    auto changed = [this] { RequestRepaint(TArea::Plot); };
    left_ = std::make_unique<TChartAxis>(
        yAxis, [this](double& lo, double& hi) { return LeftDataRange(lo, hi); }, changed);
    bottom_ = std::make_unique<TChartAxis>(
        xAxis, [this](double& lo, double& hi) { return BottomDataRange(lo, hi); }, changed);
    // The left axis starts fixed, the bottom axis automatic.
    left_->SetAutomatic(false);
    left_->SetMaximum(2000);
    left_->SetMinimum(-1000);

    // The top and right axes only close the silver frame of the plot area.
    StyleAxis(xAxis, true);
    StyleAxis(yAxis, true);
    StyleAxis(xAxis2, false);
    StyleAxis(yAxis2, false);
    // Point numbers stay plain integers however long the recording grows, one tick per point
    // at the most, so a short recording does not label 0, 0, 0, 1, 1, 1.
    xAxis->setTicker(QSharedPointer<TPointTicker>::create());
    xAxis->setNumberFormat(QStringLiteral("f"));
    xAxis->setNumberPrecision(0);
    axisRect()->setBackground(Qt::NoBrush);

    plotLayout()->insertRow(0);
    title_ = new TChartTitle(this, QFont(font().family(), 10, QFont::Bold));
    // The title and the legend share a layer: the frame around the plot area that a stream's
    // replots leave as it is.
    title_->setLayer(QStringLiteral("legend"));
    title_->setTextColor(Qt::blue);
    plotLayout()->addElement(0, 0, title_);

    setAutoAddPlottableToLegend(false); // each series adds its own entry
    legend->setVisible(true);
    legend->setBorderPen(QPen(kSilver, 1));
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setTextColor(Qt::white);
    plotLayout()->addElement(2, 0, legend);
    plotLayout()->setRowStretchFactor(2, 0.001);
    legend->setMargins(QMargins(6, 2, 6, 2));

    // Nothing is drawn on the overlay layer, so it shares the one paint buffer: every replot
    // then clears and every paint blends one full-size buffer instead of two.
    if (QCPLayer* overlay = layer(QStringLiteral("overlay")))
        overlay->setMode(QCPLayer::lmLogical);
    buffer_ =
        QSharedPointer<TBackgroundBuffer>::create(viewport().size(), bufferDevicePixelRatio());
    mPaintBuffers.clear();
    mPaintBuffers.append(buffer_);
    setBackgroundScaled(false);
    PaintBackground();
    connect(this, &QCustomPlot::beforeReplot, this, [this] { StartReplot(); });
}

TChart::~TChart() = default;

TLineSeries& TChart::AddSeries(const QString& title, const QColor& colour) {
    // The plot belongs to the chart, which adds it to the legend.
    auto* plot = new TSeriesPlot(xAxis, yAxis, history_);
    legend->addItem(new TLegendEntry(legend, plot));
    plot->setPen(QPen(colour, 1));
    series_.push_back(std::make_unique<TLineSeries>(
        plot, [this] { RequestRepaint(); }, [this] { RequestRepaint(TArea::Plot); }));
    TLineSeries& series = *series_.back();
    series.SetTitle(title);
    series.SetColor(colour);
    return series;
}

void TChart::AddRow(const std::array<double, 3>& values, qint64 unixMs) {
    // Rows whose points came without a time keep the times of later rows in their place.
    const qint64 row = SeriesCount() > 0 ? Series(0).Count() : 0;
    while (times_.Size() < row) {
        times_.Append(std::numeric_limits<double>::quiet_NaN());
    }
    times_.Append(unixMs == kNoTime ? std::numeric_limits<double>::quiet_NaN()
                                    : static_cast<double>(unixMs));
    const int lines = std::min<int>(SeriesCount(), static_cast<int>(values.size()));
    for (int i = 0; i < lines; ++i) {
        Series(i).Add(values[i]);
    }
}

void TChart::ClearPoints() {
    for (auto& series : series_) {
        series->Clear();
    }
    times_.Clear();
}

QString TChart::Title() const {
    return title_->text();
}

void TChart::SetTitle(const QString& text) {
    title_->setText(text);
    RequestRepaint();
}

QFont TChart::TitleFont() const {
    return title_->font();
}

void TChart::SetTitleFont(const QFont& font) {
    title_->setFont(font);
    RequestRepaint();
}

QColor TChart::TitleColor() const {
    return title_->textColor();
}

void TChart::SetTitleColor(const QColor& colour) {
    title_->setTextColor(colour);
    RequestRepaint();
}

void TChart::SetTitleSpan(int left, int right) {
    title_->SetSpan(left, right);
    RequestRepaint();
}

QRect TChart::TitleFrame() const {
    return title_->Frame();
}

QRect TChart::TitleTextRect() const {
    return title_->TextRect();
}

void TChart::SetBackground(const TChartBackground& background) {
    background_ = background;
    PaintBackground();
    RequestRepaint();
}

void TChart::SetLegendGradient(const std::vector<QColor>& colours) {
    QLinearGradient gradient(0, 0, 1, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    for (std::size_t i = 0; i < colours.size(); ++i)
        gradient.setColorAt(colours.size() == 1 ? 0.0 : double(i) / double(colours.size() - 1),
                            colours[i]);
    legend->setBrush(QBrush(gradient));
    RequestRepaint();
}

void TChart::RequestRepaint(TArea area) {
    (area == TArea::Whole ? wholeChanged_ : plotChanged_) = true;
    // A stream reaches the window several frames per event-loop pass, hundreds of passes a
    // second: replotting at each would spend the window's time on pictures nobody can see.
    if (replotQueued_ || deferredReplot_.isActive())
        return;
    if (lastReplot_ >= 0) {
        const qint64 wait = lastReplot_ + kReplotSpacingMs - clock_.elapsed();
        if (wait > 0) {
            deferredReplot_.start(static_cast<int>(wait));
            return;
        }
    }
    replotQueued_ = true;
    replot(rpQueuedReplot);
}

void TChart::StartReplot() {
    // From here on a change needs a replot of its own.
    replotQueued_ = false;
    if (plotOnly_) {
        // The last replot never ended (an exception in a drawing): updates come back, whole.
        HoldFrame(false);
        wholeChanged_ = true;
    }
    LayoutAxes();
    const bool plotOnly = plotChanged_ && !wholeChanged_ && !testAttribute(Qt::WA_UpdatesDisabled);
    plotChanged_ = wholeChanged_ = false;
    if (plotOnly)
        HoldFrame(true);
}

void TChart::HoldFrame(bool hold) {
    plotOnly_ = hold;
    // QCustomPlot ends every replot with an update of the whole widget: a stream would copy the
    // title, the legend and every control over the chart to the window at each replot. Updates
    // are held while it replots, and the plot area alone is updated after it.
    setAttribute(Qt::WA_UpdatesDisabled, hold);
    // The title and the legend keep their last picture: they are neither cleared nor drawn.
    buffer_->SetClearArea(hold ? plotArea_ : QRect());
    if (QCPLayer* frame = layer(QStringLiteral("legend")))
        frame->setVisible(!hold);
}

void TChart::EndReplot() {
    lastReplot_ = clock_.elapsed();
    const QRect area = axisRect()->outerRect();
    // Controls over the plot area (the range boxes) are painted again whenever the chart
    // beneath them is; where the replot left the pixels beneath a control as they were, that
    // part of the window needs nothing.
    QRegion changed(area);
    std::vector<TBeneath> beneath;
    const qreal ratio = buffer_->Picture().devicePixelRatio();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect over = child->geometry() & area;
        if (!child->isVisible() || over.isEmpty())
            continue;
        TBeneath now{child, over,
                     buffer_->Picture()
                         .copy(QRect((QPointF(over.topLeft()) * ratio).toPoint(),
                                     (QSizeF(over.size()) * ratio).toSize()))
                         .toImage()};
        for (const TBeneath& last : beneath_)
            if (last.control == child && last.rect == over && last.pixels == now.pixels)
                changed -= over;
        beneath.push_back(std::move(now));
    }
    beneath_ = std::move(beneath);
    if (plotOnly_) {
        HoldFrame(false);
        if (area == plotArea_) {
            update(changed);
        } else {
            // A new layout moved the title or the legend, which this replot left as they were.
            wholeChanged_ = true;
            RequestRepaint();
        }
    }
    plotArea_ = area;
}

void TChart::RepaintNow() {
    wholeChanged_ = true;
    replot(rpImmediateRefresh);
}

void TChart::mouseDoubleClickEvent(QMouseEvent* event) {
    QCustomPlot::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}

void TChart::paintEvent(QPaintEvent* event) {
    // The background is in the buffer already (exports still draw it through draw()). Each
    // rectangle of the region is copied on its own: under a clip of several rectangles (the
    // chart around an opaque control over it) the raster engine blends the picture span by span
    // on its worker threads instead of copying it.
    QCPPainter painter(this);
    for (const QRect& rect : event->region()) {
        painter.setClipRect(rect);
        buffer_->draw(&painter);
    }
}

void TChart::resizeEvent(QResizeEvent* event) {
    wholeChanged_ = true;
    // QCustomPlot replots at once on a resize: the picture of the new size must be there first.
    PaintBackground();
    QCustomPlot::resizeEvent(event);
}

bool TChart::BottomDataRange(double& lower, double& upper) const {
    // Keys ascend within every line, so its ends give the range without a scan.
    bool found = false;
    for (const auto& series : series_) {
        const int count = series->Count();
        if (count == 0)
            continue;
        const double last = count - 1;
        lower = 0;
        upper = found ? std::max(upper, last) : last;
        found = true;
    }
    return found;
}

bool TChart::LeftDataRange(double& lower, double& upper) const {
    // Only the points inside the visible window count, so the cost follows the window's width
    // and not the length of the recording.
    QCPRange keys(bottom_->Minimum(), bottom_->Maximum());
    keys.normalize();
    bool found = false;
    for (const auto& series : series_) {
        if (!series->Visible())
            continue;
        bool seriesFound = false;
        QCPRange values = series->Graph()->getValueRange(seriesFound, QCP::sdBoth, keys);
        if (!seriesFound)
            continue;
        lower = found ? std::min(lower, values.lower) : values.lower;
        upper = found ? std::max(upper, values.upper) : values.upper;
        found = true;
    }
    return found;
}

void TChart::LayoutAxes() {
    bottom_->Layout();
    left_->Layout();
}

void TChart::PaintBackground() {
    // Vertical gradient from the bottom edge up; balance places the middle colour.
    // The gradient is drawn once per size into an opaque picture: each paint then copies it
    // instead of working out the gradient for every pixel.
    QLinearGradient gradient(0, height(), 0, 0);
    gradient.setColorAt(0, background_.bottom);
    gradient.setColorAt(std::clamp(background_.balance, 1, 99) / 100.0, background_.middle);
    gradient.setColorAt(1, background_.top);
    QPixmap picture(std::max(1, width()), std::max(1, height()));
    picture.fill(background_.bottom);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), gradient);
    painter.end();
    setBackground(QBrush(Qt::NoBrush));
    setBackground(picture);
    buffer_->SetBackground(picture);
}

} // namespace kuvar::charts
