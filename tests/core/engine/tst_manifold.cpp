// SPDX-License-Identifier: GPL-3.0-or-later
// The manifold's loops: whole runs per loop, balancing, totals and the two
// searches, checked against relations worked out from the physics and
// against independent whole runs at the neighbouring probes.

#include "core/engine/designcheck.h"
#include "core/engine/manifold.h"
#include "core/engine/manifoldsearch.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace zorva;

namespace {

LoopInput loop(const char* name, double room, double spacing, double length,
               std::optional<double> load = std::nullopt) {
    LoopInput l;
    l.name = name;
    l.roomTemp = room;
    l.spacingMm = spacing;
    l.lengthM = length;
    l.loadW = load;
    return l;
}

// The loop's output (W) in an independent whole run at these temperatures.
double outputAt(const ManifoldInput& m, const LoopInput& l, double supply, double diff) {
    const Evaluation e = evaluateDesign(loopFields(m, l, supply, diff));
    return e.converged() ? e.heatOutput * e.area : -1;
}

// The same run's velocity (m/s) and mean floor temperature (℃).
double velocityAt(const ManifoldInput& m, const LoopInput& l, double supply, double diff) {
    const Evaluation e = evaluateDesign(loopFields(m, l, supply, diff));
    return e.converged() ? e.velocity : -1;
}
double floorAt(const ManifoldInput& m, const LoopInput& l, double supply, double diff) {
    return evaluateDesign(loopFields(m, l, supply, diff)).surfaceTemp;
}

LoopResult givenResult(double resistance, double flowKgh, double output, double area) {
    LoopResult r;
    r.run.status = RunStatus::Converged;
    r.resistance = resistance;
    r.flowKgh = flowKgh;
    r.flowLpm = litresPerMinute(flowKgh);
    r.loopOutput = output;
    r.area = area;
    return r;
}

} // namespace

Q_DECLARE_METATYPE(zorva::SearchBound)

class ManifoldTest : public QObject {
    Q_OBJECT

private slots:
    void loopRunObeysTheHeatBalance_data();
    void loopRunObeysTheHeatBalance();
    void designOfTheWindowsRoundTrips();
    void threeLoopsBalanceByHand();
    void balancingSkipsLoopsWithoutResult();
    void differenceSearchBracketsTheLoad_data();
    void differenceSearchBracketsTheLoad();
    void supplySuggestionIsTheNeediestLoop();
    void supplySuggestionKeepsToTheLimits_data();
    void supplySuggestionKeepsToTheLimits();
    void supplySuggestionReportsUnreachableAndEmpty();
    void loopRunnerGivesTheWholeRunsResults_data();
    void loopRunnerGivesTheWholeRunsResults();
};

void ManifoldTest::loopRunObeysTheHeatBalance_data() {
    QTest::addColumn<double>("room");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("length");
    QTest::addColumn<std::optional<double>>("ownDiff");
    QTest::newRow("living room") << 18.0 << 200.0 << 80.0 << std::optional<double>();
    QTest::newRow("bathroom, own difference") << 24.0 << 100.0 << 60.0 << std::optional(5.0);
    QTest::newRow("bedroom, wide spacing") << 16.0 << 300.0 << 110.0 << std::optional<double>();
}

void ManifoldTest::loopRunObeysTheHeatBalance() {
    QFETCH(double, room);
    QFETCH(double, spacing);
    QFETCH(double, length);
    QFETCH(std::optional<double>, ownDiff);
    ManifoldInput m;
    m.supplyTemp = 45;
    m.tempDiff = 8;
    LoopInput l = loop("x", room, spacing, length);
    l.ownTempDiff = ownDiff;
    const LoopResult r = computeLoop(m, l);
    QVERIFY(r.converged());
    const double diff = ownDiff.value_or(8.0);
    QCOMPARE(r.tempDiff, diff);
    QCOMPARE(r.run.returnTemp, 45 - diff);
    QCOMPARE(r.area, length * spacing / 1000);
    QCOMPARE(r.loopOutput, r.heatOutput * r.area);
    // Q = m·c·Δt with c = 4186.8 J/(kg·K): kg/h = Q·3600 / (4186.8·Δt).
    QVERIFY(qAbs(r.flowKgh - r.loopOutput * 3600 / (4186.8 * diff)) < 1e-9 * r.flowKgh);
    QVERIFY(qAbs(r.flowLpm - r.flowKgh / 60) < 1e-12 * r.flowKgh);
    QVERIFY(r.floorTemp > room && r.floorTemp < 45);
    QVERIFY(r.resistance > 0 && r.velocity > 0);
}

