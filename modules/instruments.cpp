// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/instruments.h"

#include <QImage>
#include <QRect>

#include <stdexcept>
#include <string>

// Q_INIT_RESOURCE declares the resource's function in the namespace it is used in.
static void InitIconsResource() {
    Q_INIT_RESOURCE(icons);
}

namespace kuvar::modules {

namespace {

// Faces of the window's fonts on this desktop.
const QString kKoreanFace = QStringLiteral("NanumGothic"); // stands in for "맑은 고딕"
const QString kDialogFace = QStringLiteral("DejaVu Sans"); // stands in for "MS Sans Serif"
const QString kDigitsFace = QStringLiteral("DejaVu Sans"); // stands in for "BankGothic Md BT"

void InitIcons() {
    static const bool done = (InitIconsResource(), true);
    (void)done;
}

struct TColourButtonEntry {
    const char* name;
    QRect geometry;     // relative to its parent (top panel or page)
    const char* textOn; // empty for the picture buttons
    const char* textOff;
    const char* glyph; // resource path, or empty
    const char* hint;  // tool tip, or empty
    bool korean;       // face "맑은 고딕" instead of "MS Sans Serif"
    bool visible;
    int glyphs = 1;       // images in the glyph strip: normal, disabled, on
    bool latched = false; // shows the on face while checked by the program, not while pressed
};

// clang-format off
const TColourButtonEntry kColourButtons[] = {
    // Top panel SCPanel1.
    {"btConnect",      {145, 7, 65, 41},   "", "", ":/icons/connect.png",      "ComPort Open or Close", false, true},
    {"btAC",           {258, 7, 65, 41},   "", "", ":/icons/accelerometer.png", "Download of data list", false, true},
    {"btGY",           {344, 7, 65, 41},   "", "", ":/icons/gyro.png",         "All Data Download",     false, true},
    {"AbColBitBtn1",   {431, 7, 65, 41},   "", "", ":/icons/inclinometer.png", "Download of data list", false, false},
    {"AbColBitBtn2",   {517, 7, 65, 41},   "", "", ":/icons/inclinometer.png", "Download of data list", false, false},
    {"btRecord",       {603, 7, 65, 41},   "", "", ":/icons/record.png",       "Record every reply to a file (click again to stop)", false, true, 3, true},
    {"btClose",        {1039, 7, 65, 41},  "", "", ":/icons/close.png",        "",                      false, true},
    // KUVAR-AC page.
    {"AbColBitBtn3",   {744, 0, 81, 39},   "SaveSetting", "SaveSetting", "",                      "", false, true},
    {"btACRESTORE",    {744, 40, 81, 22},  "Restore",     "Restore",     ":/icons/restore.png",    "", false, true},
    {"btACStart",      {1, 66, 81, 34},    "Start",       "Start",       ":/icons/start.png",      "", false, true},
    {"btACStop",       {97, 66, 81, 34},   "Stop",        "Stop",        ":/icons/stop.png",       "", false, true},
    {"btACSAVE",       {185, 66, 104, 23}, "Chart SAVE",  "Chart SAVE",  ":/icons/chart_save.png", "Download of data list", false, true},
    // KUVAR-GY page.
    {"AbColBitBtn4",   {744, 3, 81, 54},   "SaveSetting", "SaveSetting", "",                      "", false, true},
    {"btGYRESET",      {744, 61, 82, 31},  "Reset",       "Reset",       ":/icons/restore.png",    "", false, true},
    {"btGYSTART",      {9, 143, 96, 34},   "Start",       "Start",       ":/icons/start.png",      "", true,  true},
    {"btGYStop",       {121, 143, 81, 34}, "Stop",        "Stop",        ":/icons/stop.png",       "", false, true},
    {"btGYSAVE",       {216, 143, 106, 34}, "Chart  SAVE", "Chart SAVE", ":/icons/chart_save.png", "Download of data list", false, true},
    {"btGYAngleReset", {9, 183, 96, 34},   "Yaw Reset",   "Yaw Reset",   ":/icons/yaw_reset.png",  "", false, true},
};
// clang-format on

const TColourButtonEntry* FindColourButton(const char* name) {
    for (const TColourButtonEntry& entry : kColourButtons)
        if (std::string(entry.name) == name)
            return &entry;
    return nullptr;
}

struct TDisplayEntry {
    const char* name;
    QRect geometry; // on its page
    int digitPixels;
};

const TDisplayEntry kDisplays[] = {
    {"ssACX", {408, 77, 129, 30}, 19},      {"ssACY", {552, 77, 129, 30}, 19},
    {"ssACZ", {696, 77, 129, 30}, 19},      {"ssGYRoll", {392, 125, 129, 25}, 16},
    {"ssGYPitch", {536, 125, 129, 25}, 16}, {"ssGYYaw", {680, 125, 129, 25}, 16},
};

template <class Widget>
Widget* Made(QWidget* parent, const char* name, bool (*setup)(Widget&, const char*)) {
    auto* widget = new Widget(parent);
    if (!setup(*widget, name)) {
        delete widget;
        throw std::logic_error(std::string("No instance settings for ") + name);
    }
    return widget;
}

} // namespace

std::vector<const char*> ColourButtonNames() {
    std::vector<const char*> names;
    for (const TColourButtonEntry& entry : kColourButtons)
        names.push_back(entry.name);
    return names;
}

bool SetupColourButton(TAbColBitBtn& b, const char* name) {
    const TColourButtonEntry* in = FindColourButton(name);
    if (!in)
        return false;
    InitIcons();
    b.setObjectName(QString::fromLatin1(name));
    b.setGeometry(in->geometry);
    b.SetMode(in->latched ? mIndicator : mButton);
    b.SetText3D(false);
    b.ButtonBevel.SetWidth(1);
    b.SetTextOn(QString::fromUtf8(in->textOn));
    b.SetTextOff(QString::fromUtf8(in->textOff));
    QFont f(in->korean ? kKoreanFace : kDialogFace);
    f.setBold(true);
    f.setPixelSize(11);
    b.setFont(f);
    if (*in->glyph)
        b.SetGlyph(QImage(QString::fromLatin1(in->glyph)));
    b.SetNumGlyph(in->glyphs);
    if (*in->hint)
        b.setToolTip(QString::fromUtf8(in->hint));
    // Picture-only buttons still need a name for assistive technology: the hint, or "Close".
    b.setAccessibleName(*in->textOff ? QString::fromUtf8(in->textOff)
                        : *in->hint  ? QString::fromUtf8(in->hint)
                                     : QStringLiteral("Close"));
    b.setVisible(in->visible);
    return true;
}

TAbColBitBtn* ColourButton(QWidget* parent, const char* name) {
    return Made<TAbColBitBtn>(parent, name, SetupColourButton);
}

bool SetupDisplay(TiAnalogDisplay& d, const char* name) {
    const TDisplayEntry* in = nullptr;
    for (const TDisplayEntry& entry : kDisplays)
        if (std::string(entry.name) == name)
            in = &entry;
    if (!in)
        return false;
    d.setObjectName(QString::fromLatin1(name));
    d.setAccessibleName(QString::fromLatin1(name));
    d.setGeometry(in->geometry);
    QFont f(kDigitsFace);
    f.setBold(true);
    f.setPixelSize(in->digitPixels);
    // Numbers draw the same without the shaping engine, and the displays draw 180 a second.
    f.setStyleStrategy(QFont::PreferNoShaping);
    d.SetFont(f);
    d.SetFontColor(QColor(0x00, 0xFF, 0x00));
    QFont e(kDialogFace);
    e.setBold(true);
    e.setPixelSize(11);
    d.SetErrorFont(e);
    d.SetErrorFontColor(Qt::red);
    d.SetErrorText(QStringLiteral("Error"));
    d.SetErrorBackGroundColor(Qt::black);
    return true;
}

TiAnalogDisplay* Display(QWidget* parent, const char* name) {
    return Made<TiAnalogDisplay>(parent, name, SetupDisplay);
}

void SetupIndicator(TAbVCInd& w) {
    w.setObjectName(QStringLiteral("abGYCircle"));
    w.setAccessibleName(QStringLiteral("Attitude indicator"));
    w.BeginUpdate();
    w.setGeometry(-8, 202, 361, 361);
    w.CourseScale.SetFont({AbFont(24, true), Qt::white});
    w.RollScale.SetFont({AbFont(24, true), Qt::white});
    w.PitchScale.SetFont({AbFont(11, true), Qt::white});
    QFont caption(kDialogFace);
    caption.setPixelSize(11);
    for (TAbValInd* ind : {&w.IndCourse, &w.IndDeviation, &w.IndPitch, &w.IndRoll}) {
        ind->SetFont({AbFont(13, true), QColor(0x00, 0xFF, 0x00)});
        ind->Caption.SetFont({caption, SysColor::WindowText});
    }
    w.EndUpdate();
}

TAbVCInd* Indicator(QWidget* parent) {
    auto* indicator = new TAbVCInd(parent);
    SetupIndicator(*indicator);
    return indicator;
}

charts::TStripChart* AcChart(QWidget* page) {
    return new charts::TStripChart(charts::AcStripChartConfig(), page);
}

charts::TStripChart* GyChart(QWidget* page) {
    return new charts::TStripChart(charts::GyStripChartConfig(), page);
}

} // namespace kuvar::modules
