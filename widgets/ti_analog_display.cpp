// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ti_analog_display.h"

#include "widgets/ab_settings.h"
#include "widgets/decimal_text.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QTimer>
#include <cmath>

namespace kuvar {

QString DisplayText(double value, int precision, const QString& unitsText, QChar decimalSep) {
    const QString number = QString::fromStdString(FixedDecimal(value, precision, '.'))
                               .trimmed()
                               .replace(QLatin1Char('.'), decimalSep);
    if (unitsText.trimmed().isEmpty())
        return number;
    return number + unitsText;
}

QRect DisplayTextRect(int width, int height, TiBevelStyle border, TiAlignmentHorizontal align,
                      int margin) {
    const int top = 2;
    const int bottom = border == ibsLowered ? height - 4 : height - 2;
    int left = 2;
    int right = width - 2;
    if (align == iahLeft)
        left = margin + 2;
    else if (align == iahRight)
        right = width - 2 - margin;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

TiAnalogDisplay::TiAnalogDisplay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent); // every paint covers all pixels
    font_.setBold(true);
    errorFont_.setBold(true);
    resize(80, 21);
}

void TiAnalogDisplay::SetValue(double v) {
    if (v == value_ || (std::isnan(v) && std::isnan(value_)))
        return;
    value_ = v;
    RequestRepaint();
    emit changed(this);
}

void TiAnalogDisplay::SetAlignment(TiAlignmentHorizontal v) {
    Store(alignment_, v);
}
void TiAnalogDisplay::SetAlignmentMargin(int v) {
    Store(alignmentMargin_, v);
}
void TiAnalogDisplay::SetPrecision(int v) {
    if (v >= 0)
        Store(precision_, v);
}
void TiAnalogDisplay::SetUnitsText(const QString& v) {
    Store(unitsText_, v);
}
void TiAnalogDisplay::SetFont(const QFont& v) {
    Store(font_, v);
}
void TiAnalogDisplay::SetFontColor(const QColor& v) {
    Store(fontColor_, v);
}
void TiAnalogDisplay::SetBackGroundColor(const QColor& v) {
    Store(backGroundColor_, v);
}
void TiAnalogDisplay::SetBorderStyle(TiBevelStyle v) {
    Store(borderStyle_, v);
}
void TiAnalogDisplay::SetErrorActive(bool v) {
    Store(errorActive_, v);
}
void TiAnalogDisplay::SetErrorText(const QString& v) {
    Store(errorText_, v);
}
void TiAnalogDisplay::SetErrorFont(const QFont& v) {
    Store(errorFont_, v);
}
void TiAnalogDisplay::SetErrorFontColor(const QColor& v) {
    Store(errorFontColor_, v);
}
void TiAnalogDisplay::SetErrorBackGroundColor(const QColor& v) {
    Store(errorBackGroundColor_, v);
}
void TiAnalogDisplay::SetAutoFrameRate(bool v) {
    Store(autoFrameRate_, v);
}
void TiAnalogDisplay::SetUpdateFrameRate(int v) {
    Store(updateFrameRate_, v);
}

void TiAnalogDisplay::RequestRepaint() {
    if (autoFrameRate_ && updateFrameRate_ > 0) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const qint64 interval = 1000 / updateFrameRate_;
        if (lastHonoured_ >= 0 && now - lastHonoured_ <= interval) {
            // Shown by a later request, or by this timer when none comes.
            if (!pending_) {
                pending_ = true;
                QTimer::singleShot(int(interval - (now - lastHonoured_)) + 1, this, [this] {
                    if (pending_)
                        RequestRepaint();
                });
            }
            return;
        }
        lastHonoured_ = now;
    }
    pending_ = false;
    ++requests_;
    update();
}

QString TiAnalogDisplay::Text() const {
    if (errorActive_)
        return errorText_;
    const QString dp = QLocale().decimalPoint();
    return DisplayText(value_, precision_, unitsText_, dp.isEmpty() ? QLatin1Char('.') : dp.at(0));
}

void TiAnalogDisplay::PaintTo(QPainter& p) const {
    const QColor fill = errorActive_ ? errorBackGroundColor_ : backGroundColor_;
    p.fillRect(QRect(0, 0, width(), height()), fill);
    if (borderStyle_ != ibsNone) {
        // Outer line shadow/highlight, inner line dark shadow/light; raised is the mirror.
        const bool sunken = borderStyle_ == ibsLowered;
        const QColor outerTL = sunken ? SysColor::BtnShadow : SysColor::Light3D;
        const QColor outerBR = sunken ? SysColor::BtnHighlight : SysColor::DkShadow3D;
        const QColor innerTL = sunken ? SysColor::DkShadow3D : SysColor::BtnHighlight;
        const QColor innerBR = sunken ? SysColor::Light3D : SysColor::BtnShadow;
        const QRect r = rect();
        // One-pixel rows and columns, filled: the same pixels as lines of a one-pixel pen,
        // without the stroker the raster engine runs for every line.
        auto frame = [&](const QRect& f, const QColor& tl, const QColor& br) {
            p.fillRect(QRect(f.left(), f.top(), f.width(), 1), tl);
            p.fillRect(QRect(f.left(), f.top(), 1, f.height()), tl);
            p.fillRect(QRect(f.left(), f.bottom(), f.width(), 1), br);
            p.fillRect(QRect(f.right(), f.top(), 1, f.height()), br);
        };
        frame(r, outerTL, outerBR);
        frame(r.adjusted(1, 1, -1, -1), innerTL, innerBR);
    }
    const QRect tr = DisplayTextRect(width(), height(), borderStyle_, alignment_, alignmentMargin_);
    const int h = alignment_ == iahLeft
                      ? Qt::AlignLeft
                      : (alignment_ == iahRight ? Qt::AlignRight : Qt::AlignHCenter);
    p.save();
    p.setClipRect(tr);
    p.setFont(errorActive_ ? errorFont_ : font_);
    p.setPen(errorActive_ ? errorFontColor_ : fontColor_);
    p.drawText(tr, h | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, Text());
    p.restore();
}

void TiAnalogDisplay::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0)
        return;
    QPainter p(this);
    PaintTo(p);
}

} // namespace kuvar