void ManifoldTest::designOfTheWindowsRoundTrips() {
    FieldRecord d = FieldRecord::defaults();
    d.design[ReturnTempField] = "41.5";
    d.design[DepthField] = "95"; // not the layer sum: the sheet writes 90
    const ManifoldInput m = manifoldFromFields(d);
    QCOMPARE(m.tempDiff, 8.5);
    const FieldRecord back = loopFields(m, loopFromFields(d), m.supplyTemp, m.tempDiff);
    d.design[DepthField] = "90";
    QVERIFY(back.design == d.design && back.thickness == d.thickness &&
            back.conductivity == d.conductivity && back.elbows == d.elbows);
}

void ManifoldTest::threeLoopsBalanceByHand() {
    // Resistances 12.5, 20 and 7.25 kPa: the second is the index loop, its
    // valve adds nothing, the others 7.5 and 12.75 kPa. Flows 120, 90 and
    // 60 kg/h are 2, 1.5 and 1 l/min. Pump head 20 + 4.5 = 24.5 kPa, which
    // is 24500 / (1000 · 9.80665) = 2.4983 m of water.
    std::vector<LoopResult> r{givenResult(12.5, 120, 700, 10), givenResult(20, 90, 500, 7.5),
                              givenResult(7.25, 60, 300, 5)};
    ManifoldInput m;
    m.allowance = 4.5;
    QCOMPARE(balance(r), std::optional<std::size_t>(1));
    QVERIFY(!r[0].indexLoop && r[1].indexLoop && !r[2].indexLoop);
    QCOMPARE(*r[0].valveKpa, 7.5);
    QCOMPARE(*r[1].valveKpa, 0.0);
    QCOMPARE(*r[2].valveKpa, 12.75);
    QCOMPARE(*r[0].meterLpm, 2.0);
    QCOMPARE(*r[1].meterLpm, 1.5);
    QCOMPARE(*r[2].meterLpm, 1.0);
    const ManifoldTotals t = manifoldTotals(m, r);
    QCOMPARE(t.loops, std::size_t(3));
    QCOMPARE(t.computed, std::size_t(3));
    QCOMPARE(t.area, 22.5);
    QCOMPARE(t.output, 1500.0);
    QCOMPARE(t.flowKgh, 270.0);
    QCOMPARE(t.flowLpm, 4.5);
    QCOMPARE(t.maxResistance, 20.0);
    QCOMPARE(t.pumpHeadKpa, 24.5);
    QVERIFY(qAbs(t.pumpHeadM - 2.49830) < 1e-5);
}

void ManifoldTest::balancingSkipsLoopsWithoutResult() {
    // Real runs: a long loop, a short one, and one with a difference of zero
    // that divides by zero; the fault takes no part.
    ManifoldInput m;
    std::vector<LoopInput> loops{loop("a", 18, 200, 110), loop("b", 18, 200, 40),
                                 loop("c", 18, 200, 80)};
    loops[2].ownTempDiff = 0;
    std::vector<LoopResult> r(3);
    computeLoops(m, loops, r);
    QCOMPARE(r[2].run.status, RunStatus::Faulted);
    QCOMPARE(r[2].run.fault, Fault::DivisionByZero);
    QVERIFY(r[0].resistance > r[1].resistance);
    QCOMPARE(balance(r), std::optional<std::size_t>(0));
    QCOMPARE(*r[1].valveKpa, r[0].resistance - r[1].resistance);
    QVERIFY(!r[2].valveKpa && !r[2].meterLpm && !r[2].indexLoop);
    const ManifoldTotals t = manifoldTotals(m, r);
    QCOMPARE(t.computed, std::size_t(2));
    QCOMPARE(t.pumpHeadKpa, r[0].resistance);
    QCOMPARE(t.output, r[0].loopOutput + r[1].loopOutput);
}

