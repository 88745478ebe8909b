// SPDX-License-Identifier: GPL-3.0-or-later
// TiAnalogDisplay: one number as text on a coloured field with a 3D edge.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

namespace kuvar {

enum TiBevelStyle { ibsNone, ibsRaised, ibsLowered };
enum TiAlignmentHorizontal { iahCenter, iahLeft, iahRight };

// The shown text: fixed decimals, blanks trimmed, units appended as stored when not blank.
QString DisplayText(double value, int precision, const QString& unitsText,
                    QChar decimalSep = QLatin1Char('.'));
// Where the text goes for a control of this size, border and alignment.
QRect DisplayTextRect(int width, int height, TiBevelStyle border, TiAlignmentHorizontal align,
                      int margin);

class TiAnalogDisplay : public QWidget {
    Q_OBJECT
public:
    explicit TiAnalogDisplay(QWidget* parent = nullptr);

    double Value() const { return value_; }
    void SetValue(double v);

    TiAlignmentHorizontal Alignment() const { return alignment_; }
    void SetAlignment(TiAlignmentHorizontal v);
    int AlignmentMargin() const { return alignmentMargin_; }
    void SetAlignmentMargin(int v);
    int Precision() const { return precision_; }
    // A negative precision has no meaning and is ignored.
    void SetPrecision(int v);
    QString UnitsText() const { return unitsText_; }
    void SetUnitsText(const QString& v);
    QFont Font() const { return font_; }
    void SetFont(const QFont& v);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& v);

    QColor BackGroundColor() const { return backGroundColor_; }
    void SetBackGroundColor(const QColor& v);
    TiBevelStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TiBevelStyle v);
    bool ErrorActive() const { return errorActive_; }
    void SetErrorActive(bool v);
    QString ErrorText() const { return errorText_; }
    void SetErrorText(const QString& v);
    QFont ErrorFont() const { return errorFont_; }
    void SetErrorFont(const QFont& v);
    QColor ErrorFontColor() const { return errorFontColor_; }
    void SetErrorFontColor(const QColor& v);
    QColor ErrorBackGroundColor() const { return errorBackGroundColor_; }
    void SetErrorBackGroundColor(const QColor& v);
    bool AutoFrameRate() const { return autoFrameRate_; }
    void SetAutoFrameRate(bool v);
    int UpdateFrameRate() const { return updateFrameRate_; }
    void SetUpdateFrameRate(int v);

    // The text the next paint shows.
    QString Text() const;
    // Draws the whole control onto p (what a paint copies to the screen).
    void PaintTo(QPainter& p) const;
    // Repaints actually requested of the window system (after frame-rate limiting).
    int RepaintRequests() const { return requests_; }

    QSize sizeHint() const override { return QSize(80, 21); }

signals:
    // Raised after Value changed, with the display as sender.
    void changed(TiAnalogDisplay* sender);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void RequestRepaint();
    template <class T> void Store(T& field, const T& v) {
        if (!(field == v)) {
            field = v;
            RequestRepaint();
        }
    }

    TiAlignmentHorizontal alignment_ = iahCenter;
    int alignmentMargin_ = 5;
    QFont font_;
    QColor fontColor_ = QColor(0x00, 0xFF, 0xFF);
    int precision_ = 1;
    QString unitsText_;
    double value_ = 0;
    QColor backGroundColor_ = Qt::black;
    TiBevelStyle borderStyle_ = ibsLowered;
    bool errorActive_ = false;
    QString errorText_ = QStringLiteral("Error");
    QFont errorFont_;
    QColor errorFontColor_ = Qt::red;
    QColor errorBackGroundColor_ = Qt::black;
    bool autoFrameRate_ = false;
    int updateFrameRate_ = 60;
    qint64 lastHonoured_ = -1;
    bool pending_ = false;
    int requests_ = 0;
};

} // namespace kuvar
