// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the principle diagram of the heat-output calculation and writes it
// as diagram.png into the resources folder given as the argument.
//
// The drawing is the calculation cell in cross-section: half the pipe
// spacing wide, bounded on the left by the symmetry line through the pipe
// centre, with the half pipe resting on the bottom at the origin and the
// three floor layers above it: the stippled filling layer (δ1), the plain
// levelling layer (δ2) and the hatched surface layer (δ3).
//
// The picture is kept as an 8-bit indexed image with a 16-entry colour
// table: eight greys from RGB 43,43,43 up to white, then eight spare
// entries that no pixel uses.

#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr int width = 300;
constexpr int height = 250;

// The cell, in pixels.
constexpr double left = 58;       // symmetry line through the pipe centre
constexpr double right = 218;     // half the pipe spacing to the right
constexpr double bottom = 212;    // underside of the filling layer, x axis
constexpr double fillTop = 127;   // filling layer δ1
constexpr double levelTop = 103;  // levelling layer δ2
constexpr double top = 81;        // surface layer δ3
constexpr double pipeRadius = 37; // d/2
constexpr double pipeWall = 3.5;  // drawn wall thickness
constexpr double dimS = 52;       // height of the s/2 dimension line
constexpr double dimDelta = 250;  // x of the δ dimension line
constexpr double axisEndX = 291;  // tip of the x arrow
constexpr double axisEndY = 22;   // tip of the y arrow

const QColor ink(43, 43, 43);
const QColor stippleInk(43, 43, 43);
const QColor hatchInk(60, 60, 60);
const QColor wallFill(215, 215, 215);

// A small deterministic generator, so that every run draws the same dots.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / double(1u << 24);
    }

private:
    std::uint32_t state_;
};

QFont labelFont(double pixels) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setItalic(true);
    font.setPixelSize(int(pixels));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// A filled arrowhead with its tip at `tip`, pointing along `direction`.
void arrowhead(QPainter& p, QPointF tip, QPointF direction, double length, double halfWidth) {
    const double norm = std::hypot(direction.x(), direction.y());
    const QPointF u = direction / norm;
    const QPointF n(-u.y(), u.x());
    const QPointF base = tip - u * length;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF{tip, base + n * halfWidth, base - n * halfWidth});
    p.restore();
}