void ManifoldTest::differenceSearchBracketsTheLoad_data() {
    QTest::addColumn<double>("supply");
    QTest::addColumn<double>("room");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("length");
    QTest::addColumn<std::optional<double>>("load");
    QTest::addColumn<double>("maxDiff"); // the limit; 10 by default
    QTest::addColumn<int>("result");
    QTest::addColumn<SearchBound>("bound");
    using R = DiffSearch::Result;
    using B = SearchBound;
    const auto none = std::optional<double>();
    // Bounded by the load: a tenth more and the loop misses it.
    QTest::newRow("load decides") << 45.0 << 18.0 << 200.0 << 100.0 << std::optional(1900.0) << 10.0
                                  << int(R::Found) << B::Load;
    // A tiny load: the velocity of 0.25 m/s stops the difference, not the load.
    QTest::newRow("velocity decides") << 45.0 << 18.0 << 200.0 << 80.0 << std::optional(1.0) << 10.0
                                      << int(R::Found) << B::Velocity;
    // More than the load even at the largest difference the limits allow.
    QTest::newRow("largest difference") << 50.0 << 18.0 << 200.0 << 100.0 << std::optional(1500.0)
                                        << 10.0 << int(R::Found) << B::MaxTempDiff;
    // Before, the search wrote 15.3 K at 0.039 m/s; a widened limit still
    // keeps the velocity.
    QTest::newRow("widened limit, velocity decides")
        << 50.0 << 18.0 << 200.0 << 100.0 << std::optional(1500.0) << 20.0 << int(R::Found)
        << B::Velocity;
    QTest::newRow("load beyond the smallest difference")
        << 45.0 << 18.0 << 300.0 << 30.0 << std::optional(5000.0) << 10.0 << int(R::CannotServe)
        << B::Load;
    // At 5 K the load is reached, but the water is already too slow.
    QTest::newRow("too slow at the smallest difference")
        << 45.0 << 18.0 << 300.0 << 30.0 << std::optional(200.0) << 10.0 << int(R::CannotServe)
        << B::Velocity;
    // 100 W/m² in a bathroom at 24 ℃: over the 29 ℃ mean floor limit.
    QTest::newRow("floor over its limit") << 55.0 << 24.0 << 150.0 << 60.0 << std::optional(900.0)
                                          << 10.0 << int(R::CannotServe) << B::FloorLimit;
    QTest::newRow("supply above its limit")
        << 65.0 << 18.0 << 200.0 << 100.0 << std::optional(1500.0) << 10.0 << int(R::CannotServe)
        << B::SupplyLimit;
    QTest::newRow("room too close to the supply")
        << 45.0 << 41.0 << 200.0 << 80.0 << std::optional(100.0) << 10.0 << int(R::CannotServe)
        << B::RoomTemp;
    QTest::newRow("no load") << 45.0 << 18.0 << 200.0 << 80.0 << none << 10.0 << int(R::NoLoad)
                             << B::None;
}

// The answer against independent whole runs: the difference found keeps the
// load and the velocity, a tenth more breaks the rule named as its bound;
// a loop not served breaks that rule at the smallest difference.
void ManifoldTest::differenceSearchBracketsTheLoad() {
    QFETCH(double, supply);
    QFETCH(double, room);
    QFETCH(double, spacing);
    QFETCH(double, length);
    QFETCH(std::optional<double>, load);
    QFETCH(double, maxDiff);
    QFETCH(int, result);
    QFETCH(SearchBound, bound);
    ManifoldInput m;
    m.supplyTemp = supply;
    CheckLimits limits;
    limits.maxTempDiff = maxDiff;
    const LoopInput l = loop("x", room, spacing, length, load);
    const DiffSearch s = tempDiffForLoad(m, l, limits);
    QCOMPARE(int(s.result), result);
    QCOMPARE(s.bound, bound);
    const auto serves = [&](double d) {
        return outputAt(m, l, supply, d) >= *load && velocityAt(m, l, supply, d) >= 0.25;
    };
    if (s.result == DiffSearch::Result::Found) {
        QCOMPARE(std::round(s.tempDiff * 10), s.tempDiff * 10); // whole tenths
        QVERIFY(s.tempDiff >= 5 && s.tempDiff <= maxDiff);
        QVERIFY(serves(s.tempDiff));
        QVERIFY(floorAt(m, l, supply, s.tempDiff) <= 29);
        const double next = s.tempDiff + 0.1;
        if (bound == SearchBound::MaxTempDiff)
            QCOMPARE(s.tempDiff, maxDiff);
        else if (bound == SearchBound::Load)
            QVERIFY(outputAt(m, l, supply, next) < *load);
        else
            QVERIFY(velocityAt(m, l, supply, next) < 0.25 && outputAt(m, l, supply, next) >= *load);
        QVERIFY(s.probes <= 12);
    } else if (bound == SearchBound::Load) {
        QVERIFY(outputAt(m, l, supply, 5) < *load);
    } else if (bound == SearchBound::Velocity) {
        QVERIFY(outputAt(m, l, supply, 5) >= *load && velocityAt(m, l, supply, 5) < 0.25);
    }
}

