// SPDX-License-Identifier: GPL-3.0-or-later
// The worked manifold example to its printed digits: the loops as the
// EN 1264-3 design gives them, then presetting, flow meters, totals, mixed
// return, mixing station and pump duty, and the checks it raises (none of
// ours).

#include "core/hydraulics/commissioning.h"
#include "core/hydraulics/manifoldduty.h"
#include "support/systemexample.h"

#include <QTest>

#include <numbers>

using namespace zorva;
using namespace zorva::hydraulics;

namespace {

ManifoldHydraulicsInput exampleInput(const test::ExampleManifold& ex) {
    ManifoldHydraulicsInput in;
    for (const test::ExampleLoop& l : ex.loops)
        in.loops.push_back({l.flowKgh, l.pressureDropKpa, l.density, l.returnTemp});
    in.supplyTemp = ex.supplyTemp;
    in.supplyDensity = waterDensity(ex.supplyTemp);
    in.connectionPressureDropKpa = 2;
    MixingStationSetup mixing;
    mixing.primarySupplyTemp = 70;
    mixing.primaryDensity = waterDensity(70);
    mixing.targetAuthority = 0.5;
    mixing.primaryVariableDropKpa = 5;
    in.mixing = mixing;
    return in;
}

} // namespace

class ManifoldExampleTest : public QObject {
    Q_OBJECT

private slots:
    void presettingPerLoop_data();
    void presettingPerLoop();
    void manifoldPumpAndMixingStation();
    void commissioningRowsCarryTheLoops();
    void connectionPipesByTheLoopHydraulics();
};

void ManifoldExampleTest::presettingPerLoop_data() {
    QTest::addColumn<int>("loop");
    QTest::addColumn<QStringList>("printed");
    // V̇ m³/h, Δp_open Pa, Δp_extra Pa, Δp_valve Pa, kv, setting, dial,
    // kv at the dial, V̇ at the dial, deviation, flow meter l/min.
    QTest::newRow("living-1") << 0 << QStringList{"0.2228758", "3449.557",   "399.3649", "3848.922",
                                                  "1.136039",  "5.817255",   "5.75",     "1.1125",
                                                  "0.2182577", "-0.0207205", "3.71828"};
    QTest::newRow("living-2 index")
        << 1 << QStringList{"0.2228758", "3449.557", "0",         "3449.557", "1.2",    "6",
                            "6",         "1.2",      "0.2228758", "0",        "3.71828"};
    QTest::newRow("bed1") << 2 << QStringList{"0.1403284", "1367.505",   "8818.917", "10186.42",
                                              "0.4396781", "3.19839",    "3.25",     "0.45",
                                              "0.1436228", "0.02347607", "2.342137"};
    QTest::newRow("bed2") << 3 << QStringList{"0.06781405", "319.3573",   "13484.73", "13804.09",
                                              "0.1825223",  "1.48094",    "1.5",      "0.185",
                                              "0.06873463", "0.01357501", "1.132426"};
    QTest::newRow("bath") << 4 << QStringList{"0.07057242", "345.8657",   "11003.05", "11348.92",
                                              "0.2094874",  "1.688364",   "1.75",     "0.2175",
                                              "0.07327173", "0.03824877", "1.177824"};
}

void ManifoldExampleTest::presettingPerLoop() {
    QFETCH(int, loop);
    QFETCH(QStringList, printed);
    const ManifoldHydraulics h = manifoldHydraulics(exampleInput(test::systemExample()));
    const auto i = static_cast<std::size_t>(loop);
    const LoopPresetting& p = h.presetting.loops[i];
    QVERIFY(p.ok());
    CHECK_PRINTED(p.flowM3h, printed[0]);
    CHECK_PRINTED(p.openValveDropKpa * 1000, printed[1]);
    CHECK_PRINTED(p.extraPressureDropKpa * 1000, printed[2]);
    CHECK_PRINTED(p.valveDropKpa * 1000, printed[3]);
    CHECK_PRINTED(p.kv, printed[4]);
    CHECK_PRINTED(p.setting, printed[5]);
    QCOMPARE(p.dialSetting, printed[6].toDouble());
    CHECK_PRINTED(p.dialKv, printed[7]);
    CHECK_PRINTED(p.dialFlowM3h, printed[8]);
    CHECK_PRINTED(p.dialFlowDeviation, printed[9]);
    CHECK_PRINTED(h.flowMeterLpm[i], printed[10]);
    // The index loop is living-2, the longest; it alone is fully open, and
    // no valve is noisy or out of its table.
    QCOMPARE(p.indexLoop, loop == 1);
    QCOMPARE(p.range == SettingRange::FullyOpen, loop == 1);
    QCOMPARE(p.flags, 0u);
}