void line(QPainter& p, double x1, double y1, double x2, double y2) {
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

// Text centred on a point; a Greek letter with its index is drawn as the
// letter with a smaller subscript digit.
void label(QPainter& p, QPointF centre, const QString& text, double pixels,
           const QString& index = {}) {
    const QFont main = labelFont(pixels);
    const QFont sub = labelFont(pixels * 0.68);
    const QFontMetricsF fm(main);
    const QFontMetricsF fs(sub);
    const double w =
        fm.horizontalAdvance(text) + (index.isEmpty() ? 0 : fs.horizontalAdvance(index));
    const double baseline = centre.y() + (fm.ascent() - fm.descent()) / 2.0;
    const double x = centre.x() - w / 2.0;
    p.save();
    p.setPen(ink);
    p.setFont(main);
    p.drawText(QPointF(x, baseline), text);
    if (!index.isEmpty()) {
        p.setFont(sub);
        p.drawText(QPointF(x + fm.horizontalAdvance(text), baseline + pixels * 0.22), index);
    }
    p.restore();
}

// A label turned a quarter turn to read upwards.
void upwardLabel(QPainter& p, QPointF centre, const QString& text, double pixels,
                 const QString& index) {
    p.save();
    p.translate(centre);
    p.rotate(-90);
    label(p, QPointF(0, 0), text, pixels, index);
    p.restore();
}

bool insidePipe(QPointF at, double margin) {
    return std::hypot(at.x() - left, at.y() - (bottom - pipeRadius)) < pipeRadius + margin;
}

// Concrete: dots on a jittered grid with a few pieces of aggregate.
void stipple(QPainter& p) {
    Lcg random(19);
    const double cell = 6.5;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(stippleInk);
    for (double y = fillTop + 2; y < bottom - 2; y += cell) {
        for (double x = left + 2; x < right - 2; x += cell) {
            const QPointF at(x + random.next() * (cell - 2), y + random.next() * (cell - 2));
            const double size = random.next() < 0.3 ? 1.9 : 1.3;
            if (at.y() > bottom - 2.5 || at.x() > right - 2.5 || insidePipe(at, 3))
                continue;
            p.drawEllipse(at, size / 2, size / 2);
        }
    }
    p.restore();

    p.save();
    p.setPen(QPen(stippleInk, 0.9));
    p.setBrush(Qt::NoBrush);
    QList<QPointF> stones;
    for (int tries = 0; stones.size() < 10 && tries < 400; ++tries) {
        const QPointF at(left + 8 + random.next() * (right - left - 16),
                         fillTop + 8 + random.next() * (bottom - fillTop - 16));
        const bool crowded = std::any_of(stones.cbegin(), stones.cend(), [&](QPointF other) {
            return std::hypot(at.x() - other.x(), at.y() - other.y()) < 22;
        });
        if (crowded || insidePipe(at, 9))
            continue;
        stones << at;
        const double r = 2.6 + random.next() * 1.4;
        const double turn = random.next() * 2 * std::numbers::pi;
        QPolygonF stone;
        for (int k = 0; k < 3; ++k) {
            const double a = turn + k * 2 * std::numbers::pi / 3;
            stone << at + QPointF(r * std::cos(a), r * std::sin(a));
        }
        p.setBrush(Qt::white);
        p.drawPolygon(stone);
    }
    p.restore();
}

// The surface layer: 45-degree hatching.
void hatch(QPainter& p) {
    p.save();
    p.setClipRect(QRectF(left, top, right - left, fillTop - top)
                      .intersected(QRectF(left, top, right - left, levelTop - top)));
    p.setPen(QPen(hatchInk, 0.9));
    const double spacing = 6;
    for (double x = left - (levelTop - top); x < right; x += spacing)
        line(p, x, levelTop, x + (levelTop - top), top);
    p.restore();
}

void pipe(QPainter& p) {
    const QPointF centre(left, bottom - pipeRadius);
    const QRectF outer(centre.x() - pipeRadius, centre.y() - pipeRadius, 2 * pipeRadius,
                       2 * pipeRadius);
    const double ri = pipeRadius - pipeWall;
    const QRectF inner(centre.x() - ri, centre.y() - ri, 2 * ri, 2 * ri);

    // The wall: the right half of a ring, from the top round to the bottom.
    QPainterPath wall;
    wall.arcMoveTo(outer, 90);
    wall.arcTo(outer, 90, -180);
    wall.arcTo(inner, -90, 180);
    wall.closeSubpath();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPie(outer, 90 * 16, -180 * 16);
    p.setBrush(wallFill);
    p.drawPath(wall);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.3));
    p.drawArc(outer, 90 * 16, -180 * 16);
    p.setPen(QPen(ink, 0.9));
    p.drawArc(inner, 90 * 16, -180 * 16);

    // The radius d/2, from the centre out to the outer wall.
    const double a = std::numbers::pi / 4;
    const QPointF rim = centre + QPointF(pipeRadius * std::cos(a), -pipeRadius * std::sin(a));
    p.setPen(QPen(ink, 1.0));
    p.drawLine(centre, rim);
    arrowhead(p, rim, rim - centre, 6, 2.2);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, 1.5, 1.5);
    p.restore();
    label(p, QPointF(left + 16, centre.y() + 14), QStringLiteral("d/2"), 14);
}

