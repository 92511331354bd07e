// SPDX-License-Identifier: GPL-3.0-or-later
// Plane geometry of the plan: areas and perimeters by hand, outline faults,
// the snapping helpers, the bend radius a corner allows, walking a ring and
// Clipper's offsets against shapes worked out on paper.

#include "core/layout/geometry.h"
#include "core/layout/offsets.h"
#include "core/layout/ring.h"
#include "core/layout/rules.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace zorva::layout;

Q_DECLARE_METATYPE(zorva::layout::Polygon)
Q_DECLARE_METATYPE(zorva::layout::Point)
Q_DECLARE_METATYPE(zorva::layout::OutlineFault)

namespace {

// 6 m × 6 m less the 3 m × 3 m corner at the top right.
Polygon lShape() {
    return {{0, 0}, {6000, 0}, {6000, 3000}, {3000, 3000}, {3000, 6000}, {0, 6000}};
}

} // namespace

class LayoutGeometryTest : public QObject {
    Q_OBJECT

private slots:
    void areaAndPerimeter_data();
    void areaAndPerimeter();
    void contains_data();
    void contains();
    void outlineFaults_data();
    void outlineFaults();
    void snapping_data();
    void snapping();
    void bendRadius_data();
    void bendRadius();
    void ringWalksAcrossItsStart();
    void offsetsKeepRightAngles_data();
    void offsetsKeepRightAngles();
    void farAwayPlansKeepTheirDigits();
};

void LayoutGeometryTest::areaAndPerimeter_data() {
    QTest::addColumn<Polygon>("polygon");
    QTest::addColumn<double>("area");      // mm²
    QTest::addColumn<double>("perimeter"); // mm
    QTest::newRow("typed 4.2 × 3.6 m") << rectangle({0, 0}, 4200, 3600) << 15.12e6 << 15600.0;
    QTest::newRow("L: 36 − 9 m²") << lShape() << 27e6 << 24000.0;
    QTest::newRow("3-4-5 triangle") << Polygon{{0, 0}, {3000, 0}, {0, 4000}} << 6e6 << 12000.0;
    Polygon cw = lShape();
    std::reverse(cw.begin(), cw.end());
    QTest::newRow("L clockwise") << cw << 27e6 << 24000.0;
    QTest::newRow("closing vertex repeated")
        << Polygon{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}, {0, 0}} << 1e6 << 4000.0;
}

void LayoutGeometryTest::areaAndPerimeter() {
    QFETCH(Polygon, polygon);
    QFETCH(double, area);
    QFETCH(double, perimeter);
    QCOMPARE(zorva::layout::area(polygon), area);
    QCOMPARE(zorva::layout::perimeter(normalized(polygon)), perimeter);
    QVERIFY(signedArea(normalized(polygon)) > 0);
}

void LayoutGeometryTest::contains_data() {
    QTest::addColumn<Point>("point");
    QTest::addColumn<bool>("inside");
    QTest::newRow("lower arm") << Point{5000, 1000} << true;
    QTest::newRow("upper arm") << Point{1000, 5000} << true;
    QTest::newRow("the cut-away corner") << Point{4500, 4500} << false;
    QTest::newRow("on the reflex corner") << Point{3000, 3000} << true;
    QTest::newRow("on an edge") << Point{6000, 1500} << true;
    QTest::newRow("outside") << Point{-1, 10} << false;
}

void LayoutGeometryTest::contains() {
    QFETCH(Point, point);
    QFETCH(bool, inside);
    QCOMPARE(zorva::layout::contains(lShape(), point), inside);
}

