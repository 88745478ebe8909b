// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the colour buttons' pictures into PNG files: make_icons <output folder>.
// One style for all: saturated fills, a dark 1-pixel outline, a light top-left highlight,
// so that they read on the grey button face and on the dark top panel alike.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QColor kOutline(0x1E, 0x22, 0x28);
const QColor kBlue(0x2F, 0x7F, 0xE0);
const QColor kGreen(0x22, 0xB0, 0x3C);
const QColor kRed(0xE0, 0x32, 0x2E);
const QColor kOrange(0xF2, 0x99, 0x1C);
const QColor kSteel(0xB8, 0xC4, 0xD0);
const QColor kWhite(0xFA, 0xFA, 0xFA);

QBrush Shaded(const QColor& c, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, c.lighter(135));
    g.setColorAt(1, c.darker(115));
    return QBrush(g);
}

QPen Outline(double w = 1.2) {
    return QPen(kOutline, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

bool Save(const QString& dir, const char* name, int w, int h,
          const std::function<void(QPainter&, double, double)>& draw) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, w, h);
    }
    // The button keys out the bottom-left pixel's colour; keep that pixel fully clear.
    img.setPixel(0, h - 1, 0);
    const QString path = dir + QLatin1Char('/') + QLatin1String(name);
    if (!img.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

void Connect(QPainter& p, double w, double h) {
    // A D-sub plug with its cable.
    QPainterPath shell;
    shell.moveTo(w * 0.12, h * 0.18);
    shell.lineTo(w * 0.88, h * 0.18);
    shell.lineTo(w * 0.78, h * 0.58);
    shell.lineTo(w * 0.22, h * 0.58);
    shell.closeSubpath();
    p.setPen(Outline());
    p.setBrush(Shaded(kBlue, shell.boundingRect()));
    p.drawPath(shell);
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(w * (0.27 + i * 0.115), h * 0.31), 1.5, 1.5);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(w * (0.33 + i * 0.115), h * 0.45), 1.5, 1.5);
    p.setPen(QPen(kOutline, 4.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.5, h * 0.6), QPointF(w * 0.5, h * 0.9));
    p.setPen(QPen(kSteel, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.5, h * 0.6), QPointF(w * 0.5, h * 0.9));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double head) {
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    p.setPen(QPen(kOutline, 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    QPolygonF tip;
    tip << to + QPointF(std::cos(a) * head, std::sin(a) * head)
        << to + QPointF(std::cos(a + 2.3) * head, std::sin(a + 2.3) * head)
        << to + QPointF(std::cos(a - 2.3) * head, std::sin(a - 2.3) * head);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(c);
    p.drawPolygon(tip);
}

void Accelerometer(QPainter& p, double w, double h) {
    // Three axes from a sensor chip.
    const QPointF o(w * 0.36, h * 0.64);
    QRectF chip(o.x() - 5, o.y() - 5, 10, 10);
    Arrow(p, o, QPointF(w * 0.86, h * 0.64), kRed, 4.5);
    Arrow(p, o, QPointF(w * 0.36, h * 0.12), kGreen, 4.5);
    Arrow(p, o, QPointF(w * 0.10, h * 0.88), kBlue, 4.5);
    p.setPen(Outline());
    p.setBrush(Shaded(QColor(0x50, 0x56, 0x60), chip));
    p.drawRoundedRect(chip, 1.5, 1.5);
}

void Gyro(QPainter& p, double w, double h) {
    // A rotor inside two gimbal rings.
    const QPointF c(w / 2, h / 2);
    p.setBrush(Qt::NoBrush);
    for (const QColor& col : {kOutline, kOrange}) {
        p.setPen(QPen(col, col == kOutline ? 4.0 : 2.2));
        p.drawEllipse(c, w * 0.42, h * 0.40);
        p.drawEllipse(c, w * 0.16, h * 0.40);
    }
    QRectF rotor(c.x() - w * 0.36, c.y() - 3.5, w * 0.72, 7);
    p.setPen(Outline());
    p.setBrush(Shaded(kSteel, rotor));
    p.drawEllipse(rotor);
    p.setBrush(kRed);
    p.drawEllipse(c, 2.6, 2.6);
}

void Inclinometer(QPainter& p, double w, double h) {
    // A tilted level over its base.
    p.setPen(Outline());
    p.setBrush(Shaded(kSteel, QRectF(2, h * 0.74, w - 4, 5)));
    p.drawRoundedRect(QRectF(2, h * 0.74, w - 4, 5), 1, 1);
    p.save();
    p.translate(w / 2, h * 0.5);
    p.rotate(-20);
    QRectF body(-w * 0.42, -4.5, w * 0.84, 9);
    p.setBrush(Shaded(kOrange, body));
    p.drawRoundedRect(body, 2, 2);
    p.setBrush(QColor(0xB8, 0xF0, 0x70));
    p.drawRoundedRect(QRectF(-4.5, -2.5, 9, 5), 2, 2);
    p.restore();
}

void Close(QPainter& p, double w, double h) {
    const QRectF r(2, 2, w - 4, h - 4);
    p.setPen(Outline(1.4));
    p.setBrush(Shaded(kRed, r));
    p.drawEllipse(r);
    p.setPen(QPen(kWhite, 3.2, Qt::SolidLine, Qt::RoundCap));
    const double m = w * 0.32;
    p.drawLine(QPointF(m, m), QPointF(w - m, h - m));
    p.drawLine(QPointF(w - m, m), QPointF(m, h - m));
}

void Start(QPainter& p, double w, double h) {
    QPolygonF tri;
    tri << QPointF(w * 0.22, h * 0.12) << QPointF(w * 0.88, h * 0.5) << QPointF(w * 0.22, h * 0.88);
    p.setPen(Outline());
    p.setBrush(Shaded(kGreen, tri.boundingRect()));
    p.drawPolygon(tri);
}

void Stop(QPainter& p, double w, double h) {
    const QRectF r(w * 0.16, h * 0.16, w * 0.68, h * 0.68);
    p.setPen(Outline());
    p.setBrush(Shaded(kRed, r));
    p.drawRoundedRect(r, 1.5, 1.5);
}

void Restore(QPainter& p, double w, double h) {
    // An arrow turning back to the start: factory settings.
    const QRectF arc(w * 0.30, h * 0.10, w * 0.52, h * 0.80);
    for (const QColor& col : {kOutline, kBlue}) {
        p.setPen(QPen(col, col == kOutline ? 4.2 : 2.4, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(arc, 90 * 16, -270 * 16);
    }
    QPolygonF tip;
    const QPointF at(arc.center().x(), arc.top());
    tip << at + QPointF(-7, 0) << at + QPointF(0, -4.5) << at + QPointF(0, 4.5);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(kBlue);
    p.drawPolygon(tip);
}

void ChartSave(QPainter& p, double w, double h) {
    // A floppy whose label carries a chart line.
    QPainterPath disk;
    disk.moveTo(1.5, 1.5);
    disk.lineTo(w - 4.5, 1.5);
    disk.lineTo(w - 1.5, 4.5);
    disk.lineTo(w - 1.5, h - 1.5);
    disk.lineTo(1.5, h - 1.5);
    disk.closeSubpath();
    p.setPen(Outline());
    p.setBrush(Shaded(kBlue, disk.boundingRect()));
    p.drawPath(disk);
    p.setBrush(kSteel);
    p.drawRect(QRectF(w * 0.3, 1.5, w * 0.4, h * 0.28));
    const QRectF label(3.5, h * 0.48, w - 7, h * 0.44);
    p.setBrush(kWhite);
    p.drawRect(label);
    p.setPen(QPen(kRed, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF line;
    line << QPointF(label.left() + 1.5, label.bottom() - 2)
         << QPointF(label.left() + 4.5, label.top() + 3)
         << QPointF(label.center().x(), label.bottom() - 3)
         << QPointF(label.right() - 1.5, label.top() + 1.5);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
}

void SaveSetting(QPainter& p, double w, double h) {
    ChartSave(p, w, h);
    const QRectF label(3.5, h * 0.48, w - 7, h * 0.44);
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    p.drawRect(label.adjusted(0.7, 0.7, -0.7, -0.7));
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(0x70, 0x78, 0x84));
    const QPointF c = label.center();
    p.drawEllipse(c, 3.2, 3.2);
    p.setBrush(kWhite);
    p.drawEllipse(c, 1.1, 1.1);
}

void YawReset(QPainter& p, double w, double h) {
    // A compass with its needle back on north.
    const QRectF r(1.5, 1.5, w - 3, h - 3);
    p.setPen(Outline());
    p.setBrush(Shaded(QColor(0x1C, 0x2A, 0x6E), r));
    p.drawEllipse(r);
    const QPointF c = r.center();
    QPolygonF north, south;
    north << c + QPointF(-2.6, 0) << c + QPointF(0, -r.height() * 0.40) << c + QPointF(2.6, 0);
    south << c + QPointF(-2.6, 0) << c + QPointF(0, r.height() * 0.40) << c + QPointF(2.6, 0);
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(kRed);
    p.drawPolygon(north);
    p.setBrush(kWhite);
    p.drawPolygon(south);
}

// The three faces of the record button side by side: idle, disabled, recording.
void Record(QPainter& p, double w, double h) {
    const double size = w / 3;
    const QColor faces[3] = {kRed.darker(135), QColor(0x90, 0x90, 0x90), kRed};
    for (int i = 0; i < 3; ++i) {
        const QPointF c(size * i + size / 2, h / 2);
        const QRectF rim(c.x() - size * 0.40, c.y() - size * 0.40, size * 0.80, size * 0.80);
        p.setPen(Outline());
        p.setBrush(Shaded(QColor(0x3A, 0x3E, 0x44), rim));
        p.drawEllipse(rim);
        if (i == 2) {
            // Lit while recording: a white ring around a bright dot.
            p.setPen(QPen(kWhite, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, size * 0.31, size * 0.31);
        }
        const QRectF dot(c.x() - size * 0.24, c.y() - size * 0.24, size * 0.48, size * 0.48);
        p.setPen(QPen(kOutline, 0.8));
        p.setBrush(Shaded(faces[i], dot));
        p.drawEllipse(dot);
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    bool ok = true;
    ok &= Save(dir, "connect.png", 32, 32, Connect);
    ok &= Save(dir, "close.png", 32, 32, Close);
    ok &= Save(dir, "accelerometer.png", 28, 32, Accelerometer);
    ok &= Save(dir, "gyro.png", 28, 32, Gyro);
    ok &= Save(dir, "inclinometer.png", 28, 32, Inclinometer);
    ok &= Save(dir, "start.png", 16, 16, Start);
    ok &= Save(dir, "stop.png", 16, 16, Stop);
    ok &= Save(dir, "restore.png", 23, 14, Restore);
    ok &= Save(dir, "chart_save.png", 18, 18, ChartSave);
    ok &= Save(dir, "save_setting.png", 18, 18, SaveSetting);
    ok &= Save(dir, "yaw_reset.png", 18, 18, YawReset);
    ok &= Save(dir, "record.png", 84, 28, Record);
    return ok ? 0 : 1;
}