void ManifoldTest::supplySuggestionIsTheNeediestLoop() {
    ManifoldInput m;
    m.tempDiff = 5;
    // Bathroom at 24 ℃ with a dense load needs the most; its floor is over
    // the 29 ℃ of a living room, so the rooms are taken as unoccupied here.
    CheckLimits limits;
    limits.category = RoomCategory::Unoccupied;
    std::vector<LoopInput> loops{loop("卧室", 18, 200, 90, 600), loop("卫生间", 24, 150, 40, 520),
                                 loop("储藏", 16, 300, 50), loop("客厅", 18, 200, 100, 800)};
    std::vector<SupplyNeed> needs;
    for (const LoopInput& l : loops) {
        needs.push_back(requiredSupplyForLoop(m, l, limits));
        const SupplyNeed& n = needs.back();
        if (!l.loadW) {
            QCOMPARE(n.result, SupplyNeed::Result::NoLoad);
            continue;
        }
        QCOMPARE(n.result, SupplyNeed::Result::Found);
        QCOMPARE(n.supplyTemp * 10, std::round(n.supplyTemp * 10));
        QVERIFY(outputAt(m, l, n.supplyTemp, 5) >= *l.loadW);
        QVERIFY(outputAt(m, l, n.supplyTemp - 0.1, 5) < *l.loadW);
        // Marked when the water is too slow at the need, and only then.
        QCOMPARE(n.breaks == SearchBound::Velocity, velocityAt(m, l, n.supplyTemp, 5) < 0.25);
    }
    const SupplySuggestion s = suggestSupplyTemp(m, loops, limits);
    QCOMPARE(s.result, SupplySuggestion::Result::Found);
    std::size_t neediest = 0;
    for (std::size_t i = 1; i < needs.size(); ++i)
        if (needs[i].supplyTemp > needs[neediest].supplyTemp)
            neediest = i;
    QCOMPARE(s.decidingLoop, std::optional(neediest));
    QCOMPARE(s.supplyTemp, needs[neediest].supplyTemp);
    // With the suggestion applied every loop with a load reaches it.
    m.supplyTemp = s.supplyTemp;
    for (const LoopInput& l : loops)
        if (l.loadW)
            QVERIFY(computeLoop(m, l).loopOutput >= *l.loadW);
}

void ManifoldTest::supplySuggestionKeepsToTheLimits_data() {
    QTest::addColumn<double>("maxSupply");
    QTest::addColumn<int>("category");
    QTest::addColumn<std::optional<double>>("suggestion"); // empty: none
    QTest::addColumn<int>("unreachable");
    const int longStay = int(RoomCategory::LongStay);
    const int unoccupied = int(RoomCategory::Unoccupied);
    // Loop b needs 55.6 ℃; its floor (100 W/m² at 24 ℃, about 33.8 ℃) is over
    // 29 ℃ but within 42 ℃. Loop a needs 42.3 ℃.
    QTest::newRow("floor limit leaves b out") << 60.0 << longStay << std::optional(42.3) << 2;
    QTest::newRow("unoccupied serves b") << 60.0 << unoccupied << std::optional(55.6) << 1;
    // Before, 95 ℃ was the top of the search.
    QTest::newRow("supply limit 50 ℃") << 50.0 << unoccupied << std::optional(42.3) << 2;
    QTest::newRow("nothing below 40 ℃") << 40.0 << longStay << std::optional<double>() << 3;
}

// Independent runs decide each loop: its need is the lowest tenth that
// reaches the load, within the supply limit and with its floor in bounds.
void ManifoldTest::supplySuggestionKeepsToTheLimits() {
    QFETCH(double, maxSupply);
    QFETCH(int, category);
    QFETCH(std::optional<double>, suggestion);
    QFETCH(int, unreachable);
    ManifoldInput m;
    CheckLimits limits;
    limits.maxSupplyTemp = maxSupply;
    limits.category = static_cast<RoomCategory>(category);
    const std::vector<LoopInput> loops{loop("a", 18, 200, 90, 1200), loop("b", 24, 150, 60, 900),
                                       loop("c", 18, 300, 10, 9000)};
    const SupplySuggestion s = suggestSupplyTemp(m, loops, limits);
    QCOMPARE(s.unreachable, std::size_t(unreachable));
    if (!suggestion) {
        QCOMPARE(s.result, SupplySuggestion::Result::NotReachable);
        QCOMPARE(s.decidingLoop, std::optional<std::size_t>(0));
        return;
    }
    QCOMPARE(s.result, SupplySuggestion::Result::Found);
    QCOMPARE(s.supplyTemp, *suggestion);
    const LoopInput& deciding = loops[*s.decidingLoop];
    QVERIFY(outputAt(m, deciding, s.supplyTemp, 10) >= *deciding.loadW);
    QVERIFY(outputAt(m, deciding, s.supplyTemp - 0.1, 10) < *deciding.loadW);
    QVERIFY(s.supplyTemp <= maxSupply);
    QVERIFY(floorAt(m, deciding, s.supplyTemp, 10) <= floorTempLimit(limits.category));
    QVERIFY(outputAt(m, loops[2], maxSupply, 10) < 9000);
}

