// SPDX-License-Identifier: GPL-3.0-or-later
// Presetting beyond the worked example: settings against the extra
// pressure drop, the index loop and its equals, the dial's rounding, the
// warnings at their thresholds and loops that cannot be balanced.

#include "core/hydraulics/manifoldduty.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <vector>

using namespace zorva::hydraulics;

class PresettingTest : public QObject {
    Q_OBJECT

private slots:
    void settingFallsAsTheExtraDropRises_data();
    void settingFallsAsTheExtraDropRises();
    void indexLoopAndItsEqualsAreFullyOpen();
    void dialRoundsToTheResolution_data();
    void dialRoundsToTheResolution();
    void warningsAtTheirThresholds_data();
    void warningsAtTheirThresholds();
    void loopsThatCannotBeBalancedAreSkipped();
};

void PresettingTest::settingFallsAsTheExtraDropRises_data() {
    QTest::addColumn<double>("flowKgh");
    // From below the table (the valve cannot throttle) to fully open.
    QTest::newRow("small loop, 40 kg/h") << 40.0;
    QTest::newRow("medium loop, 150 kg/h") << 150.0;
    QTest::newRow("large loop, 400 kg/h") << 400.0;
}

void PresettingTest::settingFallsAsTheExtraDropRises() {
    QFETCH(double, flowKgh);
    const ValveCharacteristic valve = genericValveCharacteristic();
    double lastSetting = std::numeric_limits<double>::infinity();
    double lastKv = lastSetting;
    for (double index = 1; index <= 60; index += 0.5) {
        const std::vector<LoopBranch> loops{{300, index, 992}, {flowKgh, 2, 992}};
        const Presetting p = presetLoops(loops, valve);
        const LoopPresetting& l = p.loops[1];
        if (p.indexLoop != std::size_t{0})
            continue;
        QVERIFY(l.setting <= lastSetting);
        QVERIFY(l.kv < lastKv);
        QVERIFY(l.dialSetting >= valve.settings.front() && l.dialSetting <= valve.settings.back());
        // Whatever the valve adds, the branch sees the index loop's difference.
        QVERIFY(std::abs(2 + l.valveDropKpa - p.branchPressureKpa) <= 1e-12 * p.branchPressureKpa);
        lastSetting = l.setting;
        lastKv = l.kv;
    }
    QVERIFY(lastKv < std::numeric_limits<double>::infinity());
}

void PresettingTest::indexLoopAndItsEqualsAreFullyOpen() {
    // The second and third loops have the same flow and pipe drop: the first
    // of them is the index loop, both stay fully open.
    const std::vector<LoopBranch> loops{{100, 3, 990}, {250, 12, 990}, {250, 12, 990}};
    const Presetting p = presetLoops(loops, genericValveCharacteristic());
    QCOMPARE(p.indexLoop, std::optional<std::size_t>(1));
    QVERIFY(p.loops[1].indexLoop && !p.loops[2].indexLoop);
    for (std::size_t i : {std::size_t{1}, std::size_t{2}}) {
        QCOMPARE(p.loops[i].extraPressureDropKpa, 0.0);
        QCOMPARE(p.loops[i].range, SettingRange::FullyOpen);
        QCOMPARE(p.loops[i].dialSetting, 6.0);
        QCOMPARE(p.loops[i].kv, 1.2);
        QCOMPARE(p.loops[i].dialFlowDeviation, 0.0);
    }
    QCOMPARE(p.loops[0].range, SettingRange::Inside);
}

void PresettingTest::dialRoundsToTheResolution_data() {
    QTest::addColumn<double>("resolution");
    QTest::addColumn<double>("setting");
    QTest::addColumn<double>("dial");
    QTest::newRow("exact tie goes up") << 0.25 << 3.125 << 3.25;
    QTest::newRow("just below the tie") << 0.25 << 3.1249 << 3.0;
    QTest::newRow("half turns") << 0.5 << 4.74 << 4.5;
    QTest::newRow("whole positions, tie up") << 1.0 << 2.5 << 3.0;
    QTest::newRow("kept at the first setting") << 1.0 << 1.2 << 1.0;
    QTest::newRow("kept at the last setting") << 0.5 << 5.99 << 6.0;
}

void PresettingTest::dialRoundsToTheResolution() {
    QFETCH(double, resolution);
    QFETCH(double, setting);
    QFETCH(double, dial);
    ValveCharacteristic valve = genericValveCharacteristic();
    valve.resolution = resolution;
    QCOMPARE(dialSetting(valve, setting), dial);
}

