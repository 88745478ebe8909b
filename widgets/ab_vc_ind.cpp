// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_vc_ind.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

namespace kuvar {

namespace {

constexpr int kSectorSplit = 60;

QRegion EllipseInset(int S, int n) {
    const int w = S - 2 * n;
    if (w <= 0)
        return QRegion();
    return QRegion(QRect(n, n, w, w), QRegion::Ellipse);
}

bool SameValue(float a, float b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

float Finite(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

QChar DecimalSep() {
    const QString dp = QLocale().decimalPoint();
    return dp.isEmpty() ? QLatin1Char('.') : dp.at(0);
}

QString Label(const QString& list, const QString& defaults, int i) {
    const QStringList parts = (list.isEmpty() ? defaults : list).split(QLatin1Char(';'));
    return i < parts.size() ? parts.at(i) : QString();
}

} // namespace

float FoldPitch(float pitch) {
    if (!std::isfinite(pitch))
        return 0.0f;
    // Same result as subtracting (adding) 180 while above 180 (below -180), in one step.
    if (pitch > 180.0f) {
        const float r = std::fmod(pitch, 180.0f);
        return r == 0.0f ? 180.0f : r;
    }
    if (pitch < -180.0f) {
        const float r = std::fmod(pitch, 180.0f);
        return r == 0.0f ? -180.0f : r;
    }
    return pitch;
}

double WrapAngle360(double a) {
    if (!std::isfinite(a))
        return 0.0;
    if (a >= 0.0 && a <= 360.0)
        return a;
    a = std::fmod(a, 360.0);
    return a < 0.0 ? a + 360.0 : a;
}

float CourseDeviation(float course, float should) {
    float d = course - should;
    if (d < -180.0f)
        d += 360.0f;
    else if (d > 180.0f)
        d -= 360.0f;
    return d;
}

std::vector<TAbLadderRow> PitchLadderRows(float pitch, const QRect& window, int n, float u,
                                          int stepMulti, float q, float k) {
    std::vector<TAbLadderRow> rows;
    if (n <= 0 || u <= 0 || stepMulti <= 0 || !std::isfinite(pitch))
        return rows;
    const int top = window.top();
    const int bottom = window.bottom(); // the last row inside the window, not the one after it
    const double d = double(pitch) - double(n) * u / 2.0;
    const int f = RoundEven(d / u);
    const double vt = double(n + f) * u;
    const int o = RoundEven((d - f * double(u)) * k);
    const double stepUnit = double(stepMulti) * u;
    for (int m = 0; m <= n; ++m) {
        double v = vt - double(m) * u;
        v = std::fmod(v, 360.0);
        if (v <= -180.0)
            v += 360.0;
        if (v > 180.0)
            v -= 360.0;
        const int y = top + RoundEven(double(m) * q) + o;
        if (y < top || y > bottom)
            continue;
        const double r = v / stepUnit;
        const bool step = std::fabs(r - std::round(r)) < 1e-4;
        rows.push_back({static_cast<float>(v), y, step});
    }
    return rows;
}

TAbVCInd::TAbVCInd(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    // Every pixel inside the round mask comes from the opaque face picture: the page beneath
    // is not painted again at each frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(273, 273);

    const TAbFont captionFont{QFont(), SysColor::WindowText};
    IndDeviation.Caption.SetText(QStringLiteral("Dev."));
    IndDeviation.Caption.SetPos(toBotCenter);
    IndCourse.Caption.SetText(QStringLiteral("Course"));
    IndCourse.Caption.SetPos(toTopCenter);
    IndPitch.Caption.SetText(QStringLiteral("Pitch"));
    IndPitch.Caption.SetPos(toTopCenter);
    IndRoll.Caption.SetText(QStringLiteral("Roll"));
    IndRoll.Caption.SetPos(toBotCenter);
    for (TAbValInd* ind : {&IndDeviation, &IndCourse, &IndPitch, &IndRoll})
        ind->Caption.SetFont(captionFont);

    HorizonLine.SetLength(100);
    HorizonLine.SetPen(QPen(Qt::white, 1));
    PitchLine.SetLength(50);
    PitchLine.SetPen(QPen(Qt::white, 1));

    for (TAbScale* s : {&CourseScale, &RollScale}) {
        s->SetFont({AbFont(24, true), Qt::white});
        s->StepLines.SetLength(15);
        s->SubStepLines.SetLength(8);
    }
    PitchScale.SetFont({AbFont(11, true), Qt::white});
    PitchScale.StepLines.SetLength(15);
    PitchScale.SubStepLines.SetLength(8);
    PitchScale.SubStepLines.SetPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    PitchScale.SetSubStepAt(1.0f);
    PitchScale.SetStepMulti(5);
    PitchScale.SetSubStepsVis(15);

    BevelMiddle.Exchange();

    // The change chain is connected once the defaults are in, so they raise nothing.
    auto handler = [this](TAbPersistent* s) { OnSettingsChanged(s); };
    for (TAbPersistent* o : std::initializer_list<TAbPersistent*>{
             &IndDeviation, &IndCourse, &IndPitch, &IndRoll, &HorizonLine, &PitchLine, &PitchScale,
             &CourseScale, &RollScale, &BevelOuter, &BevelMiddle, &BevelInner})
        o->OnChange = handler;
}

void TAbVCInd::OnSettingsChanged(TAbPersistent* sender) {
    auto within = [sender](const TAbCustomScale& s) {
        return sender == &s || sender == &s.StepLines || sender == &s.SubStepLines;
    };
    if (within(CourseScale))
        Invalidate(lyCourse | lyValues);
    else if (within(RollScale) || sender == &HorizonLine || sender == &PitchLine)
        Invalidate(lyRollScale | lyBall | lyValues);
    else
        Invalidate(lyFull);
}

void TAbVCInd::Invalidate(unsigned layers) {
    dirty_ |= layers;
    if (lock_ == 0)
        update();
}

void TAbVCInd::EndUpdate() {
    if (lock_ > 0 && --lock_ == 0)
        Invalidate(lyFull);
}

void TAbVCInd::SetPitch(float v) {
    if (SameValue(v, pitch_))
        return;
    pitch_ = v;
    Invalidate(lyBall | lyValues);
}

void TAbVCInd::SetRoll(float v) {
    if (SameValue(v, roll_))
        return;
    roll_ = v;
    Invalidate(lyRollScale | lyBall | lyValues);
}

void TAbVCInd::SetCourse(float v) {
    if (SameValue(v, course_))
        return;
    course_ = v;
    Invalidate(lyCourse | lyValues);
}

void TAbVCInd::SetCourseShould(float v) {
    if (SameValue(v, courseShould_))
        return;
    courseShould_ = v;
    Invalidate(lyCourse | lyValues);
}

#define VC_SETTER(Name, field, Type, guard, layers)                                                \
    void TAbVCInd::Set##Name(Type v) {                                                             \
        if (!(guard) || field == v)                                                                \
            return;                                                                                \
        field = v;                                                                                 \
        Invalidate(layers);                                                                        \
    }

VC_SETTER(ArrShouldSize, arrShouldSize_, int, v >= 0, lyFull)
VC_SETTER(ArrShouldOffs, arrShouldOffs_, int, true, lyFull)
VC_SETTER(ArrShouldCol, arrShouldCol_, const QColor&, true, lyCourse | lyValues)
VC_SETTER(ArrowSize, arrowSize_, int, v >= 0, lyFull)
VC_SETTER(ScaleHeight, scaleHeight_, int, v > 0, lyFull)
VC_SETTER(PitchScaleOffs, pitchScaleOffs_, int, true, lyFull)
VC_SETTER(CourseBkColor, courseBkColor_, const QColor&, true, lyCourse | lyValues)
VC_SETTER(Color, color_, const QColor&, true, lyFull)
VC_SETTER(ColorSky, colorSky_, const QColor&, true, lyFull)
VC_SETTER(ColorGround, colorGround_, const QColor&, true, lyFull)
VC_SETTER(OuterSpacing, outerSpacing_, int, true, lyFull)
VC_SETTER(InnerSpacing, innerSpacing_, int, true, lyFull)
VC_SETTER(RollBkColor, rollBkColor_, const QColor&, true, lyRollScale | lyBall | lyValues)

#undef VC_SETTER

TAbVCIndGeometry TAbVCInd::Geometry() const {
    TAbVCIndGeometry g;
    g.S = width() - 1;
    g.cx = g.S / 2;
    g.cy = g.S / 2;
    const int S = g.S;
    const int bo = BevelOuter.Width(), os = outerSpacing_, bm = BevelMiddle.Width();
    const int sh = scaleHeight_, bi = BevelInner.Width(), is = innerSpacing_;
    g.face = EllipseInset(S, bo);
    g.ring = EllipseInset(S, bo + os);
    g.middle = EllipseInset(S, bo + os + bm);
    g.inner = EllipseInset(S, bo + os + bm + sh);
    const int bl = bo + os + bm + sh + bi + is;
    if (S - 2 * bl - 1 > 0)
        g.ball = QRegion(QRect(bl + 1, bl + 1, S - 2 * bl - 1, S - 2 * bl - 1), QRegion::Ellipse);
    g.scaleRing = g.middle.subtracted(g.inner);

    const int L = bo + os, T = bo + os, R = S - (bo + os), B = S - (bo + os);
    g.upper = QPolygon({QPoint(L, T), QPoint(R, T), QPoint(R, g.cy - kSectorSplit),
                        QPoint(g.cx, g.cy), QPoint(L, g.cy - kSectorSplit)});
    g.lower = QPolygon({QPoint(L, B), QPoint(R, B), QPoint(R, g.cy + kSectorSplit),
                        QPoint(g.cx, g.cy), QPoint(L, g.cy + kSectorSplit)});
    const QRegion upper(g.upper), lower(g.lower);
    g.courseSector = g.scaleRing.intersected(upper);
    g.rollSector = g.scaleRing.intersected(lower);
    g.side = g.ring.xored(lower).xored(upper).intersected(g.face);
    g.present = QRegion(QRect(0, 0, width(), height()), QRegion::Ellipse);

    const int a = arrowSize_;
    const int t = bo + os - 1;
    const int b = S - bo - os - 1;
    g.topArrow = QPolygon({QPoint(g.cx - a, t), QPoint(g.cx, t + 2 * a), QPoint(g.cx + a, t)});
    g.bottomArrow = QPolygon({QPoint(g.cx - a, b), QPoint(g.cx, b - 2 * a), QPoint(g.cx + a, b)});
    const int s = arrShouldSize_;
    const int y0 = t + 2 * a + arrShouldOffs_;
    g.marker =
        QPolygon({QPoint(g.cx - s, y0 + 2 * s), QPoint(g.cx, y0), QPoint(g.cx + s, y0 + 2 * s)});

    const int pw = bl + pitchScaleOffs_;
    g.pitchWindow = QRect(QPoint(pw, pw), QPoint(S - pw, S - pw));
    // Height as the face square's rectangles count it: bottom minus top.
    const int ph = (S - pw) - pw;
    g.pixPerSubStep = static_cast<float>(ph) / static_cast<float>(PitchScale.SubStepsVis());
    g.pixPerDegree = g.pixPerSubStep / PitchScale.SubStepAt();
    return g;
}

void TAbVCInd::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (width() != height()) {
        const int side = std::max(width(), height());
        resize(side, side);
        return;
    }
    // The corners outside the face are not the instrument's: clicks there reach the controls
    // beneath it.
    setMask(QRegion(rect(), QRegion::Ellipse));
    Invalidate(lyFull);
}

const QImage& TAbVCInd::Face() {
    RenderPending();
    return image_;
}

void TAbVCInd::RenderPending() {
    if (lock_ > 0)
        return;
    if (width() != height())
        resize(std::max(width(), height()), std::max(width(), height()));
    if (width() < 2)
        return;
    if (image_.size() != size())
        dirty_ |= lyFull;
    if (dirty_ == 0)
        return;
    if (dirty_ & lyFull) {
        image_ = QImage(size(), QImage::Format_RGB32);
        geo_ = Geometry();
        QPainter p(&image_);
        FullPaint(p);
        ++redraws_;
    } else {
        QPainter p(&image_);
        if (dirty_ & lyCourse) {
            DrawCourse(p);
            ++redraws_;
        }
        if (dirty_ & lyRollScale) {
            DrawRollScale(p);
            ++redraws_;
        }
        if (dirty_ & (lyBall | lyRollScale)) {
            DrawBall(p);
            ++redraws_;
        }
        DrawValues(p);
    }
    dirty_ = 0;
}

void TAbVCInd::paintEvent(QPaintEvent*) {
    RenderPending();
    if (image_.isNull() || image_.size() != size())
        return;
    QPainter p(this);
    // The corners outside the circle stay the parent's. Under a round clip the raster engine
    // copies span by span, and hands a call of more than about a hundred spans to its worker
    // threads, which cost more in wake-ups than the copy: the face goes in bands below that.
    constexpr int kBandRows = 64;
    for (int top = 0; top < image_.height(); top += kBandRows) {
        const QRect band(0, top, image_.width(), std::min(kBandRows, image_.height() - top));
        p.setClipRegion(geo_.present.intersected(band));
        p.drawImage(band.topLeft(), image_, band);
    }
}

void TAbVCInd::FullPaint(QPainter& p) {
    const TAbVCIndGeometry& g = geo_;
    const int S = g.S;
    const int bo = BevelOuter.Width(), os = outerSpacing_, bm = BevelMiddle.Width();
    const int sh = scaleHeight_, bi = BevelInner.Width();
    const QRect square(0, 0, S, S);
    auto inset = [&](int n) { return square.adjusted(n, n, -n, -n); };
    p.setRenderHint(QPainter::Antialiasing, false);

    p.fillRect(image_.rect(), color_);
    if (bo > 0)
        FillDiagonalGradient(p, square, BevelOuter.ColorFrom(), BevelOuter.ColorTo());
    p.setClipRegion(g.face);
    p.fillRect(image_.rect(), color_);

    p.setClipRegion(g.ring);
    if (bm > 0)
        FillDiagonalGradient(p, inset(bo + os), BevelMiddle.ColorFrom(), BevelMiddle.ColorTo());
    p.setClipRegion(g.middle);
    p.fillRect(image_.rect(), color_);

    p.setClipRegion(g.inner);
    if (bi > 0)
        FillDiagonalGradient(p, inset(bo + os + sh), BevelInner.ColorFrom(), BevelInner.ColorTo());
    p.setClipRegion(g.ball);
    p.fillRect(image_.rect(), color_);
    p.setClipRegion(g.side);
    p.fillRect(image_.rect(), color_);

    p.setClipRegion(g.ring.subtracted(g.ball));
    const QPoint c(g.cx, g.cy);
    const int L = bo + os, R = S - (bo + os);
    p.setPen(QPen(BevelMiddle.ColorTo(), 1));
    p.drawLine(c, QPoint(L, g.cy - kSectorSplit));
    p.drawLine(c, QPoint(R, g.cy - kSectorSplit));
    p.setPen(QPen(BevelMiddle.ColorFrom(), 1));
    p.drawLine(c, QPoint(L, g.cy + kSectorSplit));
    p.drawLine(c, QPoint(R, g.cy + kSectorSplit));

    p.setClipRegion(g.ring);
    p.setPen(QPen(color_, 1));
    p.setBrush(color_);
    p.drawPolygon(g.topArrow);
    p.drawPolygon(g.bottomArrow);

    // Leaves the inner rim bi + 1 wide and a face-coloured gap inside it.
    p.setClipRegion(g.inner.intersected(EllipseInset(S, bo + os + bm + sh + bi + 1)));
    p.fillRect(image_.rect(), color_);

    p.setClipRegion(g.ring);
    const int x0 = bo + os + bm + sh / 2;
    IndCourse.Layout(p, QPoint(x0, g.cy - 2), toBotCenter);
    IndDeviation.Layout(p, QPoint(x0, g.cy + 2), toTopCenter);
    IndPitch.Layout(p, QPoint(width() - x0 - 2, g.cy - 2), toBotCenter);
    IndRoll.Layout(p, QPoint(width() - x0 - 2, g.cy + 2), toTopCenter);

    DrawCourse(p);
    DrawRollScale(p);
    DrawBall(p);
    DrawValues(p);
}

void TAbVCInd::DrawScale(QPainter& p, const TAbScale& scale, const QString& defaults, double turn,
                         bool roll) {
    const TAbVCIndGeometry& g = geo_;
    const QPoint c(g.cx, g.cy);
    const int r0 = BevelOuter.Width() + outerSpacing_ + BevelMiddle.Width();
    const QPoint stepA(g.cx, r0 + scale.StepLines.Offset() + 5);
    const QPoint stepB(g.cx, stepA.y() + scale.StepLines.Length());
    const QPoint subA(g.cx, r0 + scale.SubStepLines.Offset() + 10);
    const QPoint subB(g.cx, subA.y() + scale.SubStepLines.Length());
    p.setFont(scale.Font().Font);
    const int h = QFontMetrics(scale.Font().Font).height();
    const QPoint anchor(g.cx + scale.TextOffsetX(), stepB.y() + scale.TextOffsetY() + h / 2);

    for (int i = 0; i < 8; ++i) {
        const double a = WrapAngle360(i * 45.0 + turn);
        const bool shown = roll ? (a >= 89.0 && a <= 260.0) : (a >= 260.0 || a < 80.0);
        if (!shown)
            continue;
        if (scale.StepLines.Visible()) {
            p.setPen(scale.StepLines.Pen());
            p.drawLine(RotatePoint(stepA, c, a), RotatePoint(stepB, c, a));
        }
        double textTurn = 0;
        if (scale.AngleMode() == amAuto)
            textTurn = scale.Angle() + a - (roll ? 180.0 : 0.0);
        else if (scale.Angle() != 0)
            textTurn = scale.Angle();
        p.setPen(scale.Font().Color);
        DrawRotatedText(p, RotatePoint(anchor, c, a), Label(scale.Text(), defaults, i),
                        scale.TextAlignment(), textTurn);
        if (scale.SubStepLines.Visible()) {
            p.setPen(scale.SubStepLines.Pen());
            for (int j = 1; j <= 8; ++j)
                p.drawLine(RotatePoint(subA, c, a + 5 * j), RotatePoint(subB, c, a + 5 * j));
        }
    }
}

void TAbVCInd::DrawCourse(QPainter& p) {
    const TAbVCIndGeometry& g = geo_;
    p.setClipRegion(g.courseSector);
    p.fillRect(image_.rect(), courseBkColor_);
    const QPoint c(g.cx, g.cy);
    const double turn = WrapAngle360(double(Finite(courseShould_)) - double(Finite(course_)));
    QPolygon marker;
    for (const QPoint& pt : g.marker)
        marker << RotatePoint(pt, c, turn);
    p.setPen(QPen(arrShouldCol_, 1));
    p.setBrush(arrShouldCol_);
    p.drawPolygon(marker);
    p.setBrush(Qt::NoBrush);
    DrawScale(p, CourseScale, QStringLiteral("N;NE;E;SE;S;SW;W;NW"), -WrapAngle360(Finite(course_)),
              false);
}

void TAbVCInd::DrawRollScale(QPainter& p) {
    p.setClipRegion(geo_.rollSector);
    p.fillRect(image_.rect(), rollBkColor_);
    DrawScale(p, RollScale, QStringLiteral("180;135;90;45;0;-45;-90;-135"),
              WrapAngle360(Finite(roll_)), true);
}

void TAbVCInd::DrawBall(QPainter& p) {
    const TAbVCIndGeometry& g = geo_;
    const QPoint c(g.cx, g.cy);
    const int S = g.S;
    p.setClipRegion(g.ball);
    pitch_ = FoldPitch(pitch_);
    const float P = pitch_;
    const double roll = WrapAngle360(Finite(roll_));
    const float k = g.pixPerDegree;
    p.fillRect(QRect(0, 0, S, S), colorSky_);

    auto band = [&](int y1, int y2) {
        QPolygon poly;
        for (const QPoint& pt : {QPoint(0, y1), QPoint(S, y1), QPoint(S, y2), QPoint(0, y2)})
            poly << RotatePoint(pt, c, roll);
        p.drawPolygon(poly);
    };
    p.setPen(QPen(colorGround_, 1));
    p.setBrush(colorGround_);
    const int r180 = RoundEven(180.0 * k);
    band(std::min(g.cy + RoundEven(P * k), S), std::min(g.cy + RoundEven((P + 180.0) * k), S));
    band(std::max(g.cy + RoundEven((P - 180.0) * k) - r180, 0),
         std::max(g.cy + RoundEven(double(P) * k) - r180, 0));
    p.setBrush(Qt::NoBrush);

    const TAbFlexScale& ps = PitchScale;
    p.setFont(ps.Font().Font);
    const int W = QFontMetrics(ps.Font().Font).horizontalAdvance(ps.FormatStr());
    const int Lstep = ps.StepLines.Length();
    const QChar sep = DecimalSep();
    for (const TAbLadderRow& row :
         PitchLadderRows(P, g.pitchWindow, ps.SubStepsVis(), ps.SubStepAt(), ps.StepMulti(),
                         g.pixPerSubStep, k)) {
        if (row.step) {
            const int mx = g.cx + ps.StepLines.Offset();
            if (ps.StepLines.Visible()) {
                p.setPen(ps.StepLines.Pen());
                p.drawLine(RotatePoint(QPoint(mx - Lstep / 2, row.y), c, roll),
                           RotatePoint(QPoint(mx - Lstep / 2 + Lstep, row.y), c, roll));
            }
            const QPoint at(g.cx + Lstep / 2 + W / 2 + ps.TextOffsetX() + ps.StepLines.Offset() + 5,
                            row.y + ps.TextOffsetY());
            const double textTurn = ps.AngleMode() == amAuto ? ps.Angle() + roll : ps.Angle();
            p.setPen(ps.Font().Color);
            DrawRotatedText(p, RotatePoint(at, c, roll),
                            FormatNumber(ps.FormatStr(), row.value, sep), ps.TextAlignment(),
                            textTurn);
        } else if (ps.SubStepLines.Visible()) {
            const int len = ps.SubStepLines.Length();
            const int mx = g.cx + ps.SubStepLines.Offset() + ps.StepLines.Offset();
            p.setPen(ps.SubStepLines.Pen());
            p.drawLine(RotatePoint(QPoint(mx - len / 2, row.y), c, roll),
                       RotatePoint(QPoint(mx - len / 2 + len, row.y), c, roll));
        }
    }

    if (PitchLine.Visible()) {
        const int len = PitchLine.Length();
        const int mx = g.cx + PitchLine.Offset();
        p.setPen(PitchLine.Pen());
        p.drawLine(RotatePoint(QPoint(mx - len / 2, g.cy), c, roll),
                   RotatePoint(QPoint(mx - len / 2 + len, g.cy), c, roll));
    }
    if (HorizonLine.Visible()) {
        const int half = HorizonLine.Length() / 2;
        const int mx = g.cx + HorizonLine.Offset();
        p.setPen(HorizonLine.Pen());
        p.drawLine(QPoint(mx - half, g.cy), QPoint(mx + half, g.cy));
    }
}

void TAbVCInd::DrawValues(QPainter& p) {
    const TAbVCIndGeometry& g = geo_;
    p.setClipRegion(g.ring);
    const QChar sep = DecimalSep();
    IndCourse.Value(p, course_, sep);
    IndDeviation.Value(p, CourseDeviation(course_, courseShould_), sep);
    IndPitch.Value(p, pitch_, sep);
    IndRoll.Value(p, roll_, sep);

    for (const QPolygon* arrow : {&g.topArrow, &g.bottomArrow}) {
        p.setPen(QPen(BevelMiddle.ColorFrom(), 1));
        p.setBrush(color_);
        p.drawPolygon(*arrow);
        p.setPen(QPen(BevelMiddle.ColorTo(), 1));
        p.drawLine(arrow->at(1), arrow->at(2));
    }
    p.setBrush(Qt::NoBrush);
}

} // namespace kuvar