void ManifoldTest::supplySuggestionReportsUnreachableAndEmpty() {
    ManifoldInput m;
    std::vector<LoopInput> loops{loop("a", 18, 200, 90, 600), loop("b", 18, 300, 10, 9000),
                                 loop("c", 18, 300, 10, 9000)};
    SupplySuggestion s = suggestSupplyTemp(m, loops);
    // The loops that cannot be served are counted; the others still decide.
    QCOMPARE(s.result, SupplySuggestion::Result::Found);
    QCOMPARE(s.decidingLoop, std::optional<std::size_t>(0));
    QCOMPARE(s.unreachable, std::size_t(2));
    QVERIFY(outputAt(m, loops[1], 60, m.tempDiff) < 9000);

    loops.erase(loops.begin());
    s = suggestSupplyTemp(m, loops);
    QCOMPARE(s.result, SupplySuggestion::Result::NotReachable);
    QCOMPARE(s.decidingLoop, std::optional<std::size_t>(0));

    for (LoopInput& l : loops)
        l.loadW.reset();
    s = suggestSupplyTemp(m, loops);
    QCOMPARE(s.result, SupplySuggestion::Result::NoLoads);
    QVERIFY(!s.decidingLoop);
}

void ManifoldTest::loopRunnerGivesTheWholeRunsResults_data() {
    QTest::addColumn<double>("secondLayers"); // the second manifold's levelling and filling, mm
    QTest::addColumn<double>("ownDiff");      // the third loop's own difference; 0: none
    QTest::addColumn<int>("faulted");         // of the five runs
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("one manifold") << 20.0 << 0.0 << 0;
    QTest::newRow("other layers") << 35.0 << 0.0 << 0;
    QTest::newRow("minus zero layers are another manifold") << -0.0 << 6.0 << 0;
    QTest::newRow("own difference") << 20.0 << 12.5 << 0;
    // The depth text overflows for the second manifold's two loops.
    QTest::newRow("layer sum overflows") << 1.7e308 << 0.0 << 2;
    // The return text overflows for the loop with its own difference, on both manifolds.
    QTest::newRow("return temperature overflows") << 20.0 << -inf << 2;
}

// Loops of alternating manifolds through one runner: each result is bit for
// bit the whole run's, faults included.
void ManifoldTest::loopRunnerGivesTheWholeRunsResults() {
    QFETCH(double, secondLayers);
    QFETCH(double, ownDiff);
    QFETCH(int, faulted);
    ManifoldInput first;
    first.supplyTemp = 48;
    ManifoldInput second = first;
    second.thickness[1] = secondLayers;
    second.thickness[2] = secondLayers;
    LoopInput own = loop("c", 18, 150, 90);
    if (ownDiff != 0)
        own.ownTempDiff = ownDiff;
    const std::vector<std::pair<ManifoldInput, LoopInput>> runs{{first, loop("a", 20, 200, 80)},
                                                                {first, loop("b", 16, 300, 120)},
                                                                {second, own},
                                                                {second, loop("d", 22, 100, 60)},
                                                                {first, own}};
    LoopRunner runner;
    int faults = 0;
    const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    for (const auto& [m, l] : runs) {
        const LoopResult got = runner.compute(m, l);
        const LoopResult whole = computeLoop(m, l);
        faults += got.run.status == RunStatus::Faulted;
        QCOMPARE(got.run.status, whole.run.status);
        QCOMPARE(got.run.fault, whole.run.fault);
        for (const auto& [a, b] : {std::pair{got.tempDiff, whole.tempDiff},
                                   {got.area, whole.area},
                                   {got.heatOutput, whole.heatOutput},
                                   {got.floorTemp, whole.floorTemp},
                                   {got.flowKgh, whole.flowKgh},
                                   {got.velocity, whole.velocity},
                                   {got.resistance, whole.resistance},
                                   {double(got.run.returnTemp), double(whole.run.returnTemp)}})
            QCOMPARE(bits(a), bits(b));
    }
    QCOMPARE(faults, faulted);
}

QTEST_APPLESS_MAIN(ManifoldTest)
#include "tst_manifold.moc"
