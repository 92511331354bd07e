// SPDX-License-Identifier: GPL-3.0-or-later
// Water properties against the data sheet's table, the friction laws at
// their boundaries, and a loop's pressure drop on inputs it cannot use.

#include "core/hydraulics/leaderheat.h"
#include "core/hydraulics/pipeflow.h"
#include "core/hydraulics/water.h"
#include "support/sheetdigits.h"

#include <QTest>

#include <cmath>

using namespace zorva::hydraulics;

class HydraulicsTest : public QObject {
    Q_OBJECT

private slots:
    void waterProperties_data();
    void waterProperties();
    void frictionAtTheLawBoundaries_data();
    void frictionAtTheLawBoundaries();
    void pipeFlowInputs_data();
    void pipeFlowInputs();
    void leaderHeatWithoutFlow();
};

void HydraulicsTest::waterProperties_data() {
    QTest::addColumn<double>("temp");
    QTest::addColumn<QByteArray>("density");
    QTest::addColumn<QByteArray>("viscosity"); // 10⁻³ Pa·s
    QTest::addColumn<QByteArray>("kinematic"); // 10⁻⁶ m²/s
    QTest::newRow("20") << 20.0 << QByteArray("998.2336") << QByteArray("1.001749")
                        << QByteArray("1.003521");
    QTest::newRow("30") << 30.0 << QByteArray("995.6783") << QByteArray("0.7972324")
                        << QByteArray("0.8006928");
    QTest::newRow("35") << 35.0 << QByteArray("994.0635") << QByteArray("0.7184912")
                        << QByteArray("0.7227821");
    QTest::newRow("40") << 40.0 << QByteArray("992.2473") << QByteArray("0.6514279")
                        << QByteArray("0.6565177");
    QTest::newRow("45") << 45.0 << QByteArray("990.2435") << QByteArray("0.5938817")
                        << QByteArray("0.5997330");
    QTest::newRow("50") << 50.0 << QByteArray("988.0633") << QByteArray("0.5441600")
                        << QByteArray("0.5507339");
    QTest::newRow("60") << 60.0 << QByteArray("983.2106") << QByteArray("0.4631034")
                        << QByteArray("0.4710114");
}

void HydraulicsTest::waterProperties() {
    QFETCH(double, temp);
    QFETCH(QByteArray, density);
    QFETCH(QByteArray, viscosity);
    QFETCH(QByteArray, kinematic);
    const WaterProperties w = waterAt(temp);
    QVERIFY2(showsAs(w.density, density), qPrintable(sheetMismatch("ρ", w.density, density)));
    QVERIFY2(showsAs(w.viscosity * 1e3, viscosity),
             qPrintable(sheetMismatch("μ", w.viscosity * 1e3, viscosity)));
    QVERIFY2(showsAs(w.kinematicViscosity * 1e6, kinematic),
             qPrintable(sheetMismatch("ν", w.kinematicViscosity * 1e6, kinematic)));
    QCOMPARE(w.heatCapacity, 4190.0);
    QVERIFY(w.inRange);
}

void HydraulicsTest::frictionAtTheLawBoundaries_data() {
    QTest::addColumn<double>("reynolds");
    QTest::addColumn<int>("law");
    QTest::addColumn<QByteArray>("printed"); // "nan": no value
    const double below = std::nextafter(2300.0, 0.0);
    // The two laws do not meet at 2300: 0.02783 against 0.04569.
    QTest::newRow("laminar just below 2300") << below << 0 << QByteArray("0.02783");
    QTest::newRow("Blasius at 2300") << 2300.0 << 0 << QByteArray("0.04569");
    QTest::newRow("Colebrook laminar below 2300") << below << 1 << QByteArray("0.02783");
    QTest::newRow("Swamee-Jain laminar below 2300") << below << 2 << QByteArray("0.02783");
    QTest::newRow("laminar 64/Re at 64") << 64.0 << 0 << QByteArray("1");
    QTest::newRow("no flow") << 0.0 << 0 << QByteArray("nan");
    QTest::newRow("negative") << -5.0 << 1 << QByteArray("nan");
}