void PresettingTest::warningsAtTheirThresholds_data() {
    // Density 1000: the index loop's 600 kg/h is 0.6 m³/h, 25 kPa across the
    // open valve (kv 1.2) with no pipe drop, so the branch is 25 kPa and the
    // second loop's valve takes 25 kPa minus its pipe drop.
    QTest::addColumn<double>("flowKgh");
    QTest::addColumn<double>("pipeKpa");
    QTest::addColumn<int>("actuator");
    QTest::addColumn<unsigned>("flags");
    QTest::newRow("20 kPa exactly is quiet") << 60.0 << 5.0 << 0 << 0u;
    QTest::newRow("20.5 kPa is noisy") << 60.0 << 4.5 << 0 << unsigned{PresetNoise};
    // 0.036 m³/h at 20 kPa needs kv 0.0805, below the first point 0.12.
    QTest::newRow("throttling beyond the table") << 36.0 << 5.0 << 0 << unsigned{PresetBelowTable};
    // A valve share of 20/25 is a fair authority, 5/25 a poor one, when the
    // actuator modulates; with on/off actuators it does not count.
    QTest::newRow("modulating, authority 0.8") << 60.0 << 5.0 << 1 << 0u;
    QTest::newRow("modulating, authority 0.2")
        << 220.0 << 20.0 << 1 << unsigned{PresetPoorAuthority};
    QTest::newRow("on/off, authority 0.2") << 220.0 << 20.0 << 0 << 0u;
}

void PresettingTest::warningsAtTheirThresholds() {
    QFETCH(double, flowKgh);
    QFETCH(double, pipeKpa);
    QFETCH(int, actuator);
    QFETCH(unsigned, flags);
    PresettingOptions options;
    options.actuator = actuator ? ActuatorKind::Modulating : ActuatorKind::OnOff;
    const std::vector<LoopBranch> loops{{600, 0, 1000}, {flowKgh, pipeKpa, 1000}};
    const Presetting p = presetLoops(loops, genericValveCharacteristic(), options);
    QCOMPARE(p.indexLoop, std::optional<std::size_t>(0));
    QCOMPARE(p.branchPressureKpa, 25.0);
    QCOMPARE(p.loops[1].flags, flags);
    if (flags & PresetBelowTable) {
        QCOMPARE(p.loops[1].dialSetting, 1.0);
        QVERIFY(p.loops[1].dialFlowDeviation > 0.4); // the loop gets too much water
    }
}

void PresettingTest::loopsThatCannotBeBalancedAreSkipped() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<LoopBranch> loops{
        {0, 90, 990}, {nan, 5, 990}, {120, 4, 0}, {120, -1, 990}, {150, 6, 990}};
    const Presetting p = presetLoops(loops, genericValveCharacteristic());
    QCOMPARE(p.loops[0].fault, BranchFault::FlowNotPositive);
    QCOMPARE(p.loops[1].fault, BranchFault::NotFinite);
    QCOMPARE(p.loops[2].fault, BranchFault::DensityNotPositive);
    QCOMPARE(p.loops[3].fault, BranchFault::PressureDropNegative);
    QCOMPARE(p.indexLoop, std::optional<std::size_t>(4)); // not the shut loop's 90 kPa
    ValveCharacteristic broken = genericValveCharacteristic();
    broken.kv[3] = broken.kv[2];
    const Presetting none = presetLoops(loops, broken);
    QCOMPARE(none.characteristic.fault, CharacteristicFault::KvNotIncreasing);
    QCOMPARE(none.characteristic.point, std::size_t{3});
    QVERIFY(!none.indexLoop);
    QCOMPARE(none.loops[0].fault, BranchFault::FlowNotPositive);
    // Without a usable valve table there is no branch pressure, so no pump
    // head; the mixed return of the loops with a flow is still known.
    ManifoldHydraulicsInput in;
    for (const LoopBranch& b : loops)
        in.loops.push_back({b.flowKgh, b.pressureDropKpa, b.density, 35});
    in.supplyTemp = 40;
    in.supplyDensity = 992;
    in.valve = broken;
    const ManifoldHydraulics h = manifoldHydraulics(in);
    QCOMPARE(h.pump.fault, DutyFault::NoBranch);
    QVERIFY(h.mixedReturn.ok());
    QCOMPARE(h.mixedReturn.totalFlowKgh, 150.0);
}

QTEST_APPLESS_MAIN(PresettingTest)
#include "tst_presetting.moc"
