// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's icon, a blue eight-spoked star on a transparent
// ground, at the sizes the windows and the desktop ask for, and writes
// icons/zorva-<size>.png into the resources folder given as the argument.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr int spokes = 8;

QPointF polar(QPointF centre, double radius, double angle) {
    return centre + QPointF(radius * std::sin(angle), -radius * std::cos(angle));
}

QImage drawStar(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(size / 2.0, size / 2.0);
    // Leave room for the outline so the tips are not clipped.
    const double outline = size <= 16 ? 0.7 : size / 40.0;
    const double outer = size / 2.0 - outline;
    const double inner = outer * (size <= 16 ? 0.56 : 0.42);
    const double step = 2.0 * std::numbers::pi / spokes;

    QPolygonF star;
    for (int i = 0; i < spokes; ++i) {
        star << polar(centre, outer, i * step);
        star << polar(centre, inner, i * step + step / 2.0);
    }

    const QColor light(0x7c, 0xbc, 0xf8);
    const QColor dark(0x10, 0x44, 0xa0);
    const QColor edge(0x0b, 0x2f, 0x75);
    const double lightFrom = -std::numbers::pi / 4.0; // upper left

    // Each spoke is two facets shaded by how they face the light, so the
    // star reads as a ridged, raised shape.
    const auto shade = [&](double angle, double ridge) {
        const double t = std::clamp(0.5 + 0.35 * std::cos(angle - lightFrom) + ridge, 0.0, 1.0);
        return QColor::fromRgbF(
            static_cast<float>(dark.redF() + t * (light.redF() - dark.redF())),
            static_cast<float>(dark.greenF() + t * (light.greenF() - dark.greenF())),
            static_cast<float>(dark.blueF() + t * (light.blueF() - dark.blueF())));
    };
    p.setPen(Qt::NoPen);
    for (int i = 0; i < spokes; ++i) {
        const double a = i * step;
        const QPointF tip = polar(centre, outer, a);
        const QPointF before = polar(centre, inner, a - step / 2.0);
        const QPointF after = polar(centre, inner, a + step / 2.0);
        p.setBrush(shade(a - step / 4.0, 0.15));
        p.drawPolygon(QPolygonF{centre, before, tip});
        p.setBrush(shade(a + step / 4.0, -0.15));
        p.drawPolygon(QPolygonF{centre, tip, after});
    }

    QPen pen(edge, outline);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(star);

    // A light hub where the spokes meet.
    if (size >= 32) {
        p.setPen(QPen(edge, outline * 0.8));
        p.setBrush(QColor(0xe8, 0xf3, 0xff));
        p.drawEllipse(centre, size / 14.0, size / 14.0);
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char* argv[]) {
    // The tool only draws into images; it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QTextStream err(stderr);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        err << "usage: drawicon <resources folder>\n";
        return 2;
    }
    const QDir out(args.at(1));
    if (!out.mkpath(QStringLiteral("icons"))) {
        err << "cannot create " << out.filePath(QStringLiteral("icons")) << '\n';
        return 1;
    }
    for (const int size : std::array{16, 32, 48, 256}) {
        const QString path = out.filePath(QStringLiteral("icons/zorva-%1.png").arg(size));
        if (!drawStar(size).save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
