// SPDX-License-Identifier: GPL-3.0-or-later
// The project pipeline: loads, loops of rooms, the manifolds' loops by
// either method and the EN 1264-3 design, against worked examples and
// numbers worked out by hand from the formulas of docs/project.md.

#include "core/engine/manifold.h"
#include "core/project/compute.h"
#include "core/project/construction.h"

#include <QTest>

#include <cmath>

using namespace zorva;
using namespace zorva::project;

Q_DECLARE_METATYPE(zorva::project::RoomProblem)
Q_DECLARE_METATYPE(zorva::project::LoadProblem)

namespace {

bool near(double got, double expected, double relative) {
    return std::fabs(got - expected) <= relative * std::max(1.0, std::fabs(expected));
}

// The floor of EN 1264-2 example (a): PE-X 20 × 2 mm of λ 0.35, 45 mm of
// screed of λ 1.2 above the pipe (20 mm levelling, 45 mm filling), the
// room's covering as the surface layer.
ManifoldInput exampleConstruction() {
    ManifoldInput m;
    m.supplyTemp = 45;
    m.tempDiff = 10;
    m.thickness = {10, 20, 45, 2};
    m.conductivity = {0.1, 1.2, 1.2, 0.35};
    m.pipeDiameter = 20;
    m.elbows = 2;
    return m;
}

Room typedRoom(const char* name, double temp, double load, double area, double spacing) {
    Room r;
    r.name = name;
    r.category = RoomCategory::Residential;
    r.indoorTemp = temp;
    r.floorArea = area;
    r.heatedArea = area;
    r.typedLoad = load;
    r.overrides.spacing = spacing;
    // Below: a heated room at 20 ℃, 0.75 + 0.08 + 0.02 (+ 0.17) m²·K/W.
    r.below.kind = en1264::BelowKind::HeatedRoom;
    r.below.insulation = 0.75;
    r.below.slab = 0.08;
    r.below.plaster = 0.02;
    r.below.temp = 20;
    return r;
}

// Example A of the system design sheet without its bathroom (which never
// sets the supply): 客厅, 主卧, 次卧 with their loads, areas and spacings.
Project exampleA() {
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.manifolds[0].input = exampleConstruction();
    Room living = typedRoom("客厅", 20, 2100, 30, 0.15);
    living.overrides.loopCount = 2;
    p.rooms = {living, typedRoom("主卧", 20, 960, 16, 0.20), typedRoom("次卧", 18, 660, 12, 0.25)};
    return p;
}

// K_H of example (a)'s floor at a spacing for a covering of 0.10 or 0.05
// m²·K/W, by hand: 6.7·a_B·a_T^(1 − T/0.075) (m_U = m_D = 0, reference
// pipe), a_B = (1/10.8 + 0.045)/(1/10.8 + 0.045/1.2 + R), a_T from table 1.
double handCharacteristic(double spacing, double covering) {
    const double aT = covering == 0.10 ? 1.156 : 1.188;
    const double aB = (1 / 10.8 + 0.045) / (1 / 10.8 + 0.045 / 1.2 + covering);
    return 6.7 * aB * std::pow(aT, 1 - spacing / 0.075);
}

double logMean(double supply, double ret, double room) {
    return (supply - ret) / std::log((supply - room) / (ret - room));
}

} // namespace

class ProjectPipelineTest : public QObject {
    Q_OBJECT

private slots:
    void systemDesignExampleA_data();
    void systemDesignExampleA();
    void programMethodIsTheSheet();
    void programMethodRoom();
    void unreachableLoad();
    void overridesMarked_data();
    void overridesMarked();
    void peripheralZoneWater();
    void fixedPairKeepsSpacing();
    void manualLoopInDesign();
    void refusedRooms_data();
    void refusedRooms();
    void cancel();
};

