// SPDX-License-Identifier: GPL-3.0-or-later
// The EN 1264-2 characteristic field: its lines, limit points and limit
// curves against the type A sheet's examples and the relations the field
// must show (every covering meets the same limit curve of its spacing).

#include "core/en1264/field.h"
#include "support/sheetdigits.h"

#include <QTest>

#include <cmath>

using namespace zorva;
using namespace zorva::en1264;

namespace {

// Example (a) of the type A sheet: T 0.15, R_λ,B 0.10, 45/35/20 ℃.
const Floor kExampleA{0.15, 0.020, 0.002, 0.35, 0.045, 1.2, 0.10};

double onCurve(const LimitCurve& c, double excess) {
    return c.phi * c.b * std::pow(excess / c.phi, c.n);
}

} // namespace

class En1264FieldTest : public QObject {
    Q_OBJECT

private slots:
    void exampleAIsTheCurrentLine();
    void coveringsMeetTheirSpacingLimitCurve();
    void outputFallsWithSpacingAndCovering();
    void wideSpacingHasALimitPointOnly();
    void gridAndFloorsItCannotUse_data();
    void gridAndFloorsItCannotUse();
};

void En1264FieldTest::exampleAIsTheCurrentLine() {
    const CharacteristicField f = characteristicField(kExampleA, 20, 29, FieldWater{45, 35});
    QCOMPARE(f.spacingLines.size(), kFieldSpacings.size()); // 0.15 is one of the family
    QCOMPARE(f.coveringLines.size(), kFieldCoverings.size());
    QCOMPARE(f.limitCurves.size(), f.spacingLines.size());
    QVERIFY(showsAs(f.limitFluxMax, "100.0073"));
    int current = 0;
    for (const FieldLine& l : f.spacingLines) {
        current += l.current;
        if (l.current) {
            QCOMPARE(l.spacing, 0.15);
            QVERIFY(showsAs(l.characteristic, "3.465847"));
            QVERIFY(showsAs(l.limitExcess, "28.38932"));
            QVERIFY(showsAs(l.limitFlux, "98.39302"));
            QCOMPARE(l.points.size(), std::size_t(41));
            QCOMPARE(l.points.back().excess, 40.0);
        }
    }
    QCOMPARE(current, 1);
    QVERIFY(f.designPoint);
    QVERIFY(showsAs(f.designPoint->excess, "19.57615"));
    QVERIFY(showsAs(f.designPoint->heatFlux, "67.84795"));
    // Bedroom 2 of the design example: 0.25 m is added to the family.
    Floor bed2 = kExampleA;
    bed2.spacing = 0.25;
    const CharacteristicField g = characteristicField(bed2, 18, 29);
    QCOMPARE(g.spacingLines.size(), kFieldSpacings.size());
    QVERIFY(!g.designPoint);
    bed2.spacing = 0.125;
    QCOMPARE(characteristicField(bed2, 18, 29).spacingLines.size(), kFieldSpacings.size() + 1);
}

void En1264FieldTest::coveringsMeetTheirSpacingLimitCurve() {
    // B_G and n_G do not depend on the covering, so every covering line at
    // 0.15 m meets the limit curve of 0.15 m, each at its own point.
    const CharacteristicField f = characteristicField(kExampleA, 20, 29);
    const LimitCurve* curve = nullptr;
    for (std::size_t i = 0; i < f.spacingLines.size(); ++i)
        if (f.spacingLines[i].spacing == 0.15)
            curve = &f.limitCurves[i];
    QVERIFY(curve && !curve->points.empty());
    QCOMPARE(curve->b, 76.3);
    QCOMPARE(curve->n, 0.076);
    // A heavier covering lowers K_H, so its line meets the curve further out.
    double previous = 0;
    for (const FieldLine& l : f.coveringLines) {
        QVERIFY(std::fabs(onCurve(*curve, l.limitExcess) - l.limitFlux) < 1e-9);
        QVERIFY(std::fabs(l.characteristic * l.limitExcess - l.limitFlux) < 1e-9);
        QVERIFY(l.limitExcess > previous);
        previous = l.limitExcess;
    }
    for (std::size_t i = 0; i < f.spacingLines.size(); ++i) {
        const FieldLine& l = f.spacingLines[i];
        QVERIFY(std::fabs(onCurve(f.limitCurves[i], l.limitExcess) - l.limitFlux) < 1e-9);
    }
    // At 29 ℃ and 20 ℃ φ is 1; at 35 ℃ it is (15/9)^1.1.
    const CharacteristicField p = characteristicField(kExampleA, 20, 35);
    QVERIFY(std::fabs(p.limitCurves[0].phi - std::pow(15.0 / 9, 1.1)) < 1e-15);
    QVERIFY(showsAs(p.limitFluxMax, "175.4144"));
}

