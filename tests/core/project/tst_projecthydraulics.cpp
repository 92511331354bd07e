// SPDX-License-Identifier: GPL-3.0-or-later
// The project's hydraulics step: the worked manifold example through the
// project's inputs to its printed digits, the index loop fully open by
// either method, settings falling as the extra drop rises, valves that
// cannot be used, and the bill's cutting plan over the project's loops.

#include "core/project/compute.h"
#include "core/project/hydraulicscompute.h"
#include "support/systemexample.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>

using namespace zorva;
using namespace zorva::project;

Q_DECLARE_METATYPE(zorva::method::Method)

namespace {

// The worked example's manifold as the EN 1264-3 design gives it, as the
// result of a project whose manifold holds the example's plant inputs.
struct ExampleProject {
    Project project;
    ProjectResult result;
};

ExampleProject exampleProject() {
    ExampleProject e;
    e.project = newProject();
    ManifoldHydraulicsInputs& h = e.project.manifolds[0].hydraulics;
    h.connectionDropKpa = 2;
    h.mixing = MixingStationInput{70, 0.5, 5, true};
    const en1264::ManifoldDesign design = en1264::designManifold(examples::exampleManifold());
    ManifoldResult m;
    m.design = design;
    for (std::size_t i = 0; i < design.loops.size(); ++i) {
        const en1264::LoopDesign& d = design.loops[i];
        ProjectLoop l;
        l.name = examples::exampleManifold().loops[i].name;
        l.computed = d.designed();
        l.standardLoop = i;
        l.figures.supplyTemp = design.designSupplyTemp;
        l.figures.drop = d.drop;
        l.figures.returnTemp = d.returnTemp;
        l.figures.flowKgh = d.flowKgh;
        l.figures.pressureDrop = d.pressureDrop;
        l.figures.length = d.length;
        m.loops.push_back(l);
    }
    m.totals.supplyTemp = design.designSupplyTemp;
    e.result.manifolds.push_back(m);
    computeHydraulics(e.project, e.result);
    return e;
}

// Manual loops of different lengths on one manifold.
Project manualProject(method::Method method) {
    Project p = newProject();
    p.settings.method = method;
    const double lengths[] = {40, 95, 60, 118, 75, 20};
    int n = 0;
    for (double length : lengths) {
        LoopInput in;
        in.name = "环路" + std::to_string(++n);
        in.roomTemp = 18;
        in.spacingMm = 200;
        in.lengthM = length;
        in.loadW = length * 0.2 * 60;
        p.manifolds[0].loops.push_back({in, {}});
    }
    return p;
}

} // namespace

class ProjectHydraulicsTest : public QObject {
    Q_OBJECT

private slots:
    void workedExamplePerLoop_data();
    void workedExamplePerLoop();
    void workedExampleManifold_data();
    void workedExampleManifold();
    void indexLoopFullyOpen_data();
    void indexLoopFullyOpen();
    void settingFallsAsExtraDropRises_data();
    void settingFallsAsExtraDropRises();
    void valveThatCannotBeUsed_data();
    void valveThatCannotBeUsed();
    void cuttingPlanKeepsLoopsWhole_data();
    void cuttingPlanKeepsLoopsWhole();
    void rebalanceFromMeasurements_data();
    void rebalanceFromMeasurements();
};

void ProjectHydraulicsTest::workedExamplePerLoop_data() {
    QTest::addColumn<int>("loop");
    QTest::addColumn<QStringList>("printed");
    // Δp_extra Pa, kv, setting, dial, flow meter l/min.
    QTest::newRow("living-1") << 0
                              << QStringList{"399.3649", "1.136039", "5.817255", "5.75", "3.71828"};
    QTest::newRow("living-2 index") << 1 << QStringList{"0", "1.2", "6", "6", "3.71828"};
    QTest::newRow("bed1") << 2
                          << QStringList{"8818.917", "0.4396781", "3.19839", "3.25", "2.342137"};
    QTest::newRow("bed2") << 3
                          << QStringList{"13484.73", "0.1825223", "1.48094", "1.5", "1.132426"};
    QTest::newRow("bath") << 4
                          << QStringList{"11003.05", "0.2094874", "1.688364", "1.75", "1.177824"};
}