// The sheet's example A to its printed digits, through the rooms, their
// loops and the EN 1264-3 design of the project's manifold.
void ProjectPipelineTest::systemDesignExampleA_data() {
    QTest::addColumn<double>("got");
    QTest::addColumn<double>("expected");
    const ProjectResult r = computeProject(exampleA());
    QVERIFY(!r.cancelled);
    QCOMPARE(r.manifolds.size(), std::size_t(1));
    const ManifoldResult& m = r.manifolds[0];
    QVERIFY(m.design && m.design->designed());
    QCOMPARE(m.loops.size(), std::size_t(4));
    const auto loop = [&](std::size_t i) { return m.loops[i].figures; };
    QTest::newRow("θ_V") << m.design->designSupplyTemp << 42.69708;
    QTest::newRow("客厅-1 σ") << loop(0).drop << 5.0;
    QTest::newRow("客厅-2 θ_R") << loop(1).returnTemp << 37.69708;
    QTest::newRow("主卧 σ") << loop(2).drop << 7.25741;
    QTest::newRow("次卧 σ") << loop(3).drop << 10.01928;
    QTest::newRow("主卧 θ_R") << loop(2).returnTemp << 35.43967;
    QTest::newRow("次卧 θ_R") << loop(3).returnTemp << 32.67781;
    QTest::newRow("客厅-1 kg/h") << loop(0).flowKgh << 442.2622 / 2;
    QTest::newRow("主卧 kg/h") << loop(2).flowKgh << 139.29;
    QTest::newRow("次卧 kg/h") << loop(3).flowKgh << 67.34691;
    QTest::newRow("客厅 q_u") << *loop(0).downwardOutput << 15.79067;
    QTest::newRow("主卧 q_u") << *loop(2).downwardOutput << 13.53486;
    QTest::newRow("次卧 q_u") << *loop(3).downwardOutput << 10.44617;
    QTest::newRow("客厅 θ_F,m") << loop(0).floorTempMean << 26.50719;
    QTest::newRow("主卧 θ_F,m") << loop(2).floorTempMean << 25.65631;
    QTest::newRow("次卧 θ_F,m") << loop(3).floorTempMean << 23.22613;
    QTest::newRow("客厅 q_G") << loop(1).limitOutput << 98.39302;
    QTest::newRow("次卧 q_G") << loop(3).limitOutput << 114.0308;
    QTest::newRow("Σ water heat") << m.totals.waterOutput << 2573.72 + 1176.558 + 785.354;
    QTest::newRow("no supplementary") << m.totals.supplementaryHeat << 0.0;
    QTest::newRow("客厅 loops") << double(r.rooms[0].design.loops.size()) << 2.0;
}

void ProjectPipelineTest::systemDesignExampleA() {
    QFETCH(double, got);
    QFETCH(double, expected);
    QVERIFY2(near(got, expected, 5e-7), qPrintable(QString::number(got, 'g', 10)));
}

// A project of manual loops by the program's method is the manifold
// sheet: each loop computeLoop's run, balanced and added up the same way.
void ProjectPipelineTest::programMethodIsTheSheet() {
    Project p = newProject();
    p.settings.method = method::Method::Program;
    ManifoldInput& input = p.manifolds[0].input;
    input.supplyTemp = 50;
    input.tempDiff = 8;
    input.allowance = 5;
    const std::vector<LoopInput> loops = {
        {"客厅", 18, 200, 95, 1450, std::nullopt},
        {"卫生间", 24, 100, 38, 420, 5.0},
        {"次卧", 16, 300, 120, std::nullopt, std::nullopt},
    };
    for (const LoopInput& l : loops)
        p.manifolds[0].loops.push_back({l, {}});
    std::vector<LoopResult> sheet(loops.size());
    computeLoops(input, loops, sheet);
    balance(sheet);
    const zorva::ManifoldTotals expected = manifoldTotals(input, sheet);

    const ProjectResult r = computeProject(p);
    const ManifoldResult& m = r.manifolds[0];
    QCOMPARE(m.loops.size(), loops.size());
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const ProjectLoop& l = m.loops[i];
        QVERIFY(l.computed);
        QCOMPARE(l.figures.heatOutput, sheet[i].heatOutput);
        QCOMPARE(l.figures.flowKgh, sheet[i].flowKgh);
        QCOMPARE(l.figures.pressureDrop, sheet[i].resistance);
        QCOMPARE(l.figures.floorTempMean, sheet[i].floorTemp);
        QCOMPARE(l.figures.returnTemp, input.supplyTemp - sheet[i].tempDiff);
        QCOMPARE(l.indexLoop, sheet[i].indexLoop);
        QCOMPARE(l.valveKpa, sheet[i].valveKpa);
    }
    QCOMPARE(m.totals.output, expected.output);
    QCOMPARE(m.totals.pumpHeadKpa, expected.pumpHeadKpa);
    QCOMPARE(m.totals.indexLoop, expected.indexLoop);
    QVERIFY(!m.design);
}

