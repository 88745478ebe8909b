// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's menu icon at the freedesktop sizes: make_app_icon <output folder>.
// An attitude indicator in a steel bezel (the gyro page) with the three axis arrows of the
// accelerometer page in a corner badge, on the same palette as the button pictures.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

const QColor kOutline(0x1E, 0x22, 0x28);
const QColor kSky(0x2F, 0x7F, 0xE0);
const QColor kEarth(0x9A, 0x5B, 0x2A);
const QColor kOrange(0xF2, 0x99, 0x1C);
const QColor kSteel(0xB8, 0xC4, 0xD0);
const QColor kWhite(0xFA, 0xFA, 0xFA);
const QColor kRed(0xE0, 0x32, 0x2E);
const QColor kGreen(0x22, 0xB0, 0x3C);

constexpr double kRoll = -18.0; // degrees: a banked horizon reads as "attitude" at a glance
constexpr double kPitch = 0.10; // share of the dial's radius

void Dial(QPainter& p, double s) {
    const QPointF c(s * 0.5, s * 0.5);
    const double rOuter = s * 0.47;
    const double rInner = s * 0.39;

    QRadialGradient bezel(c - QPointF(s * 0.12, s * 0.12), rOuter * 1.4);
    bezel.setColorAt(0, kSteel.lighter(125));
    bezel.setColorAt(1, kSteel.darker(160));
    p.setPen(QPen(kOutline, std::max(1.0, s / 48.0)));
    p.setBrush(bezel);
    p.drawEllipse(c, rOuter, rOuter);

    QPainterPath face;
    face.addEllipse(c, rInner, rInner);
    p.save();
    p.setClipPath(face);
    p.translate(c);
    p.rotate(kRoll);
    p.translate(0, rInner * kPitch);
    const double big = rInner * 2;
    QLinearGradient sky(0, -big, 0, 0);
    sky.setColorAt(0, kSky.darker(130));
    sky.setColorAt(1, kSky.lighter(140));
    p.fillRect(QRectF(-big, -big, 2 * big, big), sky);
    QLinearGradient earth(0, 0, 0, big);
    earth.setColorAt(0, kEarth.lighter(130));
    earth.setColorAt(1, kEarth.darker(150));
    p.fillRect(QRectF(-big, 0, 2 * big, big), earth);
    p.setPen(QPen(kWhite, std::max(1.0, s / 40.0)));
    p.drawLine(QPointF(-big, 0), QPointF(big, 0));
    if (s >= 32) { // the pitch ladder is noise at the smallest sizes
        p.setPen(QPen(kWhite, std::max(1.0, s / 96.0), Qt::SolidLine, Qt::RoundCap));
        for (int step : {-2, -1, 1, 2}) {
            const double y = step * rInner * 0.22;
            const double half = rInner * (std::abs(step) == 1 ? 0.22 : 0.34);
            p.drawLine(QPointF(-half, y), QPointF(half, y));
        }
    }
    p.restore();

    // The fixed aircraft symbol: two wings and a centre dot.
    const double w = std::max(1.5, s / 22.0);
    p.setPen(QPen(kOutline, w + std::max(1.0, s / 64.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-rInner * 0.62, 0), c + QPointF(-rInner * 0.2, 0));
    p.drawLine(c + QPointF(rInner * 0.2, 0), c + QPointF(rInner * 0.62, 0));
    p.setPen(QPen(kOrange, w, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-rInner * 0.62, 0), c + QPointF(-rInner * 0.2, 0));
    p.drawLine(c + QPointF(rInner * 0.2, 0), c + QPointF(rInner * 0.62, 0));
    p.setPen(QPen(kOutline, std::max(1.0, s / 96.0)));
    p.setBrush(kOrange);
    p.drawEllipse(c, w * 0.9, w * 0.9);

    // Glass highlight over the upper half of the face.
    QPainterPath glass;
    glass.addEllipse(c, rInner, rInner);
    QLinearGradient shine(c - QPointF(0, rInner), c);
    shine.setColorAt(0, QColor(255, 255, 255, 90));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawPath(glass);
}

void AxisArrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double s) {
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double head = s * 0.07;
    const double width = std::max(1.2, s / 45.0);
    QPainterPath tip;
    tip.moveTo(to + QPointF(std::cos(a) * head * 0.6, std::sin(a) * head * 0.6));
    tip.lineTo(to + QPointF(std::cos(a + 2.5) * head, std::sin(a + 2.5) * head));
    tip.lineTo(to + QPointF(std::cos(a - 2.5) * head, std::sin(a - 2.5) * head));
    tip.closeSubpath();
    p.setPen(QPen(kOutline, width + std::max(1.0, s / 64.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(QPen(kOutline, std::max(0.8, s / 128.0)));
    p.setBrush(colour);
    p.drawPath(tip);
}

// The accelerometer's three axes in a white badge at the lower right.
void Badge(QPainter& p, double s) {
    const QPointF c(s * 0.78, s * 0.78);
    const double r = s * 0.2;
    p.setPen(QPen(kOutline, std::max(1.0, s / 64.0)));
    p.setBrush(kWhite);
    p.drawEllipse(c, r, r);
    const QPointF o = c + QPointF(-r * 0.3, r * 0.3);
    AxisArrow(p, o, o + QPointF(r * 0.85, 0), kRed, s);
    AxisArrow(p, o, o + QPointF(0, -r * 0.85), kGreen, s);
    AxisArrow(p, o, o + QPointF(-r * 0.35, r * 0.35), kSky, s);
}

bool Save(const QString& dir, int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        Dial(p, size);
        if (size >= 32) // at 16 pixels the badge would hide the horizon
            Badge(p, size);
    }
    const QString path = QStringLiteral("%1/kuvar-%2.png").arg(dir).arg(size);
    if (!img.convertToFormat(QImage::Format_ARGB32).save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(dir);
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        if (!Save(dir, size))
            return 1;
    return 0;
}