void LayoutGeometryTest::outlineFaults_data() {
    QTest::addColumn<Polygon>("polygon");
    QTest::addColumn<OutlineFault>("fault");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("valid L") << lShape() << OutlineFault::None;
    QTest::newRow("two vertices") << Polygon{{0, 0}, {1000, 0}} << OutlineFault::TooFewVertices;
    QTest::newRow("a vertex twice")
        << Polygon{{0, 0}, {1000, 0}, {1000, 0}} << OutlineFault::TooFewVertices;
    QTest::newRow("NaN") << Polygon{{0, 0}, {nan, 0}, {0, 1000}} << OutlineFault::NotFinite;
    QTest::newRow("beyond 1e9 mm")
        << Polygon{{0, 0}, {2e9, 0}, {0, 1000}} << OutlineFault::NotFinite;
    // Shoelace: 1000 × 0.0005 / 2 = 0.25 mm², below a drawable 1 mm².
    QTest::newRow("sliver") << Polygon{{0, 0}, {1000, 0}, {2000, 0.0005}} << OutlineFault::ZeroArea;
    QTest::newRow("bow tie") << Polygon{{0, 0}, {1000, 1000}, {1000, 0}, {0, 1000}}
                             << OutlineFault::SelfIntersecting;
    QTest::newRow("edge back over itself")
        << Polygon{{0, 0}, {2000, 0}, {2000, 1000}, {1000, 1000}, {1000, -500}, {0, 1000}}
        << OutlineFault::SelfIntersecting;
}

void LayoutGeometryTest::outlineFaults() {
    QFETCH(Polygon, polygon);
    QFETCH(OutlineFault, fault);
    QCOMPARE(checkOutline(polygon), fault);
}

void LayoutGeometryTest::snapping_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Point>("from");
    QTest::addColumn<Point>("drawn");
    QTest::addColumn<double>("step");
    QTest::addColumn<Point>("snapped");
    QTest::newRow("grid 100") << "grid" << Point{} << Point{1234, 5678} << 100.0
                              << Point{1200, 5700};
    QTest::newRow("grid 50, negative")
        << "grid" << Point{} << Point{-1274, 24} << 50.0 << Point{-1250, 0};
    QTest::newRow("grid 0 keeps the point")
        << "grid" << Point{} << Point{12.5, 7.25} << 0.0 << Point{12.5, 7.25};
    QTest::newRow("nearly horizontal")
        << "ortho" << Point{100, 100} << Point{1100, 130} << 0.0 << Point{1100, 100};
    QTest::newRow("nearly vertical")
        << "ortho" << Point{100, 100} << Point{70, -900} << 0.0 << Point{100, -900};
    // Along 45°: the projection of (1000, 950) is (1000 + 950)/2 on each axis.
    QTest::newRow("45° step") << "angle" << Point{} << Point{1000, 950} << 45.0 << Point{975, 975};
    QTest::newRow("90° step is orthogonal")
        << "angle" << Point{500, 0} << Point{520, 800} << 90.0 << Point{500, 800};
}

void LayoutGeometryTest::snapping() {
    QFETCH(QString, kind);
    QFETCH(Point, from);
    QFETCH(Point, drawn);
    QFETCH(double, step);
    QFETCH(Point, snapped);
    const Point got = kind == "grid"    ? snapToGrid(drawn, step)
                      : kind == "ortho" ? snapOrthogonal(from, drawn)
                                        : snapAngle(from, drawn, step);
    QVERIFY2(distance(got, snapped) < 1e-9,
             qPrintable(QString("%1, %2").arg(got.x, 0, 'g', 17).arg(got.y, 0, 'g', 17)));
}

void LayoutGeometryTest::bendRadius_data() {
    QTest::addColumn<Point>("a");
    QTest::addColumn<Point>("b");
    QTest::addColumn<Point>("c");
    QTest::addColumn<double>("radius");
    // A right angle uses half the shorter leg: r = t / tan 45° = t.
    QTest::newRow("right angle, legs 400 and 200")
        << Point{0, 0} << Point{400, 0} << Point{400, 200} << 100.0;
    // A U-turn of width 200 is two right angles 200 apart: r = 100.
    QTest::newRow("half a U of width 200")
        << Point{0, 1000} << Point{0, 0} << Point{200, 0} << 100.0;
    // 45° turn, legs 1000: r = 500 / tan 22.5° = 500 (1 + √2).
    QTest::newRow("45° turn") << Point{0, 0} << Point{1000, 0}
                              << Point{1000 + 1000 / std::sqrt(2.0), 1000 / std::sqrt(2.0)}
                              << 500 * (1 + std::sqrt(2.0));
    QTest::newRow("turn back") << Point{0, 0} << Point{1000, 0} << Point{0, 0} << 0.0;
    QTest::newRow("straight") << Point{0, 0} << Point{1000, 0} << Point{3000, 0}
                              << std::numeric_limits<double>::infinity();
}