// A room by the program's method: each spacing is one whole run of the loop
// the room would get at it, L = (A/T)/n + 2·l_A with the fewest n within
// 120 m, against the output at the category's mean floor limit; the loops
// are the runs of their own lengths.
void ProjectPipelineTest::programMethodRoom() {
    Project p = newProject();
    p.settings.method = method::Method::Program;
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.manifolds[0].input = exampleConstruction();
    Room room = typedRoom("客厅", 20, 30 * 55.0, 30, 0);
    room.overrides.spacing.reset();
    room.category = RoomCategory::LongStay;
    room.leaderLength = 6;
    p.rooms = {room};
    const ProjectResult r = computeProject(p);
    const RoomResult& result = r.rooms[0];
    QVERIFY(result.designed());
    const ManifoldInput construction = withCovering(exampleConstruction(), 0.10);
    const double limit = maxOutputForFloorLimit(20, floorTempLimit(RoomCategory::LongStay));
    double widest = 0;
    for (const rooms::SpacingTrial& t : result.design.trials) {
        const double pipe = 30 / t.spacing;
        const double n = std::ceil(pipe / (120 - 12));
        const LoopResult run =
            computeLoop(construction, {"", 20, t.spacing * 1000, pipe / n + 12, {}, {}});
        QVERIFY(run.converged());
        QCOMPARE(t.output.heatFlux, run.heatOutput);
        QCOMPARE(t.output.limitFlux, limit);
        if (std::min(run.heatOutput, limit) >= 55)
            widest = t.spacing;
    }
    QVERIFY(widest > 0);
    QCOMPARE(result.design.spacing, widest);
    for (std::size_t i : result.loops) {
        const ProjectLoop& l = r.manifolds[0].loops[i];
        const LoopResult run = computeLoop(construction, l.input);
        QCOMPARE(l.figures.heatOutput, run.heatOutput);
        QCOMPARE(l.figures.pressureDrop, run.resistance);
        QCOMPARE(l.figures.supplementaryHeat,
                 std::max(0.0, *l.input.loadW - std::min(run.loopOutput, limit * run.area)));
    }
}

// A bathroom that the floor cannot heat at 45 ℃: the narrowest spacing,
// the loops within every limit, and the rest as supplementary heat,
// q(0.10 m) = K_H·Δθ_H at 45/40/25 ℃ by hand.
void ProjectPipelineTest::unreachableLoad() {
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.manifolds[0].input = exampleConstruction();
    Room bath = typedRoom("卫生间", 25, 400, 4.32, 0);
    bath.overrides.spacing.reset();
    bath.heatedArea = 2.6;
    bath.category = RoomCategory::Bathroom;
    bath.coveringResistance = 0.05;
    bath.leaderLength = 4;
    p.rooms = {bath};
    const ProjectResult r = computeProject(p);
    const RoomResult& room = r.rooms[0];
    QVERIFY(room.designed());
    QCOMPARE(room.design.status, rooms::RoomStatus::Shortfall);
    QCOMPARE(room.design.spacing, 0.10);
    const double q = handCharacteristic(0.10, 0.05) * logMean(45, 40, 25);
    QVERIFY2(near(room.supplementaryHeat, 400 - q * 2.6, 1e-9),
             qPrintable(QString::number(room.supplementaryHeat, 'g', 12)));
    QCOMPARE(room.design.loops.size(), std::size_t(1));
    const ProjectLoop& loop = r.manifolds[0].loops[0];
    QVERIFY(loop.computed);
    QVERIFY(loop.figures.length <= 120);
    QVERIFY(loop.figures.pressureDrop <= 30);
    QVERIFY(loop.figures.withinLimit);
    QVERIFY(near(loop.figures.supplementaryHeat, room.supplementaryHeat, 1e-9));
    QVERIFY(near(r.totals.supplementaryHeat, room.supplementaryHeat, 1e-9));
    QCOMPARE(room.design.marks & rooms::BreaksLimits, 0u);
}

