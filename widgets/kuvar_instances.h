// SPDX-License-Identifier: GPL-3.0-or-later
// The window's instrument instances: sizes, texts, fonts and pictures, for the window to apply.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

namespace kuvar {

class TAbVCInd;
class TiAnalogDisplay;
class TAbColBitBtn;

// Faces of the window's fonts on this desktop: Korean texts need NanumGothic.
QString KoreanFontFamily(); // stands in for "맑은 고딕"
QString DialogFontFamily(); // stands in for "MS Sans Serif"
QString DigitsFontFamily(); // stands in for "BankGothic Md BT"

// Makes the pictures of resources/icons/icons.qrc available (compiled into kuvar_widgets).
void InitWidgetIcons();

// abGYCircle: 361 x 361 at (-8, 202) on the KUVAR-GY page; sets size and fonts.
void SetupGyCircle(TAbVCInd& w);

// ssACX, ssACY, ssACZ (129 x 30) and ssGYRoll, ssGYPitch, ssGYYaw (129 x 25): sets the
// objectName, the size, the lime bold digits and the error font. Unknown names are refused.
bool SetupAnalogDisplay(TiAnalogDisplay& d, const QString& name);

struct TColBitBtnInstance {
    const char* name;
    QRect geometry;     // relative to its parent (top panel or page)
    const char* textOn; // empty for the picture buttons
    const char* textOff;
    const char* glyph; // resource path, or empty
    const char* hint;  // tool tip, or empty
    bool korean;       // face "맑은 고딕" instead of "MS Sans Serif"
    bool visible;
};

// Every colour button of the window, top panel first, then the KUVAR-AC and KUVAR-GY pages.
const std::vector<TColBitBtnInstance>& ColBitBtnInstances();

// Applies the instance settings of `name` (objectName, geometry, texts, font, picture, hint,
// visibility and the common look: 1-pixel bevel, plain text). Unknown names are refused.
bool SetupColBitBtn(TAbColBitBtn& b, const QString& name);

} // namespace kuvar
