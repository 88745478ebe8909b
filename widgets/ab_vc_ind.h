// SPDX-License-Identifier: GPL-3.0-or-later
// TAbVCInd: round attitude and heading instrument (horizon ball, course tape, roll scale).
#pragma once

#include "widgets/ab_settings.h"
#include "widgets/ab_val_ind.h"

#include <QImage>
#include <QPolygon>
#include <QRegion>
#include <QWidget>
#include <vector>

namespace kuvar {

// Everything the face's size and the ring's settings fix; made at every full paint.
struct TAbVCIndGeometry {
    int S = 0;
    int cx = 0;
    int cy = 0;
    QRegion face, ring, middle, inner, ball, scaleRing, courseSector, rollSector, side, present;
    QPolygon upper, lower, topArrow, bottomArrow, marker;
    QRect pitchWindow;
    float pixPerSubStep = 0;
    float pixPerDegree = 0;
};

// One rung of the pitch ladder: its value, its row before rotation, labelled or not.
struct TAbLadderRow {
    float value;
    int y;
    bool step;
};

// Pitch brought into -180..180 in steps of 180, as the ball shows it.
float FoldPitch(float pitch);
// Angle brought into 0..360 for the scales; not-a-number and infinities show as 0.
double WrapAngle360(double a);
// Course minus set-point, as a signed angle within -180..180.
float CourseDeviation(float course, float should);
// The rungs in the pitch window for a folded pitch.
std::vector<TAbLadderRow> PitchLadderRows(float pitch, const QRect& window, int subStepsVis,
                                          float subStepAt, int stepMulti, float pixPerSubStep,
                                          float pixPerDegree);

class TAbVCInd : public QWidget {
    Q_OBJECT
public:
    explicit TAbVCInd(QWidget* parent = nullptr);

    TAbValInd IndDeviation;
    TAbValInd IndCourse;
    TAbValInd IndPitch;
    TAbValInd IndRoll;
    TAbLineSettings HorizonLine;
    TAbLineSettings PitchLine;
    TAbFlexScale PitchScale;
    TAbScale CourseScale;
    TAbScale RollScale;
    TAbBevelSettings BevelOuter;
    TAbBevelSettings BevelMiddle;
    TAbBevelSettings BevelInner;

    float Pitch() const { return pitch_; }
    float Roll() const { return roll_; }
    float Course() const { return course_; }
    float CourseShould() const { return courseShould_; }
    void SetPitch(float v);
    void SetRoll(float v);
    void SetCourse(float v);
    void SetCourseShould(float v);

    int ArrShouldSize() const { return arrShouldSize_; }
    int ArrShouldOffs() const { return arrShouldOffs_; }
    QColor ArrShouldCol() const { return arrShouldCol_; }
    int ArrowSize() const { return arrowSize_; }
    int ScaleHeight() const { return scaleHeight_; }
    int PitchScaleOffs() const { return pitchScaleOffs_; }
    QColor CourseBkColor() const { return courseBkColor_; }
    QColor Color() const { return color_; }
    QColor ColorSky() const { return colorSky_; }
    QColor ColorGround() const { return colorGround_; }
    int OuterSpacing() const { return outerSpacing_; }
    int InnerSpacing() const { return innerSpacing_; }
    QColor RollBkColor() const { return rollBkColor_; }

    void SetArrShouldSize(int v);
    void SetArrShouldOffs(int v);
    void SetArrShouldCol(const QColor& v);
    void SetArrowSize(int v);
    void SetScaleHeight(int v);
    void SetPitchScaleOffs(int v);
    void SetCourseBkColor(const QColor& v);
    void SetColor(const QColor& v);
    void SetColorSky(const QColor& v);
    void SetColorGround(const QColor& v);
    void SetOuterSpacing(int v);
    void SetInnerSpacing(int v);
    void SetRollBkColor(const QColor& v);

    // While locked, nothing is painted; the last EndUpdate requests one full repaint.
    void BeginUpdate() { ++lock_; }
    void EndUpdate();

    // The geometry for the present size and settings.
    TAbVCIndGeometry Geometry() const;
    // The face as the next paint will show it (draws the pending layers now).
    const QImage& Face();
    // Layer redraws done so far: a full paint counts 1, each partial layer 1.
    int RedrawCount() const { return redraws_; }

    QSize sizeHint() const override { return QSize(273, 273); }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    enum Layer : unsigned {
        lyFull = 1,
        lyCourse = 2,
        lyRollScale = 4,
        lyBall = 8,
        lyValues = 16,
    };
    void Invalidate(unsigned layers);
    void RenderPending();
    void FullPaint(QPainter& p);
    void DrawCourse(QPainter& p);
    void DrawRollScale(QPainter& p);
    void DrawBall(QPainter& p);
    void DrawValues(QPainter& p);
    void DrawScale(QPainter& p, const TAbScale& scale, const QString& defaults, double turn,
                   bool roll);
    void OnSettingsChanged(TAbPersistent* sender);

    float pitch_ = 0;
    float roll_ = 0;
    float course_ = 0;
    float courseShould_ = 0;
    int arrShouldSize_ = 10;
    int arrShouldOffs_ = 0;
    QColor arrShouldCol_ = Qt::red;
    int arrowSize_ = 10;
    int scaleHeight_ = 50;
    int pitchScaleOffs_ = 10;
    QColor courseBkColor_ = QColor(0, 0, 0x80);
    QColor color_ = SysColor::BtnFace;
    QColor colorSky_ = QColor(0xBF, 0xBF, 0xFF);
    QColor colorGround_ = QColor(0xCC, 0x8E, 0x00);
    int outerSpacing_ = 5;
    int innerSpacing_ = 5;
    QColor rollBkColor_ = QColor(0x80, 0, 0);

    int lock_ = 0;
    unsigned dirty_ = lyFull;
    int redraws_ = 0;
    QImage image_;
    TAbVCIndGeometry geo_;
};

} // namespace kuvar