void ProjectPipelineTest::overridesMarked_data() {
    QTest::addColumn<std::optional<double>>("spacing");
    QTest::addColumn<std::optional<int>>("count");
    QTest::addColumn<std::optional<double>>("length");
    QTest::addColumn<unsigned>("marks");
    QTest::addColumn<int>("loops");
    QTest::addColumn<double>("firstLength");
    // 20 m² at 0.20 m: 100 m of pipe and 2 × 5 m of leaders, one loop.
    QTest::newRow("none") << std::optional<double>() << std::optional<int>()
                          << std::optional<double>() << 0u << 1 << 110.0;
    QTest::newRow("spacing 0.25 m")
        << std::optional<double>(0.25) << std::optional<int>() << std::optional<double>()
        << unsigned(rooms::SpacingOverridden) << 1 << 90.0;
    QTest::newRow("three loops") << std::optional<double>() << std::optional<int>(3)
                                 << std::optional<double>() << unsigned(rooms::LoopCountOverridden)
                                 << 3 << 100.0 / 3 + 10;
    QTest::newRow("measured 130 m")
        << std::optional<double>() << std::optional<int>() << std::optional<double>(130.0)
        << unsigned(rooms::LengthOverridden | rooms::BreaksLimits) << 1 << 130.0;
}

// Overrides are used as given, marked, and reach the EN 1264-3 design.
void ProjectPipelineTest::overridesMarked() {
    QFETCH(std::optional<double>, spacing);
    QFETCH(std::optional<int>, count);
    QFETCH(std::optional<double>, length);
    QFETCH(unsigned, marks);
    QFETCH(int, loops);
    QFETCH(double, firstLength);
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.manifolds[0].input = exampleConstruction();
    Room room = typedRoom("书房", 20, 20 * 50.0, 20, 0);
    room.overrides.spacing = spacing;
    room.overrides.loopCount = count;
    if (length)
        room.overrides.loopLengths = {length};
    room.leaderLength = 5;
    p.settings.conditions.spacings = {0.20};
    p.rooms = {room};
    const ProjectResult r = computeProject(p);
    const RoomResult& result = r.rooms[0];
    QVERIFY(result.designed());
    QCOMPARE(result.design.marks, marks);
    QCOMPARE(int(result.loops.size()), loops);
    const ProjectLoop& first = r.manifolds[0].loops[result.loops[0]];
    QCOMPARE(first.name, std::string("书房-1"));
    QVERIFY(near(first.figures.length, firstLength, 1e-12));
    QVERIFY(near(r.manifolds[0].design->loops[0].length, firstLength, 1e-12));
}