void dimensions(QPainter& p) {
    p.save();
    p.setPen(QPen(ink, 0.9));

    // s/2 across the top: the y axis is its left extension line.
    line(p, right + 0.5, top - 3, right + 0.5, dimS - 5);
    line(p, left + 0.5, dimS + 0.5, right + 0.5, dimS + 0.5);
    arrowhead(p, QPointF(left + 0.5, dimS + 0.5), QPointF(-1, 0), 7, 2.3);
    arrowhead(p, QPointF(right + 0.5, dimS + 0.5), QPointF(1, 0), 7, 2.3);

    // The layer thicknesses down the right side: extension lines from the
    // layer boundaries, one dimension line with arrows at every boundary.
    for (const double y : {top, levelTop, fillTop})
        line(p, right + 3, y + 0.5, dimDelta + 6, y + 0.5);
    line(p, dimDelta + 0.5, top + 0.5, dimDelta + 0.5, bottom + 0.5);
    const std::array<double, 4> edges{top, levelTop, fillTop, bottom};
    for (std::size_t k = 0; k + 1 < edges.size(); ++k) {
        arrowhead(p, QPointF(dimDelta + 0.5, edges[k] + 0.5), QPointF(0, -1), 5.5, 2.0);
        arrowhead(p, QPointF(dimDelta + 0.5, edges[k + 1] + 0.5), QPointF(0, 1), 5.5, 2.0);
    }
    p.restore();

    label(p, QPointF((left + right) / 2, dimS - 9), QStringLiteral("s/2"), 15);
    const double lx = dimDelta + 13;
    upwardLabel(p, QPointF(lx, (top + levelTop) / 2), QStringLiteral("δ"), 15, QStringLiteral("3"));
    upwardLabel(p, QPointF(lx, (levelTop + fillTop) / 2), QStringLiteral("δ"), 15,
                QStringLiteral("2"));
    upwardLabel(p, QPointF(lx, (fillTop + bottom) / 2), QStringLiteral("δ"), 15,
                QStringLiteral("1"));
}

void axes(QPainter& p) {
    p.save();
    p.setPen(QPen(ink, 1.3));
    line(p, left + 0.5, bottom + 0.5, left + 0.5, axisEndY + 4);
    line(p, left + 0.5, bottom + 0.5, axisEndX - 4, bottom + 0.5);
    arrowhead(p, QPointF(left + 0.5, axisEndY), QPointF(0, -1), 9, 3);
    arrowhead(p, QPointF(axisEndX, bottom + 0.5), QPointF(1, 0), 9, 3);
    p.restore();
    label(p, QPointF(left - 11, axisEndY + 8), QStringLiteral("y"), 17);
    label(p, QPointF(axisEndX - 6, bottom + 15), QStringLiteral("x"), 17);
}

QImage drawDiagram() {
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    stipple(p);
    hatch(p);

    // The cell outline and the layer boundaries.
    p.setPen(QPen(ink, 1.0));
    line(p, right + 0.5, top + 0.5, right + 0.5, bottom + 0.5);
    for (const double y : {top, levelTop, fillTop})
        line(p, left + 0.5, y + 0.5, right + 0.5, y + 0.5);

    pipe(p);
    axes(p);
    dimensions(p);
    p.end();
    return canvas;
}

// Maps the drawing onto the eight greys of the colour table.
QImage toPalette(const QImage& canvas) {
    QList<QRgb> table;
    for (int k = 0; k < 8; ++k) {
        const int v = int(std::lround(43 + k * (255 - 43) / 7.0));
        table << qRgb(v, v, v);
    }
    while (table.size() < 16)
        table << qRgb(0, 0, 0);

    QImage out(canvas.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < canvas.width(); ++x) {
            const int grey = qGray(src[x]);
            int best = 0;
            for (int k = 1; k < 8; ++k) {
                if (std::abs(qRed(table[k]) - grey) < std::abs(qRed(table[best]) - grey))
                    best = k;
            }
            dst[x] = uchar(best);
        }
    }
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    // The tool only draws into an image; it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QTextStream err(stderr);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        err << "usage: drawdiagram <resources folder>\n";
        return 2;
    }
    const QFontInfo used(labelFont(15));
    if (used.family() != QStringLiteral("Liberation Serif") || !used.italic()) {
        err << "the labels need Liberation Serif Italic (fonts-liberation); found " << used.family()
            << '\n';
        return 1;
    }
    const QString path = QDir(args.at(1)).filePath(QStringLiteral("diagram.png"));
    if (!toPalette(drawDiagram()).save(path, "PNG")) {
        err << "cannot write " << path << '\n';
        return 1;
    }
    return 0;
}