void ManifoldExampleTest::manifoldPumpAndMixingStation() {
    const ManifoldHydraulics h = manifoldHydraulics(exampleInput(test::systemExample()));
    QCOMPARE(h.presetting.indexLoop, std::optional<std::size_t>(1));
    CHECK_PRINTED(h.presetting.branchPressureKpa * 1000, "14340.59");
    CHECK_PRINTED(h.presetting.largestValveDropKpa, "13.80"); // bed2, under 20 kPa
    QCOMPARE(h.presetting.noisyLoops + h.presetting.belowTableLoops, std::size_t{0});

    QVERIFY(h.mixedReturn.ok());
    CHECK_PRINTED(h.mixedReturn.totalFlowKgh, "718.9458");
    CHECK_PRINTED(h.mixedReturn.totalFlowKgh / 3600, "0.1997072");
    CHECK_PRINTED(h.mixedReturn.mixedReturnTemp, "36.59508");
    CHECK_PRINTED(h.mixedReturn.systemDifference, "6.102");
    QVERIFY(!h.mixedReturn.differenceOutsideRange);
    CHECK_PRINTED(h.mixedReturn.heatW, "5105.989");

    QVERIFY(h.mixing && h.mixing->ok());
    CHECK_PRINTED(h.mixing->primaryFlowKgh, "131.3282");
    CHECK_PRINTED(h.mixing->primaryFlowKgh / 3600, "0.03648005");
    CHECK_PRINTED(h.mixing->primaryFlowM3h, "0.1343169");
    CHECK_PRINTED(h.mixing->bypassFlowKgh, "587.6176");
    CHECK_PRINTED(h.mixing->heatW, "5105.989");
    CHECK_PRINTED(h.mixing->valveTargetDropKpa * 1000, "5000");
    CHECK_PRINTED(h.mixing->kvsCalc, "3.243805");
    QCOMPARE(h.mixing->kvs, 2.5);
    CHECK_PRINTED(h.mixing->valveDropKpa * 1000, "8417.816");
    CHECK_PRINTED(h.mixing->authority, "0.6273611");
    QVERIFY(!h.mixing->authorityBelowTarget && !h.mixing->poorAuthority);

    QVERIFY(h.pump.ok());
    CHECK_PRINTED(h.pump.flowM3h, "0.7253368");
    CHECK_PRINTED(h.pump.flowLh / 60, "12.08895");
    CHECK_PRINTED(h.pump.barVelocity, "0.4104567");
    QVERIFY(!h.pump.barTooFast);
    CHECK_PRINTED(h.pump.bodyDropKpa * 1000, "2104.454");
    CHECK_PRINTED(h.pump.headKpa * 1000, "26862.86");
    CHECK_PRINTED(h.pump.headM, "2.7636");
    QVERIFY(!h.pressureControlAdvised); // 14.3 kPa across the branches
}

void ManifoldExampleTest::commissioningRowsCarryTheLoops() {
    const test::ExampleManifold ex = test::systemExample();
    const ManifoldHydraulics h = manifoldHydraulics(exampleInput(ex));
    std::vector<CommissioningLoopInput> loops;
    for (const test::ExampleLoop& l : ex.loops)
        loops.push_back({l.name, l.room, l.lengthM, l.returnTemp});
    const std::vector<CommissioningRow> rows = commissioningRows(loops, h);
    QCOMPARE(rows.size(), std::size_t{5});
    QCOMPARE(rows[2].name, std::string("主卧"));
    QCOMPARE(rows[2].room, std::string("主卧"));
    QCOMPARE(rows[2].lengthM, 92.0);
    QCOMPARE(rows[2].dialSetting, 3.25);
    CHECK_PRINTED(rows[2].flowMeterLpm, "2.342137");
    CHECK_PRINTED(rows[2].returnTemp, "35.43967");
    QVERIFY(rows[1].fullyOpen && !rows[2].fullyOpen && rows[4].preset);
}

void ManifoldExampleTest::connectionPipesByTheLoopHydraulics() {
    // 10 m of 20 mm bore each way instead of the typed 2 kPa: the pipes carry
    // the pump's flow, the return pipe its colder, denser water more slowly,
    // and the pump's head grows by exactly their two drops.
    ManifoldHydraulicsInput in = exampleInput(test::systemExample());
    in.connectionPressureDropKpa = 0;
    in.connectionPipes = ConnectionPipes{10, 0.020, 2.0};
    const ManifoldHydraulics h = manifoldHydraulics(in);
    QVERIFY(h.pump.ok() && h.connectionSupply && h.connectionReturn);
    const double area = std::numbers::pi * 0.020 * 0.020 / 4;
    QVERIFY(std::abs(h.connectionSupply->velocity * area * 3600 / h.pump.flowM3h - 1) < 1e-12);
    QVERIFY(h.connectionReturn->velocity < h.connectionSupply->velocity);
    QCOMPARE(h.connectionReturn->water.temp, h.mixedReturn.mixedReturnTemp);
    QCOMPARE(h.connectionDropKpa,
             (h.connectionSupply->pressureDrop + h.connectionReturn->pressureDrop) / 1000);
    QCOMPARE(h.pump.headKpa, h.presetting.branchPressureKpa + h.pump.bodyDropKpa +
                                 h.connectionDropKpa + h.mixing->valveDropKpa);
    in.connectionPipes->innerDiameter = 0;
    QCOMPARE(manifoldHydraulics(in).pump.fault, DutyFault::ConnectionInvalid);
}

QTEST_APPLESS_MAIN(ManifoldExampleTest)
#include "tst_manifoldexample.moc"
