// SPDX-License-Identifier: GPL-3.0-or-later
// TiAnalogDisplay: one number as text on a coloured field with a 3D edge.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

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

    double Value() const { return fValue; }
    void SetValue(double v);

    TiAlignmentHorizontal Alignment() const { return fAlignment; }
    void SetAlignment(TiAlignmentHorizontal v);
    int AlignmentMargin() const { return fAlignmentMargin; }
    void SetAlignmentMargin(int v);
    int Precision() const { return fPrecision; }
    // A negative precision has no meaning and is ignored.
    void SetPrecision(int v);
    QString UnitsText() const { return fUnitsText; }
    void SetUnitsText(const QString& v);
    QFont Font() const { return fFont; }
    void SetFont(const QFont& v);
    QColor FontColor() const { return fFontColor; }
    void SetFontColor(const QColor& v);

    QColor BackGroundColor() const { return fBackGroundColor; }
    void SetBackGroundColor(const QColor& v);
    TiBevelStyle BorderStyle() const { return fBorderStyle; }
    void SetBorderStyle(TiBevelStyle v);
    bool ErrorActive() const { return fErrorActive; }
    void SetErrorActive(bool v);
    QString ErrorText() const { return fErrorText; }
    void SetErrorText(const QString& v);
    QFont ErrorFont() const { return fErrorFont; }
    void SetErrorFont(const QFont& v);
    QColor ErrorFontColor() const { return fErrorFontColor; }
    void SetErrorFontColor(const QColor& v);
    QColor ErrorBackGroundColor() const { return fErrorBackGroundColor; }
    void SetErrorBackGroundColor(const QColor& v);
    bool AutoFrameRate() const { return fAutoFrameRate; }
    void SetAutoFrameRate(bool v);
    int UpdateFrameRate() const { return fUpdateFrameRate; }
    void SetUpdateFrameRate(int v);

    // The text the next paint shows.
    QString Text() const;
    // Draws the whole control onto p (what a paint copies to the screen).
    void PaintTo(QPainter& p) const;
    // Repaints actually requested of the window system (after frame-rate limiting).
    int RepaintRequests() const { return fRequests; }

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

    TiAlignmentHorizontal fAlignment = iahCenter;
    int fAlignmentMargin = 5;
    QFont fFont;
    QColor fFontColor = QColor(0x00, 0xFF, 0xFF);
    int fPrecision = 1;
    QString fUnitsText;
    double fValue = 0;
    QColor fBackGroundColor = Qt::black;
    TiBevelStyle fBorderStyle = ibsLowered;
    bool fErrorActive = false;
    QString fErrorText = QStringLiteral("Error");
    QFont fErrorFont;
    QColor fErrorFontColor = Qt::red;
    QColor fErrorBackGroundColor = Qt::black;
    bool fAutoFrameRate = false;
    int fUpdateFrameRate = 60;
    qint64 fLastHonoured = -1;
    bool fPending = false;
    int fRequests = 0;
};
