// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/kuvar_instances.h"

#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_vc_ind.h"
#include "widgets/ti_analog_display.h"

#include <QImage>

// Q_INIT_RESOURCE declares the resource's function in the namespace it is used in.
static void InitIconsResource() {
    Q_INIT_RESOURCE(icons);
}

namespace kuvar {

void InitWidgetIcons() {
    static bool done = false;
    if (!done) {
        InitIconsResource();
        done = true;
    }
}

QString KoreanFontFamily() {
    return QStringLiteral("NanumGothic");
}
QString DialogFontFamily() {
    return QStringLiteral("DejaVu Sans");
}
QString DigitsFontFamily() {
    return QStringLiteral("DejaVu Sans");
}

void SetupGyCircle(TAbVCInd& w) {
    w.setObjectName(QStringLiteral("abGYCircle"));
    w.setAccessibleName(QStringLiteral("Attitude indicator"));
    w.BeginUpdate();
    w.resize(361, 361);
    w.CourseScale.SetFont({AbFont(24, true), Qt::white});
    w.RollScale.SetFont({AbFont(24, true), Qt::white});
    w.PitchScale.SetFont({AbFont(11, true), Qt::white});
    QFont caption(DialogFontFamily());
    caption.setPixelSize(11);
    for (TAbValInd* ind : {&w.IndCourse, &w.IndDeviation, &w.IndPitch, &w.IndRoll}) {
        ind->SetFont({AbFont(13, true), QColor(0x00, 0xFF, 0x00)});
        ind->Caption.SetFont({caption, SysColor::WindowText});
    }
    w.EndUpdate();
}

bool SetupAnalogDisplay(TiAnalogDisplay& d, const QString& name) {
    static const QStringList ac = {"ssACX", "ssACY", "ssACZ"};
    static const QStringList gy = {"ssGYRoll", "ssGYPitch", "ssGYYaw"};
    const bool isAc = ac.contains(name);
    if (!isAc && !gy.contains(name))
        return false;
    d.setObjectName(name);
    d.setAccessibleName(name);
    d.resize(129, isAc ? 30 : 25);
    QFont f(DigitsFontFamily());
    f.setBold(true);
    f.setPixelSize(isAc ? 19 : 16);
    d.SetFont(f);
    d.SetFontColor(QColor(0x00, 0xFF, 0x00));
    QFont e(DialogFontFamily());
    e.setBold(true);
    e.setPixelSize(11);
    d.SetErrorFont(e);
    d.SetErrorFontColor(Qt::red);
    d.SetErrorText(QStringLiteral("Error"));
    d.SetErrorBackGroundColor(Qt::black);
    return true;
}

const std::vector<TColBitBtnInstance>& ColBitBtnInstances() {
    static const std::vector<TColBitBtnInstance> list = {
        // Top panel SCPanel1.
        {"btConnect",
         {145, 7, 65, 41},
         "",
         "",
         ":/icons/connect.png",
         "ComPort Open or Close",
         false,
         true},
        {"btAC",
         {258, 7, 65, 41},
         "",
         "",
         ":/icons/accelerometer.png",
         "Download of data list",
         false,
         true},
        {"btGY", {344, 7, 65, 41}, "", "", ":/icons/gyro.png", "All Data Download", false, true},
        {"AbColBitBtn1",
         {431, 7, 65, 41},
         "",
         "",
         ":/icons/inclinometer.png",
         "Download of data list",
         false,
         false},
        {"AbColBitBtn2",
         {517, 7, 65, 41},
         "",
         "",
         ":/icons/inclinometer.png",
         "Download of data list",
         false,
         false},
        {"btClose", {1039, 7, 65, 41}, "", "", ":/icons/close.png", "", false, true},
        // KUVAR-AC page.
        {"AbColBitBtn3", {744, 0, 81, 39}, "SaveSetting", "SaveSetting", "", "", false, true},
        {"btACRESTORE",
         {744, 40, 81, 22},
         "Restore",
         "Restore",
         ":/icons/restore.png",
         "",
         false,
         true},
        {"btACStart", {1, 66, 81, 34}, "Start", "Start", ":/icons/start.png", "", false, true},
        {"btACStop", {97, 66, 81, 34}, "Stop", "Stop", ":/icons/stop.png", "", false, true},
        {"btACSAVE",
         {185, 66, 104, 23},
         "Chart SAVE",
         "Chart SAVE",
         ":/icons/chart_save.png",
         "",
         false,
         true},
        // KUVAR-GY page.
        {"AbColBitBtn4", {744, 3, 81, 54}, "SaveSetting", "SaveSetting", "", "", false, true},
        {"btGYRESET", {744, 61, 82, 31}, "Reset", "Reset", ":/icons/restore.png", "", false, true},
        {"btGYSTART", {9, 143, 96, 34}, "Start", "Start", ":/icons/start.png", "", true, true},
        {"btGYStop", {121, 143, 81, 34}, "Stop", "Stop", ":/icons/stop.png", "", false, true},
        {"btGYSAVE",
         {216, 143, 106, 34},
         "Chart  SAVE",
         "Chart SAVE",
         ":/icons/chart_save.png",
         "",
         false,
         true},
        {"btGYAngleReset",
         {9, 183, 96, 34},
         "Yaw Reset",
         "Yaw Reset",
         ":/icons/yaw_reset.png",
         "",
         false,
         true},
    };
    return list;
}

bool SetupColBitBtn(TAbColBitBtn& b, const QString& name) {
    for (const TColBitBtnInstance& in : ColBitBtnInstances()) {
        if (name != QLatin1String(in.name))
            continue;
        InitWidgetIcons();
        b.setObjectName(name);
        b.setGeometry(in.geometry);
        b.SetMode(mButton);
        b.SetText3D(false);
        b.ButtonBevel.SetWidth(1);
        b.SetTextOn(QString::fromUtf8(in.textOn));
        b.SetTextOff(QString::fromUtf8(in.textOff));
        QFont f(in.korean ? KoreanFontFamily() : DialogFontFamily());
        f.setBold(true);
        f.setPixelSize(11);
        b.setFont(f);
        if (*in.glyph)
            b.SetGlyph(QImage(QString::fromLatin1(in.glyph)));
        if (*in.hint)
            b.setToolTip(QString::fromUtf8(in.hint));
        // Picture-only buttons still need a name for assistive technology.
        b.setAccessibleName(*in.hint      ? QString::fromUtf8(in.hint)
                            : *in.textOff ? QString::fromUtf8(in.textOff)
                                          : QStringLiteral("Close"));
        if (!in.visible)
            b.hide();
        return true;
    }
    return false;
}

} // namespace kuvar