void ProjectHydraulicsTest::workedExamplePerLoop() {
    QFETCH(int, loop);
    QFETCH(QStringList, printed);
    const ExampleProject e = exampleProject();
    const ManifoldHydraulicsResult& h = e.result.manifolds[0].hydraulics;
    QVERIFY(h.computed);
    QVERIFY(h.valveGeneric);
    const hydraulics::LoopPresetting* p = h.presetting(std::size_t(loop));
    QVERIFY(p);
    CHECK_PRINTED(p->extraPressureDropKpa * 1000, printed[0]);
    CHECK_PRINTED(p->kv, printed[1]);
    CHECK_PRINTED(p->setting, printed[2]);
    CHECK_PRINTED(p->dialSetting, printed[3]);
    CHECK_PRINTED(*h.flowMeterLpm(std::size_t(loop)), printed[4]);
    QCOMPARE(h.flags(std::size_t(loop)), 0u); // every Δp_valve under 20 kPa, every kv inside
}

void ProjectHydraulicsTest::workedExampleManifold_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("printed");
    const ExampleProject e = exampleProject();
    const hydraulics::ManifoldHydraulics& h = e.result.manifolds[0].hydraulics.hydraulics;
    QVERIFY(h.mixing && h.mixing->ok() && h.pump.ok());
    QTest::newRow("Δp_branch Pa") << h.presetting.branchPressureKpa * 1000 << "14340.59";
    QTest::newRow("θ_R,mix") << h.mixedReturn.mixedReturnTemp << "36.59508";
    QTest::newRow("V̇_s m³/h") << h.pump.flowM3h << "0.7253368";
    QTest::newRow("V̇_s l/min") << h.pump.flowLh / 60 << "12.08895";
    QTest::newRow("bar velocity") << h.pump.barVelocity << "0.4104567";
    QTest::newRow("Δp_body Pa") << h.pump.bodyDropKpa * 1000 << "2104.454";
    QTest::newRow("primary kg/h") << h.mixing->primaryFlowKgh << "131.3282";
    QTest::newRow("primary m³/h") << h.mixing->primaryFlowM3h << "0.1343169";
    QTest::newRow("bypass kg/h") << h.mixing->bypassFlowKgh << "587.6176";
    QTest::newRow("kvs_calc") << h.mixing->kvsCalc << "3.243805";
    QTest::newRow("kvs") << h.mixing->kvs << "2.5";
    QTest::newRow("Δp_v Pa") << h.mixing->valveDropKpa * 1000 << "8417.816";
    QTest::newRow("authority") << h.mixing->authority << "0.6273611";
    QTest::newRow("pump head Pa") << h.pump.headKpa * 1000 << "26862.86";
    QTest::newRow("pump head m") << h.pump.headM << "2.7636";
}

void ProjectHydraulicsTest::workedExampleManifold() {
    QFETCH(double, value);
    QFETCH(QString, printed);
    CHECK_PRINTED(value, printed);
}

void ProjectHydraulicsTest::indexLoopFullyOpen_data() {
    QTest::addColumn<method::Method>("method");
    QTest::newRow("program") << method::Method::Program;
    QTest::newRow("EN 1264") << method::Method::En1264;
}

// The loop with the largest Δp_loop + Δp_open gets no extra drop and the
// valve's last setting, whichever method computed the loops.
void ProjectHydraulicsTest::indexLoopFullyOpen() {
    QFETCH(method::Method, method);
    const Project p = manualProject(method);
    const ProjectResult r = computeProject(p);
    const ManifoldResult& m = r.manifolds[0];
    const ManifoldHydraulicsResult& h = m.hydraulics;
    QVERIFY(h.computed);
    const std::optional<std::size_t> index = h.hydraulics.presetting.indexLoop;
    QVERIFY(index);
    const std::size_t loop = h.loopOfBranch[*index];
    // The longest loop is the index loop: its own drop is the largest and,
    // at the largest flow of equal loads per metre, so is its open valve's.
    QCOMPARE(m.loops[loop].input.lengthM, 118.0);
    const hydraulics::LoopPresetting* p4 = h.presetting(loop);
    QCOMPARE(p4->extraPressureDropKpa, 0.0);
    QCOMPARE(p4->dialSetting, 6.0);
    QCOMPARE(p4->range, hydraulics::SettingRange::FullyOpen);
    const double v = p4->flowM3h;
    QCOMPARE(p4->valveDropKpa, v / 1.2 * (v / 1.2) * 100);
}

void ProjectHydraulicsTest::settingFallsAsExtraDropRises_data() {
    indexLoopFullyOpen_data();
}

