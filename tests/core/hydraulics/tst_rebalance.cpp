// SPDX-License-Identifier: GPL-3.0-or-later
// Thermal re-balancing on the worked example's loops: measured values equal
// to the design change nothing; a loop that gets too little water, with
// temperatures made by the heat exchange law at its design conductance, is
// asked for exactly its design flow and a more open setting; unreachable
// outputs and impossible readings are said so.

#include "core/hydraulics/manifoldduty.h"
#include "core/hydraulics/rebalance.h"
#include "support/systemexample.h"

#include <QTest>

#include <cmath>

using namespace zorva;
using namespace zorva::hydraulics;

namespace {

// The example's loops as designed, each at the setting its presetting dials.
std::vector<RebalanceLoopInput> designedLoops() {
    const test::ExampleManifold ex = test::systemExample();
    std::vector<LoopBranch> branches;
    for (const test::ExampleLoop& l : ex.loops)
        branches.push_back({l.flowKgh, l.pressureDropKpa, l.density});
    const Presetting p = presetLoops(branches, genericValveCharacteristic());
    std::vector<RebalanceLoopInput> loops;
    for (std::size_t i = 0; i < ex.loops.size(); ++i) {
        const test::ExampleLoop& l = ex.loops[i];
        RebalanceLoopInput in;
        in.designFlowKgh = l.flowKgh;
        in.designSupplyTemp = ex.supplyTemp;
        in.designReturnTemp = l.returnTemp;
        in.roomTemp = l.roomTemp;
        in.loopPressureDropKpa = l.pressureDropKpa;
        in.density = l.density;
        in.pressureExponent = l.laminar ? 1.0 : 1.75;
        in.currentSetting = p.loops[i].dialSetting;
        in.measuredSupplyTemp = in.designSupplyTemp;
        in.measuredReturnTemp = in.designReturnTemp;
        loops.push_back(in);
    }
    return loops;
}

// Return temperature of a loop with conductance UA (W/K) at a flow (kg/h).
double returnAt(const RebalanceLoopInput& l, double ua, double flowKgh) {
    const double c = flowKgh / 3600 * 4190;
    return l.roomTemp + (l.designSupplyTemp - l.roomTemp) * std::exp(-ua / c);
}

// UA of the loop's design: its output over the logarithmic mean excess.
double designConductance(const RebalanceLoopInput& l) {
    const double q = l.designFlowKgh / 3600 * 4190 * (l.designSupplyTemp - l.designReturnTemp);
    const double lm =
        (l.designSupplyTemp - l.designReturnTemp) /
        std::log((l.designSupplyTemp - l.roomTemp) / (l.designReturnTemp - l.roomTemp));
    return q / lm;
}

} // namespace

class RebalanceTest : public QObject {
    Q_OBJECT

private slots:
    void designReadingsChangeNothing_data();
    void designReadingsChangeNothing();
    void starvedLoopGetsItsDesignFlowBack();
    void unreachableAndImpossibleReadings();
};

void RebalanceTest::designReadingsChangeNothing_data() {
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<bool>("withMeter");
    QTest::newRow("no dead band, temperatures only") << 0.0 << false;
    QTest::newRow("no dead band, flow meters read") << 0.0 << true;
    QTest::newRow("default dead band") << RebalanceOptions{}.tolerance << true;
}

void RebalanceTest::designReadingsChangeNothing() {
    QFETCH(double, tolerance);
    QFETCH(bool, withMeter);
    std::vector<RebalanceLoopInput> loops = designedLoops();
    for (RebalanceLoopInput& l : loops)
        if (withMeter)
            l.measuredFlowKgh = l.designFlowKgh;
    const auto out = rebalanceLoops(loops, genericValveCharacteristic(), {tolerance});
    for (std::size_t i = 0; i < loops.size(); ++i) {
        QVERIFY(out[i].ok());
        QCOMPARE(out[i].flowMeasured, withMeter);
        QVERIFY(std::abs(out[i].outputRatio - 1) < 1e-14);
        QVERIFY(std::abs(out[i].requiredFlowKgh / loops[i].designFlowKgh - 1) < 1e-12);
        QVERIFY(!out[i].change);
        QCOMPARE(out[i].proposedDial, loops[i].currentSetting);
        QCOMPARE(out[i].flags, 0u);
    }
}

void RebalanceTest::starvedLoopGetsItsDesignFlowBack() {
    // bed1 gets 70 % of its water; its floor is as designed, so its
    // temperatures follow the exchange law at the design conductance.
    std::vector<RebalanceLoopInput> loops = designedLoops();
    RebalanceLoopInput& bed1 = loops[2];
    const double ua = designConductance(bed1);
    const double flow = 0.7 * bed1.designFlowKgh;
    bed1.measuredFlowKgh = flow;
    bed1.measuredReturnTemp = returnAt(bed1, ua, flow);
    const LoopRebalance r = rebalanceLoops(loops, genericValveCharacteristic())[2];
    QVERIFY(r.ok());
    const double expected = flow / 3600 * 4190 * (bed1.designSupplyTemp - bed1.measuredReturnTemp);
    QVERIFY(std::abs(r.actualOutputW / expected - 1) < 1e-12);
    QVERIFY(r.outputRatio < 0.95 && !r.withinTolerance);
    QVERIFY(std::abs(r.conductance / ua - 1) < 1e-12);
    QVERIFY(std::abs(r.requiredFlowKgh / bed1.designFlowKgh - 1) < 1e-12);
    // More water through the same branch: the valve opens, by whole dial steps.
    QVERIFY(r.change && r.proposedSetting > bed1.currentSetting);
    QCOMPARE(std::fmod(r.proposedDial, 0.25), 0.0);
    QVERIFY(r.proposedDial > bed1.currentSetting);
    QCOMPARE(r.flags, 0u);
}

void RebalanceTest::unreachableAndImpossibleReadings() {
    std::vector<RebalanceLoopInput> loops = designedLoops();
    // Living-1 reads a return barely above the room at its design flow: its
    // floor takes far less than designed, and no flow at 42.7 ℃ makes up
    // for it.
    loops[0].measuredFlowKgh = loops[0].designFlowKgh;
    loops[0].measuredSupplyTemp = 30;
    loops[0].measuredReturnTemp = 29.9;
    loops[1].measuredReturnTemp = loops[1].roomTemp; // no heat to measure
    loops[2].measuredFlowKgh = 0;
    loops[3].measuredSupplyTemp = std::nan("");
    const auto out = rebalanceLoops(loops, genericValveCharacteristic());
    QVERIFY(out[0].ok());
    QVERIFY(out[0].flags & RebalanceSupplyTooLow);
    QCOMPARE(out[0].range, SettingRange::FullyOpen);
    QCOMPARE(out[0].proposedDial, 6.0);
    QCOMPARE(out[1].fault, RebalanceFault::MeasuredOrder);
    QCOMPARE(out[2].fault, RebalanceFault::FlowNotPositive);
    QCOMPARE(out[3].fault, RebalanceFault::NotFinite);
    QVERIFY(out[4].ok() && !out[4].change);
    ValveCharacteristic broken = genericValveCharacteristic();
    broken.resolution = 0;
    QCOMPARE(rebalanceLoops(loops, broken)[4].fault, RebalanceFault::ValveInvalid);
}

QTEST_APPLESS_MAIN(RebalanceTest)
#include "tst_rebalance.moc"