// The water of a peripheral zone reaches the flow: Σ ṁ·c_W·σ over the
// room's loops = the occupied part's A·(q + q_u) and the zone's
// A_z·(q_z + q_u,z), q_u,z = (R_o·q_z + θ_i − θ_u)/R_u by hand with
// R_o = 1/10.8 + R_λ,B + s_u/λ_E.
void ProjectPipelineTest::peripheralZoneWater() {
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.manifolds[0].input = exampleConstruction();
    Room room = typedRoom("客厅", 20, 2000, 30, 0);
    room.overrides.spacing.reset();
    room.peripheral = rooms::PeripheralZone{0.8, 6, 0.10};
    p.rooms = {room};
    const ProjectResult r = computeProject(p);
    const RoomResult& result = r.rooms[0];
    QVERIFY(result.designed());
    const ManifoldResult& m = r.manifolds[0];
    const en1264::RoomDesign& occupied = m.design->rooms[*result.standardRoom];
    QVERIFY(occupied.designed());
    const double zoneArea = 0.8 * 6;
    const double zoneFlux = result.design.peripheralHeat / zoneArea;
    const double ro = 1 / 10.8 + 0.10 + 0.045 / 1.2;
    const double ru = 0.75 + 0.08 + 0.02 + 0.17;
    const double zoneWater = zoneArea * (zoneFlux + (ro * zoneFlux + 20 - 20) / ru);
    const double occupiedWater = (30 - zoneArea) * (occupied.heatOutput + occupied.downwardOutput);
    double water = 0;
    for (std::size_t i : result.loops)
        water += m.design->loops[i].massFlow * 4190 * m.design->loops[i].drop;
    QVERIFY2(near(water, occupiedWater + zoneWater, 1e-9), qPrintable(QString::number(water)));
    QVERIFY(near(m.totals.waterOutput, occupiedWater + zoneWater, 1e-9));
    QVERIFY(near(m.totals.output, 2000, 1e-9));
}

// The fixed pair takes the spacing the room's loops were laid at, not the
// pair's own choice among the candidates.
void ProjectPipelineTest::fixedPairKeepsSpacing() {
    Project p = exampleA();
    p.settings.standard.mode = en1264::DesignMode::FixedPair;
    const ProjectResult r = computeProject(p);
    const en1264::ManifoldDesign& d = *r.manifolds[0].design;
    QVERIFY(d.designed());
    QCOMPARE(d.designSupplyTemp, 45.0);
    QCOMPARE(d.rooms.size(), std::size_t(3));
    QCOMPARE(d.rooms[0].spacing, 0.15);
    QCOMPARE(d.rooms[1].spacing, 0.20);
    QCOMPARE(d.rooms[2].spacing, 0.25);
    for (const ProjectLoop& l : r.manifolds[0].loops) {
        QVERIFY(l.computed);
        QCOMPARE(l.figures.drop, 10.0);
    }
    // 次卧 at 45/35/18 ℃: K_H(0.25)·Δθ_H = 2.856706 × 21.61585 ≥ 55 W/m².
    QVERIFY(near(d.rooms[2].availableOutput, 2.856706 * 21.61585, 5e-7));
}

// A manual loop in the EN 1264-3 design is a room of length × spacing with
// its load: q_des = load / area.
void ProjectPipelineTest::manualLoopInDesign() {
    Project p = newProject();
    p.manifolds[0].input = exampleConstruction();
    p.manifolds[0].loops.push_back({{"走廊", 20, 150, 100, 1050, std::nullopt}, {}});
    p.manifolds[0].loops.push_back({{"储藏", 20, 150, 60, std::nullopt, std::nullopt}, {}});
    const ProjectResult r = computeProject(p);
    const en1264::ManifoldDesign& d = *r.manifolds[0].design;
    QCOMPARE(d.rooms[0].designFlux, 1050 / 15.0);
    QCOMPARE(d.rooms[0].spacing, 0.15);
    QVERIFY(r.manifolds[0].loops[0].computed);
    // 70 W/m² at 0.15 m sets the supply as in example A.
    QVERIFY(near(d.designSupplyTemp, 42.69708, 5e-7));
    // Without a load the loop has no design, and says so.
    QCOMPARE(d.rooms[1].problem, en1264::RoomProblem::NoHeatLoad);
    QVERIFY(!r.manifolds[0].loops[1].computed);
    QVERIFY(r.manifolds[0].loops[1].sheet.computed());
}

