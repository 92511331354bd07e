// SPDX-License-Identifier: GPL-3.0-or-later
// The EN 1264-3 supply and temperature-drop relations at the switch of
// their two forms, and EN 1264-4's minimum insulation at the edges of its
// table.

#include "core/en1264/below.h"
#include "core/en1264/supplyformulas.h"

#include <QTest>

#include <cmath>

using namespace zorva::en1264;

Q_DECLARE_METATYPE(zorva::en1264::BelowKind)
Q_DECLARE_METATYPE(zorva::en1264::DropRule)

class En1264RulesTest : public QObject {
    Q_OBJECT

private slots:
    void supplyExcessByHand_data();
    void supplyExcessByHand();
    void insulationMinimum_data();
    void insulationMinimum();
};

void En1264RulesTest::supplyExcessByHand_data() {
    QTest::addColumn<double>("excess");       // Δθ_H
    QTest::addColumn<double>("drop");         // σ
    QTest::addColumn<double>("supplyExcess"); // Δθ_V, worked by hand
    QTest::addColumn<DropRule>("rule");
    // σ/Δθ_H = 0.5 is still the linear form: 10 + 2.5.
    QTest::newRow("ratio 0.5") << 10.0 << 5.0 << 12.5 << DropRule::Linear;
    // 0.6: 10 + 3 + 36/120.
    QTest::newRow("ratio 0.6") << 10.0 << 6.0 << 13.3 << DropRule::Quadratic;
    // 1.0: 4 + 2 + 16/48.
    QTest::newRow("ratio 1") << 4.0 << 4.0 << 6.0 + 1.0 / 3 << DropRule::Quadratic;
    QTest::newRow("ratio 0.2") << 20.0 << 4.0 << 22.0 << DropRule::Linear;
}

void En1264RulesTest::supplyExcessByHand() {
    QFETCH(double, excess);
    QFETCH(double, drop);
    QFETCH(double, supplyExcess);
    QFETCH(DropRule, rule);
    QVERIFY(std::fabs(zorva::en1264::supplyExcess(excess, drop) - supplyExcess) < 1e-12);
    DropSolution back;
    QVERIFY(dropForSupply(supplyExcess, excess, back));
    QCOMPARE(back.rule, rule);
    QVERIFY(std::fabs(back.drop - drop) < 1e-12);
    // A supply not above the room's need, or a room without output, has no σ.
    QVERIFY(!dropForSupply(excess, excess, back));
    QVERIFY(!dropForSupply(excess - 1, excess, back));
    QVERIFY(!dropForSupply(supplyExcess, 0, back));
    QVERIFY(!dropForSupply(NAN, excess, back));
}

void En1264RulesTest::insulationMinimum_data() {
    QTest::addColumn<BelowKind>("kind");
    QTest::addColumn<double>("temp");    // NaN: not given
    QTest::addColumn<double>("minimum"); // 0: not in the table
    using K = BelowKind;
    QTest::newRow("heated room") << K::HeatedRoom << double(NAN) << 0.75;
    QTest::newRow("unheated room") << K::UnheatedRoom << 5.0 << 1.25;
    QTest::newRow("ground") << K::Ground << 10.0 << 1.25;
    QTest::newRow("outdoor 0") << K::OutdoorAir << 0.0 << 1.25;
    QTest::newRow("outdoor just below 0") << K::OutdoorAir << -0.1 << 1.50;
    QTest::newRow("outdoor -5") << K::OutdoorAir << -5.0 << 1.50;
    QTest::newRow("outdoor just below -5") << K::OutdoorAir << -5.1 << 2.00;
    QTest::newRow("outdoor -15") << K::OutdoorAir << -15.0 << 2.00;
    QTest::newRow("outdoor below -15") << K::OutdoorAir << -15.1 << 0.0;
    QTest::newRow("outdoor, temperature not given") << K::OutdoorAir << double(NAN) << 0.0;
}

void En1264RulesTest::insulationMinimum() {
    QFETCH(BelowKind, kind);
    QFETCH(double, temp);
    QFETCH(double, minimum);
    Below below{kind, 1.5, 0.08, 0.02, std::nullopt};
    if (!std::isnan(temp))
        below.temp = temp;
    const InsulationCheck c = checkInsulation(below);
    QCOMPARE(c.inTable, minimum > 0);
    QCOMPARE(c.minimum, minimum);
    QCOMPARE(c.meets, minimum > 0 && 1.5 >= minimum);
    below.insulation = minimum; // exactly the minimum meets it
    QCOMPARE(checkInsulation(below).meets, minimum > 0);
    // R_u: the layers and the underside: 0.17 under a ceiling, 0.04 over
    // outdoor air, nothing on the ground.
    const double underside = kind == BelowKind::Ground       ? 0
                             : kind == BelowKind::OutdoorAir ? 0.04
                                                             : 0.17;
    QCOMPARE(downwardResistance(below), minimum + 0.08 + 0.02 + underside);
}

QTEST_APPLESS_MAIN(En1264RulesTest)
#include "tst_en1264rules.moc"