// Sorted by the extra drop they must add, the loops' settings never rise.
void ProjectHydraulicsTest::settingFallsAsExtraDropRises() {
    QFETCH(method::Method, method);
    const ProjectResult r = computeProject(manualProject(method));
    const ManifoldHydraulicsResult& h = r.manifolds[0].hydraulics;
    std::vector<std::pair<double, double>> byDrop; // (Δp_valve, exact setting)
    for (std::size_t i = 0; i < r.manifolds[0].loops.size(); ++i)
        if (const hydraulics::LoopPresetting* p = h.presetting(i))
            byDrop.push_back({p->valveDropKpa / (p->flowM3h * p->flowM3h), p->setting});
    QCOMPARE(byDrop.size(), std::size_t(6));
    // At one flow a larger drop needs a smaller kv: compare at Δp/V̇², the
    // valve's resistance, which orders the settings whatever the flows.
    std::sort(byDrop.begin(), byDrop.end());
    for (std::size_t i = 1; i < byDrop.size(); ++i)
        QVERIFY2(
            byDrop[i].second <= byDrop[i - 1].second,
            qPrintable(
                QStringLiteral("%1 after %2").arg(byDrop[i].second).arg(byDrop[i - 1].second)));
}

void ProjectHydraulicsTest::valveThatCannotBeUsed_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<QList<double>>("kv");
    QTest::addColumn<int>("problem");
    QTest::newRow("file not read")
        << int(ValveSource::File) << QList<double>{} << int(ValveProblem::FileNotRead);
    QTest::newRow("kv falling") << int(ValveSource::Table) << QList<double>{0.5, 0.4}
                                << int(ValveProblem::TableInvalid);
    QTest::newRow("one point") << int(ValveSource::Table) << QList<double>{0.5}
                               << int(ValveProblem::TableInvalid);
    QTest::newRow("a product's table")
        << int(ValveSource::Table) << QList<double>{0.1, 0.9} << int(ValveProblem::None);
}

// A valve that cannot be used gives no setting and no flow-meter target
// rather than numbers from another valve.
void ProjectHydraulicsTest::valveThatCannotBeUsed() {
    QFETCH(int, source);
    QFETCH(QList<double>, kv);
    QFETCH(int, problem);
    Project p = manualProject(method::Method::En1264);
    ValveChoice& valve = p.manifolds[0].hydraulics.valve;
    valve.source = ValveSource(source);
    valve.file = "valves/a.json";
    valve.table.name = "阀";
    valve.table.resolution = 0.5;
    for (qsizetype i = 0; i < kv.size(); ++i) {
        valve.table.settings.push_back(double(i + 1));
        valve.table.kv.push_back(kv[i]);
    }
    const ProjectResult r = computeProject(p);
    const ManifoldHydraulicsResult& h = r.manifolds[0].hydraulics;
    QCOMPARE(int(h.valveProblem), problem);
    QVERIFY(!h.valveGeneric);
    const bool usable = problem == int(ValveProblem::None);
    QCOMPARE(h.presetting(0) != nullptr, usable);
    QCOMPARE(h.flowMeterLpm(0).has_value(), usable);
    if (usable)
        QCOMPARE(h.presetting(h.loopOfBranch[*h.hydraulics.presetting.indexLoop])->dialSetting,
                 2.0);
}

void ProjectHydraulicsTest::cuttingPlanKeepsLoopsWhole_data() {
    QTest::addColumn<QList<double>>("rolls");
    QTest::addColumn<int>("unplaced");
    QTest::newRow("100/200/300/500") << QList<double>{100, 200, 300, 500} << 0;
    QTest::newRow("only 100 m") << QList<double>{100} << 1; // the 118 m loop fits no roll
    QTest::newRow("only 120 m") << QList<double>{120} << 0;
}

// Every loop is cut whole from exactly one roll, or named as unplaced; no
// roll gives more than its length.
void ProjectHydraulicsTest::cuttingPlanKeepsLoopsWhole() {
    QFETCH(QList<double>, rolls);
    QFETCH(int, unplaced);
    Project p = manualProject(method::Method::Program);
    p.settings.materials.bill.rollLengthsM.assign(rolls.begin(), rolls.end());
    const ProjectResult r = computeProject(p);
    const MaterialsResult& m = r.materials;
    QVERIFY(m.computed);
    QCOMPARE(m.bill.pipes.size(), std::size_t(1));
    const materials::PipePlan& plan = m.bill.pipes[0];
    QCOMPARE(plan.pipe, std::string("PE 20×2"));
    std::map<std::size_t, int> cut;
    for (const materials::RollCut& roll : plan.cutting.rolls) {
        std::int64_t sum = 0;
        for (std::size_t i : roll.loops) {
            ++cut[i];
            sum +=
                std::int64_t(std::ceil(r.manifolds[0].loops[plan.loops[i]].input.lengthM * 1000));
        }
        QCOMPARE(roll.usedMm, sum);
        QVERIFY(roll.usedMm <= roll.rollMm);
    }
    QCOMPARE(int(plan.cutting.unplaced.size()), unplaced);
    for (std::size_t i : plan.cutting.unplaced)
        ++cut[i];
    QCOMPARE(cut.size(), std::size_t(6));
    for (const auto& [loop, times] : cut)
        QCOMPARE(times, 1);
}

