// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/instruments.h"

#include "modules/page_builder.h"

namespace instruments {

TColourButton* ColourButton(QWidget* parent, const char* name, int x, int y, int w, int h,
                            const QString& caption) {
    return page::Button(parent, name, x, y, w, h, caption);
}

TDisplay* Display(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* display = new TDisplay(parent);
    display->setObjectName(QString::fromLatin1(name));
    display->setAccessibleName(QString::fromLatin1(name));
    display->setGeometry(x, y, w, h);
    display->setFrameShape(QFrame::Panel);
    display->setFrameShadow(QFrame::Sunken);
    return display;
}

static QFrame* Frame(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(x, y, w, h);
    frame->setFrameShape(QFrame::Box);
    return frame;
}

TIndicator* Indicator(QWidget* parent, const char* name, int x, int y, int w, int h) {
    return Frame(parent, name, x, y, w, h);
}

TChartPanel* Chart(QWidget* parent, const char* name, int x, int y, int w, int h) {
    return Frame(parent, name, x, y, w, h);
}

} // namespace instruments
