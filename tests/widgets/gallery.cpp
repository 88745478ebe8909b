// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the widgets into PNG files for looking at them, and times an angle frame.
//   kuvar_widgets_gallery <folder>
#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_vc_ind.h"
#include "modules/instruments.h"
#include "widgets/ti_analog_display.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <cstdio>
#include <ctime>

using namespace kuvar;

namespace {

QString gDir;

void Save(QWidget& w, const char* name) {
    const QString path = gDir + QLatin1Char('/') + QLatin1String(name);
    w.grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

void Indicators() {
    struct Pose {
        float pitch, roll, course;
    } poses[] = {{0, 0, 0}, {5, 0, 90}, {-4, 30, 350}, {3, -45, 200}, {190, 10, -10}, {0, 90, 45}};
    QWidget sheet;
    sheet.resize(3 * 371 + 10, 2 * 371 + 10);
    sheet.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    sheet.setPalette(pal);
    int i = 0;
    for (const Pose& p : poses) {
        auto* w = new TAbVCInd(&sheet);
        modules::SetupIndicator(*w);
        w->move(10 + (i % 3) * 371, 10 + (i / 3) * 371);
        w->SetPitch(p.pitch);
        w->SetRoll(p.roll);
        w->SetCourse(p.course);
        ++i;
    }
    Save(sheet, "indicator_angles.png");
    QWidget page;
    page.resize(361, 361);
    page.setAutoFillBackground(true);
    page.setPalette(pal);
    auto* one = new TAbVCInd(&page);
    modules::SetupIndicator(*one);
    one->SetPitch(3);
    one->SetRoll(12);
    one->SetCourse(35);
    Save(page, "indicator.png");
}

void Press(TAbColBitBtn& b) {
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
}

void Buttons() {
    // The top panel: dark grey, picture buttons, released and held down.
    QWidget panel;
    panel.resize(1136, 65 * 2);
    panel.setAutoFillBackground(true);
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x69, 0x69, 0x69));
    panel.setPalette(dark);
    for (int row = 0; row < 2; ++row)
        for (const char* name : {"btConnect", "btAC", "btGY", "btClose"}) {
            auto* b = new TAbColBitBtn(&panel);
            modules::SetupColourButton(*b, name);
            b->move(b->x(), b->y() + row * 65);
            if (row == 1)
                Press(*b);
        }
    Save(panel, "top_panel.png");

    // The page buttons on the button face, released (left column) and held (right).
    QWidget page;
    page.resize(2 * 130 + 20, 17 * 60);
    page.setAutoFillBackground(true);
    QPalette face;
    face.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    page.setPalette(face);
    int y = 10;
    for (const char* name :
         {"AbColBitBtn3", "btACRESTORE", "btACStart", "btACStop", "btACSAVE", "AbColBitBtn4",
          "btGYRESET", "btGYSTART", "btGYStop", "btGYSAVE", "btGYAngleReset"}) {
        int h = 0;
        for (int col = 0; col < 2; ++col) {
            auto* b = new TAbColBitBtn(&page);
            modules::SetupColourButton(*b, name);
            b->move(10 + col * 130, y);
            h = b->height();
            if (col == 1)
                Press(*b);
        }
        y += h + 8;
    }
    // Korean text in NanumGothic.
    auto* k = new TAbColBitBtn(&page);
    modules::SetupColourButton(*k, "btGYSTART");
    k->SetTextOn(QStringLiteral("각도값"));
    k->SetTextOff(QStringLiteral("각속도값"));
    k->move(10, y);
    page.resize(page.width(), y + 50);
    Save(page, "page_buttons.png");
}

void Displays() {
    QWidget page;
    page.resize(3 * 144 + 10, 2 * 40 + 50);
    page.setAutoFillBackground(true);
    QPalette face;
    face.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    page.setPalette(face);
    const char* names[] = {"ssACX", "ssACY", "ssACZ", "ssGYRoll", "ssGYPitch", "ssGYYaw"};
    const double values[] = {-12.34, 998.25, 1000.0, -0.04, 37.55, 359.9};
    for (int i = 0; i < 6; ++i) {
        auto* d = new TiAnalogDisplay(&page);
        modules::SetupDisplay(*d, names[i]);
        d->move(10 + (i % 3) * 144, 10 + (i / 3) * 40);
        d->SetValue(values[i]);
    }
    auto* e = new TiAnalogDisplay(&page);
    modules::SetupDisplay(*e, "ssACX");
    e->move(10, 95);
    e->SetErrorActive(true);
    auto* u = new TiAnalogDisplay(&page);
    modules::SetupDisplay(*u, "ssACY");
    u->move(154, 95);
    u->SetUnitsText(" mg");
    u->SetValue(12.34);
    Save(page, "displays.png");
}

double CpuMs() {
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

void TimeAngleFrames() {
    TAbVCInd w;
    modules::SetupIndicator(w);
    // The screen copy: the widget's paint into an image the size of the parent's surface.
    QImage screen(361, 361, QImage::Format_RGB32);
    w.render(&screen);
    const int frames = 2000;
    const double t0 = CpuMs();
    for (int i = 0; i < frames; ++i) {
        w.SetPitch(float(i % 40) * 0.25f - 5);
        w.SetRoll(float(i % 90) - 45);
        w.SetCourse(float(i % 360));
        w.render(&screen); // the paint that follows the frame's setters
    }
    const double each = (CpuMs() - t0) / frames;
    const double t1 = CpuMs();
    for (int i = 0; i < frames; ++i) {
        for (int j = 0; j < 100; ++j)
            w.SetPitch(float(j) * 0.1f + float(i % 10));
        w.render(&screen);
    }
    const double hundred = (CpuMs() - t1) / frames;
    std::printf("angle frame (3 setters + repaint): %.3f ms CPU\n", each);
    std::printf("100 pitch setters + repaint: %.3f ms CPU\n", hundred);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    QDir().mkpath(gDir);
    Indicators();
    Buttons();
    Displays();
    TimeAngleFrames();
    return 0;
}