void ProjectHydraulicsTest::rebalanceFromMeasurements_data() {
    QTest::addColumn<method::Method>("method");
    QTest::addColumn<double>("dropShare"); // measured θ_S − θ_R over the design's σ
    QTest::addColumn<bool>("flow");        // the flow meter read at the design target
    QTest::addColumn<int>("direction");    // of the proposal on the loops measured: −1, 0, +1
    QTest::newRow("as designed, program") << method::Method::Program << 1.0 << false << 0;
    QTest::newRow("as designed, EN 1264") << method::Method::En1264 << 1.0 << false << 0;
    QTest::newRow("as designed with the meters") << method::Method::En1264 << 1.0 << true << 0;
    // 4 % short stays within the ±5 % the loops are left alone in.
    QTest::newRow("4 % short") << method::Method::Program << 0.96 << true << 0;
    // 20 % short: more water, the valve opens; 20 % over: it closes.
    QTest::newRow("20 % short") << method::Method::Program << 0.8 << true << 1;
    QTest::newRow("20 % over") << method::Method::Program << 1.2 << true << -1;
}

// Every computed loop but the index loop (already fully open) measured at
// its design supply with the return set by the share of its design drop;
// the proposal keeps, opens or closes every valve alike. A measurement of
// a loop the manifold no longer has is set apart.
void ProjectHydraulicsTest::rebalanceFromMeasurements() {
    QFETCH(method::Method, method);
    QFETCH(double, dropShare);
    QFETCH(bool, flow);
    QFETCH(int, direction);
    Project p = manualProject(method);
    const ProjectResult design = computeProject(p);
    const ManifoldResult& dm = design.manifolds[0];
    RebalanceInputs& in = p.manifolds[0].rebalance;
    for (std::size_t i = 0; i < dm.loops.size(); ++i) {
        const ProjectLoop& l = dm.loops[i];
        if (!l.computed || dm.hydraulics.presetting(i)->indexLoop)
            continue;
        LoopMeasurement m{l.name, l.figures.supplyTemp,
                          l.figures.supplyTemp - dropShare * l.figures.drop};
        if (flow)
            m.flowLpm = dm.hydraulics.flowMeterLpm(i);
        in.loops.push_back(m);
    }
    QVERIFY(in.loops.size() >= 4);
    in.loops.push_back({"拆除的环路", 40, 33});
    const ProjectResult r = computeProject(p);
    const ManifoldRebalanceResult& b = r.manifolds[0].rebalance;
    QCOMPARE(b.unmatched, std::vector<std::size_t>{in.loops.size() - 1});
    std::size_t seen = 0;
    std::size_t stuck = 0;
    for (std::size_t i = 0; i < b.loops.size(); ++i) {
        if (!b.loops[i])
            continue;
        ++seen;
        const hydraulics::LoopRebalance& lr = b.loops[i]->rebalance;
        QVERIFY(lr.ok());
        const double before = dm.hydraulics.presetting(i)->dialSetting;
        QCOMPARE(b.loops[i]->settingBefore, before);
        QCOMPARE(lr.flowMeasured, flow);
        QVERIFY(std::abs(lr.outputRatio - dropShare) < 1e-9);
        // A valve already at its first setting cannot close any further.
        if (direction < 0 && before == r.manifolds[0].hydraulics.valve.settings.front()) {
            QVERIFY(lr.flags & hydraulics::RebalanceBelowTable);
            QVERIFY(!lr.change);
            ++stuck;
            continue;
        }
        QCOMPARE(lr.change, direction != 0);
        if (direction == 0)
            QCOMPARE(lr.proposedDial, before);
        else
            QVERIFY2((lr.proposedSetting - before) * direction > 0,
                     qPrintable(QStringLiteral("%1 → %2").arg(before).arg(lr.proposedSetting)));
    }
    QCOMPARE(seen, in.loops.size() - 1);
    QVERIFY(stuck < seen);
    QCOMPARE(b.changes, direction == 0 ? std::size_t(0) : seen - stuck);
}

QTEST_GUILESS_MAIN(ProjectHydraulicsTest)
#include "tst_projecthydraulics.moc"
