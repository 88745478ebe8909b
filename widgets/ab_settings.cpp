// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_settings.h"

namespace kuvar {

QFont AbFont(int pixelSize, bool bold, const QString& family) {
    QFont f(family);
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

TAbCustomScale::TAbCustomScale() {
    Own(StepLines);
    Own(SubStepLines);
    StepLines.SetPen(QPen(Qt::white, 2));
    SubStepLines.SetPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1));
}

} // namespace kuvar