void LayoutGeometryTest::bendRadius() {
    QFETCH(Point, a);
    QFETCH(Point, b);
    QFETCH(Point, c);
    QFETCH(double, radius);
    const double got = availableBendRadius(a, b, c);
    if (std::isinf(radius))
        QVERIFY(std::isinf(got));
    else
        QVERIFY2(std::abs(got - radius) < 1e-9 * std::max(1.0, radius),
                 qPrintable(QString::number(got, 'g', 17)));
}

void LayoutGeometryTest::ringWalksAcrossItsStart() {
    // The square 1000 × 1000 walked from its lower-left corner.
    const Ring ring(rectangle({0, 0}, 1000, 1000));
    QCOMPARE(ring.length(), 4000.0);
    QVERIFY(distance(ring.at(2500), {500, 1000}) < 1e-9);
    QVERIFY(distance(ring.at(-250), {0, 250}) < 1e-9);
    QCOMPARE(ring.project({1200, 300}), 1300.0);
    // From 3/4 of the way forward to 1/4: over the start corner.
    Polyline forward;
    ring.appendForward(forward, 3500, 500);
    QCOMPARE(forward, (Polyline{{0, 500}, {0, 0}, {500, 0}}));
    QCOMPARE(length(forward), 1000.0);
    Polyline backward;
    ring.appendBackward(backward, 500, 3500);
    QCOMPARE(backward, (Polyline{{500, 0}, {0, 0}, {0, 500}}));
    QCOMPARE(ring.forwardDistance(3500, 500), 1000.0);
}

void LayoutGeometryTest::offsetsKeepRightAngles_data() {
    QTest::addColumn<Polygon>("shape");
    QTest::addColumn<double>("delta");
    QTest::addColumn<double>("area"); // mm², worked out on paper
    QTest::newRow("rectangle in by 100")
        << rectangle({0, 0}, 4200, 3600) << -100.0 << 4000.0 * 3400.0;
    // The L in by 100: 5800 × 2800 below y = 2900 and 2800 × 3000 above.
    QTest::newRow("L in by 100") << lShape() << -100.0 << 5800.0 * 2800 + 2800.0 * 3000;
    QTest::newRow("L out by 100") << lShape() << 100.0 << 6200.0 * 3200 + 3200.0 * 3000;
    QTest::newRow("used up") << rectangle({0, 0}, 400, 3000) << -250.0 << 0.0;
}

void LayoutGeometryTest::offsetsKeepRightAngles() {
    QFETCH(Polygon, shape);
    QFETCH(double, delta);
    QFETCH(double, area);
    const Offsetter offsetter{{0, 0}};
    const Region r = offsetter.offset({shape}, delta);
    QCOMPARE(regionArea(r), area);
}

void LayoutGeometryTest::farAwayPlansKeepTheirDigits() {
    // A plan 500 km from the drawing's zero, as survey drawings place them:
    // relative to a near origin the offset still lands on the micrometre.
    const Point far{5e8, 3e8};
    Polygon room = rectangle(far, 4200, 3600);
    const Offsetter offsetter{far};
    const Region r = offsetter.offset({room}, -100);
    QCOMPARE(regionArea(r), 4000.0 * 3400.0);
    const Box b = bounds(r.front());
    QCOMPARE(b.minX, far.x + 100);
    QCOMPARE(b.maxY, far.y + 3500);
}

QTEST_APPLESS_MAIN(LayoutGeometryTest)
#include "tst_layoutgeometry.moc"