void ProjectPipelineTest::refusedRooms_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<RoomProblem>("problem");
    QTest::addColumn<LoadProblem>("load");
    QTest::newRow("typed, none given") << 0 << RoomProblem::Load << LoadProblem::NoTypedLoad;
    QTest::newRow("station not in the table")
        << 1 << RoomProblem::Load << LoadProblem::UnknownStation;
    QTest::newRow("no outdoor temperature") << 2 << RoomProblem::Load << LoadProblem::NoOutdoorTemp;
    QTest::newRow("envelope refused") << 3 << RoomProblem::Load << LoadProblem::Refused;
    QTest::newRow("no such manifold") << 4 << RoomProblem::NoManifold << LoadProblem::None;
    QTest::newRow("heated area above floor") << 5 << RoomProblem::Design << LoadProblem::None;
    QTest::newRow("typed station wins") << 6 << RoomProblem::None << LoadProblem::None;
}

void ProjectPipelineTest::refusedRooms() {
    QFETCH(int, variant);
    QFETCH(RoomProblem, problem);
    QFETCH(LoadProblem, load);
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Gb50736;
    Room room = typedRoom("次卧", 18, 500, 10, 0.2);
    heatload::RoomEnvelope envelope;
    envelope.height = 2.8;
    envelope.elements.push_back({.name = "北外墙", .area = 8, .u = 1.0});
    envelope.elements.back().orientation = heatload::Orientation::N;
    room.envelope = envelope;
    p.settings.heatLoad.climate.stationId = "54511";
    switch (variant) {
    case 0:
        p.settings.heatLoad.method = LoadMethod::Typed;
        room.typedLoad.reset();
        break;
    case 1:
        break; // no table given
    case 2:
        p.settings.heatLoad.climate.stationId.clear();
        break;
    case 3:
        p.settings.heatLoad.climate.outdoorTemp = -7.6;
        room.envelope->elements[0].area = -1;
        break;
    case 4:
        p.settings.heatLoad.method = LoadMethod::Typed;
        room.manifold = 3;
        break;
    case 5:
        p.settings.heatLoad.method = LoadMethod::Typed;
        room.heatedArea = 11;
        break;
    case 6:
        p.settings.heatLoad.climate.outdoorTemp = -7.6;
        break;
    }
    p.rooms = {room};
    const ProjectResult r = computeProject(p);
    QCOMPARE(r.rooms[0].problem, problem);
    QCOMPARE(r.rooms[0].load.problem, load);
    QCOMPARE(r.manifolds[0].loops.size(), problem == RoomProblem::None ? std::size_t(1) : 0);
    if (variant == 6) // 8 m² × 1.0 × (16 + 7.6) K × 1.10 + 0.28·ρ·14·23.6
        QVERIFY(near(r.rooms[0].load.heatLoad,
                     8 * 23.6 * 1.1 + 0.28 * 353 / 265.4 * 0.5 * 10 * 2.8 * 23.6, 1e-12));
}

// The progress callback is asked before every room and manifold; false
// stops at once with what was done.
void ProjectPipelineTest::cancel() {
    Project p = exampleA();
    std::vector<std::size_t> seen;
    ComputeOptions options;
    options.progress = [&](std::size_t done, std::size_t total) {
        seen.push_back(done);
        return !(total == 4 && done == 2);
    };
    const ProjectResult stopped = computeProject(p, options);
    QVERIFY(stopped.cancelled);
    QCOMPARE(stopped.rooms.size(), std::size_t(2));
    QVERIFY(stopped.manifolds.empty());
    QCOMPARE(seen, (std::vector<std::size_t>{0, 1, 2}));
    seen.clear();
    options.progress = [&](std::size_t done, std::size_t) {
        seen.push_back(done);
        return true;
    };
    const ProjectResult whole = computeProject(p, options);
    QVERIFY(!whole.cancelled);
    QCOMPARE(seen, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
}

QTEST_APPLESS_MAIN(ProjectPipelineTest)
#include "tst_projectpipeline.moc"