void En1264FieldTest::outputFallsWithSpacingAndCovering() {
    const CharacteristicField f = characteristicField(kExampleA, 20, 29);
    for (const auto* lines : {&f.spacingLines, &f.coveringLines}) {
        for (std::size_t i = 1; i < lines->size(); ++i) {
            const FieldLine& a = (*lines)[i - 1];
            const FieldLine& b = (*lines)[i];
            QVERIFY(b.characteristic < a.characteristic);
            QVERIFY(b.points[20].heatFlux < a.points[20].heatFlux);
        }
    }
}

void En1264FieldTest::wideSpacingHasALimitPointOnly() {
    // Example (c): T 0.45, D 17 mm, s_u 0.10, bare floor.
    const Floor wide{0.45, 0.017, 0.002, 0.35, 0.10, 1.2, 0};
    const CharacteristicField f = characteristicField(wide, 20, 29, FieldWater{45, 35});
    const FieldLine& line = f.spacingLines.back();
    QCOMPARE(line.spacing, 0.45);
    QVERIFY(line.current);
    QVERIFY(line.flags & SpacingWide);
    QVERIFY(showsAs(line.characteristic, "2.105052"));
    QVERIFY(showsAs(line.limitExcess, "39.46278"));
    QVERIFY(showsAs(line.limitFlux, "83.07121"));
    QVERIFY(f.limitCurves.back().points.empty());
    QVERIFY(showsAs(f.designPoint->heatFlux, "41.20883"));
}

void En1264FieldTest::gridAndFloorsItCannotUse_data() {
    QTest::addColumn<double>("maxExcess");
    QTest::addColumn<int>("intervals");
    QTest::addColumn<double>("screed");
    QTest::addColumn<int>("points"); // per applicable line
    QTest::addColumn<double>("lastExcess");
    QTest::newRow("no intervals") << 40.0 << 0 << 0.045 << 2 << 40.0;
    QTest::newRow("too many intervals") << 40.0 << 1000000 << 0.045 << 1001 << 40.0;
    QTest::newRow("maximum not a number") << double(NAN) << 10 << 0.045 << 11 << 40.0;
    QTest::newRow("negative maximum") << -5.0 << 10 << 0.045 << 11 << 40.0;
    QTest::newRow("odd step") << 30.0 << 7 << 0.045 << 8 << 30.0;
    QTest::newRow("no screed above the pipe") << 40.0 << 40 << 0.0 << 0 << 40.0;
}

void En1264FieldTest::gridAndFloorsItCannotUse() {
    QFETCH(double, maxExcess);
    QFETCH(int, intervals);
    QFETCH(double, screed);
    QFETCH(int, points);
    QFETCH(double, lastExcess);
    Floor floor = kExampleA;
    floor.screedAbove = screed;
    const CharacteristicField f =
        characteristicField(floor, 20, 29, FieldWater{45, 35}, FieldGrid{maxExcess, intervals});
    QCOMPARE(f.grid.maxExcess, lastExcess);
    for (const auto* lines : {&f.spacingLines, &f.coveringLines}) {
        for (const FieldLine& l : *lines) {
            QCOMPARE(int(l.points.size()), points);
            QCOMPARE(l.applicability == En1264Applicability::Applicable, points > 0);
            if (points > 0) {
                QCOMPARE(l.points.front().excess, 0.0);
                QCOMPARE(l.points.back().excess, lastExcess);
                for (const FieldPoint& p : l.points)
                    QVERIFY(std::isfinite(p.heatFlux));
            }
        }
    }
    QCOMPARE(f.designPoint.has_value(), points > 0);
}

QTEST_APPLESS_MAIN(En1264FieldTest)
#include "tst_en1264field.moc"