void HydraulicsTest::frictionAtTheLawBoundaries() {
    QFETCH(double, reynolds);
    QFETCH(int, law);
    QFETCH(QByteArray, printed);
    const double got = frictionFactor(reynolds, static_cast<FrictionLaw>(law), 0.007e-3 / 0.016);
    if (printed == "nan")
        QVERIFY(std::isnan(got));
    else
        QVERIFY2(showsAs(got, printed), qPrintable(sheetMismatch("λ", got, printed)));
}

void HydraulicsTest::pipeFlowInputs_data() {
    QTest::addColumn<double>("massFlow");
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<double>("length");
    QTest::addColumn<bool>("computed");
    QTest::addColumn<QByteArray>("pressureDrop"); // Pa as printed; empty: not compared
    // Loop living-1 of the sheet's example B.
    QTest::newRow("living loop") << 0.0614253 << 40.19708 << 0.016 << 104.0 << true
                                 << QByteArray("10491.67");
    QTest::newRow("no flow") << 0.0 << 40.0 << 0.016 << 104.0 << true << QByteArray("0");
    QTest::newRow("negative flow") << -0.01 << 40.0 << 0.016 << 104.0 << false << QByteArray("0");
    QTest::newRow("flow not a number")
        << double(NAN) << 40.0 << 0.016 << 104.0 << false << QByteArray("0");
    QTest::newRow("no bore") << 0.01 << 40.0 << 0.0 << 104.0 << false << QByteArray("0");
    QTest::newRow("negative length") << 0.01 << 40.0 << 0.016 << -1.0 << false << QByteArray("0");
    QTest::newRow("infinite length")
        << 0.01 << 40.0 << 0.016 << double(INFINITY) << false << QByteArray("0");
    QTest::newRow("water colder than 140 K")
        << 0.01 << -140.0 << 0.016 << 104.0 << false << QByteArray("0");
    QTest::newRow("above boiling, flagged")
        << 0.01 << 120.0 << 0.016 << 104.0 << true << QByteArray();
}

void HydraulicsTest::pipeFlowInputs() {
    QFETCH(double, massFlow);
    QFETCH(double, temp);
    QFETCH(double, diameter);
    QFETCH(double, length);
    QFETCH(bool, computed);
    QFETCH(QByteArray, pressureDrop);
    PipeFlowInput in;
    in.massFlow = massFlow;
    in.meanTemp = temp;
    in.innerDiameter = diameter;
    in.length = length;
    in.lossCoefficients = localLossSum(2);
    const PipeFlow f = pipeFlow(in);
    QCOMPARE(f.computed(), computed);
    QVERIFY(std::isfinite(f.pressureDrop) && f.pressureDrop >= 0);
    QCOMPARE(f.water.inRange, temp >= 0 && temp <= 100);
    QCOMPARE(f.regime == FlowRegime::None, !computed || massFlow == 0);
    if (!pressureDrop.isEmpty())
        QVERIFY2(showsAs(f.pressureDrop, pressureDrop),
                 qPrintable(sheetMismatch("Δp", f.pressureDrop, pressureDrop)));
}

void HydraulicsTest::leaderHeatWithoutFlow() {
    // Without a flow only the heat itself has a value; the return at the
    // manifold stays the loop's.
    const LeaderHeat h = leaderHeat(0.8413315, 6, 42.69708, 35.43967, 18, 0, 7.25741);
    QVERIFY(showsAs(h.heat, "212.7059"));
    QCOMPARE(h.drop, 0.0);
    QCOMPARE(h.share, 0.0);
    QCOMPARE(h.returnAtManifold, 35.43967);
}

QTEST_APPLESS_MAIN(HydraulicsTest)
#include "tst_hydraulics.moc"
