// SPDX-License-Identifier: GPL-3.0-or-later
// The pump's operating point on its curve against the system parabola, with
// crossings solved by hand, and the duty that cannot be computed.

#include "core/hydraulics/pump.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <vector>

using namespace zorva::hydraulics;

using Curve = std::vector<PumpCurvePoint>;
Q_DECLARE_METATYPE(Curve)

class PumpCurveTest : public QObject {
    Q_OBJECT

private slots:
    void operatingPointOfCurve_data();
    void operatingPointOfCurve();
    void curvesRefused_data();
    void curvesRefused();
    void dutyRefusedWithoutFlow();
};

void PumpCurveTest::operatingPointOfCurve_data() {
    // The duty is 1 m³/h at 10 kPa throughout: the system is 10·V̇².
    QTest::addColumn<Curve>("curve");
    QTest::addColumn<int>("found");
    QTest::addColumn<double>("flow");
    QTest::addColumn<bool>("suffices");
    // 40 − 20·V = 10·V²: V = √5 − 1.
    QTest::newRow("strong pump") << Curve{{0, 40}, {2, 0}} << int(OperatingFound::Inside)
                                 << std::sqrt(5.0) - 1 << true;
    // 20 − 10·V = 10·V² meets at V = 1: the curve passes the duty point.
    QTest::newRow("curve through the duty point")
        << Curve{{0, 20}, {2, 0}} << int(OperatingFound::Inside) << 1.0 << true;
    // 15 − 7.5·V = 10·V²: V = (−7.5 + √656.25)/20; 7.5 kPa at the duty flow.
    QTest::newRow("weak pump") << Curve{{0, 15}, {2, 0}} << int(OperatingFound::Inside)
                               << (-7.5 + std::sqrt(656.25)) / 20 << false;
    // Second segment: 30 − 20·(V − 1) = 10·V²: V = −1 + √6.
    QTest::newRow("crossing on the second segment")
        << Curve{{0, 32}, {1, 30}, {2, 10}} << int(OperatingFound::Inside) << std::sqrt(6.0) - 1
        << true;
    QTest::newRow("curve ends before the duty flow")
        << Curve{{0, 40}, {0.5, 35}} << int(OperatingFound::BeyondCurve) << 0.0 << false;
    QTest::newRow("pump below the system")
        << Curve{{1.5, 5}, {3, 0}} << int(OperatingFound::BelowCurve) << 0.0 << false;
}

void PumpCurveTest::operatingPointOfCurve() {
    QFETCH(Curve, curve);
    QFETCH(int, found);
    QFETCH(double, flow);
    QFETCH(bool, suffices);
    const OperatingPoint op = operatingPoint(curve, 1, 10);
    QCOMPARE(op.fault, PumpCurveFault::None);
    QCOMPARE(int(op.found), found);
    QCOMPARE(op.suffices, suffices);
    if (op.found == OperatingFound::Inside) {
        QVERIFY(std::abs(op.flowM3h - flow) <= 1e-14);
        QVERIFY(std::abs(op.headKpa - 10 * flow * flow) <= 1e-13);
        QVERIFY(!op.moreCrossings);
    }
}

void PumpCurveTest::curvesRefused_data() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::addColumn<Curve>("curve");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("point");
    QTest::newRow("one point") << Curve{{0, 10}} << int(PumpCurveFault::TooFewPoints) << 0;
    QTest::newRow("flow not increasing")
        << Curve{{0, 10}, {1, 8}, {1, 5}} << int(PumpCurveFault::FlowNotIncreasing) << 2;
    QTest::newRow("negative head")
        << Curve{{0, 10}, {1, -1}} << int(PumpCurveFault::NegativeValue) << 1;
    QTest::newRow("not a number") << Curve{{nan, 10}, {1, 1}} << int(PumpCurveFault::NotFinite)
                                  << 0;
}

void PumpCurveTest::curvesRefused() {
    QFETCH(Curve, curve);
    QFETCH(int, fault);
    QFETCH(int, point);
    const OperatingPoint op = operatingPoint(curve, 1, 10);
    QCOMPARE(int(op.fault), fault);
    QCOMPARE(op.point, std::size_t(point));
    QVERIFY(!op.suffices);
}

void PumpCurveTest::dutyRefusedWithoutFlow() {
    PumpDutyInput in;
    in.branchPressureKpa = 12;
    in.supplyDensity = 990;
    QCOMPARE(pumpDuty(in).fault, DutyFault::FlowNotPositive);
    in.totalFlowKgh = 500;
    in.body.kv = 0;
    QCOMPARE(pumpDuty(in).fault, DutyFault::BodyInvalid);
    in.body.kv = 5;
    in.connectionPressureDropKpa = std::numeric_limits<double>::infinity();
    QCOMPARE(pumpDuty(in).fault, DutyFault::NotFinite);
    // A curve against a duty of no flow has nothing to meet.
    QCOMPARE(operatingPoint(Curve{{0, 10}, {1, 0}}, 0, 0).found, OperatingFound::NoDuty);
}

QTEST_APPLESS_MAIN(PumpCurveTest)
#include "tst_pumpcurve.moc"
