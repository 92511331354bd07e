// SPDX-License-Identifier: GPL-3.0-or-later
// Cooling through the project pipeline (docs/project.md, "Cooling"): the
// worked examples of docs/cooling.md laid as project rooms and computed to
// their printed digits, the dew point against psychrometric values, no
// proposed supply below the dew point plus margin over random rooms, and the
// heating results of a both-seasons project equal to those of heating alone.

#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/project/compute.h"

#include <QTest>

#include <cmath>
#include <random>

using namespace zorva;
using namespace zorva::project;

namespace {

// Seven significant digits, as docs/cooling.md prints them.
bool digits7(double got, double expected) {
    return std::fabs(got - expected) <= 0.5e-6 * std::fabs(expected) + 1e-12;
}

// One room of `loops` loops of `length` m at `spacing` on the default
// construction (tile 20 mm λ 2.91, levelling 20 mm λ 1.84, filling 50 mm
// λ 1.28, pipe 20×2 λ 0.41) over a heated room (R_u = 0.75 + 0.17).
Project exampleProject(double spacing, int loops, double length, double covering, double supply,
                       double rise, double humidity, double load, Season season = Season::Both) {
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.settings.cooling.season = season;
    p.manifolds[0].cooling.supplyTemp = supply;
    p.manifolds[0].cooling.returnTemp = supply + rise;
    Room room;
    room.name = "房间";
    room.indoorTemp = 20;
    room.floorArea = spacing * length * loops;
    room.heatedArea = room.floorArea;
    room.coveringResistance = covering;
    room.typedLoad = 1200;
    room.overrides.spacing = spacing;
    room.overrides.loopCount = loops;
    room.overrides.loopLengths.assign(std::size_t(loops), length);
    room.cooling.humidity = humidity;
    room.cooling.sensibleLoad = load;
    p.rooms.push_back(room);
    return p;
}

std::string figuresText(const LoopFigures& f) {
    const double values[] = {
        f.supplyTemp,  f.drop,         f.returnTemp,        f.area,
        f.length,      f.heatOutput,   f.floorTempMean,     f.floorLimit,
        f.limitOutput, f.loopOutput,   f.flowKgh,           f.flowLpm,
        f.velocity,    f.pressureDrop, f.supplementaryHeat, f.downwardOutput.value_or(-1)};
    std::string text;
    for (double v : values)
        text += QByteArray::number(v, 'g', 17).toStdString() + ' ';
    return text;
}

} // namespace

class ProjectCoolingTest : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void dewPointOfTheRoom_data();
    void dewPointOfTheRoom();
    void noProposedSupplyBelowTheMargin();
    void heatingUnchangedBySeason_data();
    void heatingUnchangedBySeason();
    void flowsOfBothSeasons();
    void roomsWithoutLoopsOrNumbers_data();
    void roomsWithoutLoopsOrNumbers();
    void flatInBothSeasons();
};

void ProjectCoolingTest::workedExamples_data() {
    QTest::addColumn<double>("spacing");
    QTest::addColumn<int>("loops");
    QTest::addColumn<double>("covering");
    QTest::addColumn<double>("supply");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("load");
    QTest::addColumn<double>("kc");
    QTest::addColumn<double>("output");    // q_C, W/m²
    QTest::addColumn<double>("floorMean"); // θ_F,m
    QTest::addColumn<double>("roomOutput");
    QTest::addColumn<double>("admissible"); // Q_adm
    QTest::addColumn<double>("shortfall");
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("supplyPasses"); // D1
    QTest::addColumn<double>("flow");       // G of one loop, kg/h
    // docs/cooling.md, worked examples 1, 1b and 2 (R_λ,B of 20 mm tile
    // λ 2.91; carpet 10 mm λ 0.10).
    QTest::newRow("example 1: 300 mm, 18/21, 50 %")
        << 0.3 << 1 << 0.02 / 2.91 << 18.0 << 0.5 << 900.0 << 3.009132 << 19.20708 << 23.25613
        << 691.4548 << 691.4548 << 208.5452 << int(cooling::Shortfall::DewPoint) << true
        << 240.1928;
    QTest::newRow("example 1b: 150 mm, two loops")
        << 0.15 << 2 << 0.02 / 2.91 << 18.0 << 0.5 << 900.0 << 4.080127 << 26.04316 << 22.27955
        << 937.5539 << 937.5539 << 0.0 << int(cooling::Shortfall::None) << true << 162.8405;
    QTest::newRow("example 2: carpet, 16/19, 60 %")
        << 0.15 << 1 << 0.1 << 16.0 << 0.6 << 400.0 << 2.841306 << 23.89828 << 22.58596 << 430.1691
        << 240.875 << 159.125 << int(cooling::Shortfall::DewPoint) << false << 161.9095;
}

void ProjectCoolingTest::workedExamples() {
    QFETCH(double, spacing);
    QFETCH(int, loops);
    QFETCH(double, covering);
    QFETCH(double, supply);
    QFETCH(double, humidity);
    QFETCH(double, load);
    QFETCH(double, kc);
    QFETCH(double, output);
    QFETCH(double, floorMean);
    QFETCH(double, roomOutput);
    QFETCH(double, admissible);
    QFETCH(double, shortfall);
    QFETCH(int, reason);
    QFETCH(bool, supplyPasses);
    QFETCH(double, flow);
    const Project p = exampleProject(spacing, loops, 120, covering, supply, 3, humidity, load);
    const ProjectResult r = computeProject(p);
    QVERIFY(r.cooling.computed);
    QCOMPARE(r.cooling.manifolds.size(), std::size_t(1));
    const CoolingManifoldResult& m = r.cooling.manifolds[0];
    QCOMPARE(m.loops.size(), std::size_t(loops));
    for (const cooling::LoopResult& l : m.loops) {
        QVERIFY(l.applicable());
        QVERIFY2(digits7(l.characteristic.cooling, kc),
                 qPrintable(QString::number(l.characteristic.cooling, 'g', 10)));
        QVERIFY(digits7(l.coolingOutput, output));
        QVERIFY(digits7(l.floorTempMean, floorMean));
        QVERIFY2(digits7(*l.flow, flow), qPrintable(QString::number(*l.flow, 'g', 10)));
        QCOMPARE(l.checks[0].passed, supplyPasses);
        QVERIFY(l.belowCounted);
    }
    const CoolingRoomResult& room = r.cooling.rooms[0];
    QVERIFY(room.computed());
    QVERIFY(room.loadGiven);
    QVERIFY2(digits7(room.room.roomOutput, roomOutput),
             qPrintable(QString::number(room.room.roomOutput, 'g', 10)));
    QVERIFY2(digits7(room.room.admissibleOutput, admissible),
             qPrintable(QString::number(room.room.admissibleOutput, 'g', 10)));
    if (shortfall == 0)
        QCOMPARE(room.room.shortfall, 0.0);
    else
        QVERIFY2(digits7(room.room.shortfall, shortfall),
                 qPrintable(QString::number(room.room.shortfall, 'g', 10)));
    QCOMPARE(int(room.room.reason), reason);
    QCOMPARE(room.room.loadMet, shortfall == 0);
    QCOMPARE(r.cooling.totals.roomsNotMet, std::size_t(shortfall == 0 ? 0 : 1));
    QVERIFY(digits7(r.cooling.totals.output, roomOutput));
}

void ProjectCoolingTest::dewPointOfTheRoom_data() {
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("dew");
    // The dew points of docs/cooling.md ("Dew point"), which the Wagner
    // saturation curve confirms within 0.03 K; 26 ℃ at 50 % is the 14.8 ℃
    // of every psychrometric chart.
    QTest::newRow("26 ℃, 50 %") << 26.0 << 0.5 << 14.77001;
    QTest::newRow("26 ℃, 60 %") << 26.0 << 0.6 << 17.63204;
    QTest::newRow("24 ℃, 40 %") << 24.0 << 0.4 << 9.56;
    QTest::newRow("28 ℃, 70 %") << 28.0 << 0.7 << 22.01;
}

void ProjectCoolingTest::dewPointOfTheRoom() {
    QFETCH(double, temp);
    QFETCH(double, humidity);
    QFETCH(double, dew);
    Project p = exampleProject(0.15, 1, 100, 0.05, 16, 3, humidity, 300);
    p.rooms[0].cooling.roomTemp = temp;
    p.settings.cooling.dewMargin = 1.5;
    const ProjectResult r = computeProject(p);
    const CoolingRoomResult& room = r.cooling.rooms[0];
    QVERIFY(room.dewPoint);
    QVERIFY2(std::fabs(*room.dewPoint - dew) <= 0.005, qPrintable(QString::number(*room.dewPoint)));
    QCOMPARE(*room.minSupplyTemp, *room.dewPoint + 1.5);
    QCOMPARE(r.cooling.manifolds[0].loops[0].minSupplyTemp, *room.minSupplyTemp);
}

// Random rooms, water and loads: whatever the pipeline proposes is at or
// above θ_d + Δθ_s, and computed again at that supply the room passes D1.
void ProjectCoolingTest::noProposedSupplyBelowTheMargin() {
    std::mt19937 random(20261209);
    std::uniform_real_distribution<double> temp(22, 30), humidity(0.3, 0.8), supply(8, 22),
        rise(1, 6), load(0, 3000), margin(1, 3);
    int proposals = 0;
    for (int i = 0; i < 300; ++i) {
        const double t = temp(random);
        const double s = std::min(supply(random), t - 6.5);
        Project p = exampleProject(0.15, 1, 100, 0.05, s, rise(random), humidity(random),
                                   load(random), Season::Cooling);
        p.rooms[0].cooling.roomTemp = t;
        p.settings.cooling.dewMargin = margin(random);
        const ProjectResult r = computeProject(p);
        const CoolingRoomResult& room = r.cooling.rooms[0];
        if (!room.computed())
            continue;
        QVERIFY(room.room.admissible.supplyTemp.value_or(*room.minSupplyTemp) >=
                *room.minSupplyTemp);
        if (!room.room.proposedSupplyTemp)
            continue;
        ++proposals;
        const double proposed = *room.room.proposedSupplyTemp;
        QVERIFY2(proposed >= *room.minSupplyTemp,
                 qPrintable(QStringLiteral("%1 < %2").arg(proposed).arg(*room.minSupplyTemp)));
        const double riseUsed =
            p.manifolds[0].cooling.returnTemp - p.manifolds[0].cooling.supplyTemp;
        p.manifolds[0].cooling.supplyTemp = proposed;
        p.manifolds[0].cooling.returnTemp = proposed + riseUsed;
        const ProjectResult again = computeProject(p);
        QVERIFY(again.cooling.manifolds[0].loops[0].checks[0].passed);
    }
    QVERIFY(proposals > 100);
}

void ProjectCoolingTest::heatingUnchangedBySeason_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("season");
    QTest::newRow("EN 1264, both") << int(method::Method::En1264) << int(Season::Both);
    QTest::newRow("EN 1264, cooling") << int(method::Method::En1264) << int(Season::Cooling);
    QTest::newRow("program, both") << int(method::Method::Program) << int(Season::Both);
}

// The same rooms and a manual loop in heating and in another season: every
// heating figure the same bits.
void ProjectCoolingTest::heatingUnchangedBySeason() {
    QFETCH(int, method);
    QFETCH(int, season);
    Project heating = exampleProject(0.15, 2, 90, 0.1, 18, 3, 0.5, 700, Season::Heating);
    heating.settings.method = method::Method(method);
    ManualLoop manual;
    manual.input.name = "手动";
    manual.input.loadW = 800;
    heating.manifolds[0].loops.push_back(manual);
    Project other = heating;
    other.settings.cooling.season = Season(season);
    const ProjectResult a = computeProject(heating);
    const ProjectResult b = computeProject(other);
    QVERIFY(!a.cooling.computed);
    QVERIFY(a.cooling.manifolds.empty() && a.cooling.rooms.empty());
    QVERIFY(b.cooling.computed);
    QCOMPARE(b.manifolds.size(), a.manifolds.size());
    for (std::size_t m = 0; m < a.manifolds.size(); ++m) {
        QCOMPARE(b.manifolds[m].loops.size(), a.manifolds[m].loops.size());
        for (std::size_t i = 0; i < a.manifolds[m].loops.size(); ++i)
            QCOMPARE(figuresText(b.manifolds[m].loops[i].figures),
                     figuresText(a.manifolds[m].loops[i].figures));
        QCOMPARE(b.manifolds[m].totals.flowKgh, a.manifolds[m].totals.flowKgh);
        QCOMPARE(b.manifolds[m].totals.pumpHeadKpa, a.manifolds[m].totals.pumpHeadKpa);
    }
    QCOMPARE(b.totals.output, a.totals.output);
    QCOMPARE(b.totals.supplementaryHeat, a.totals.supplementaryHeat);
    QCOMPARE(b.rooms[0].supplementaryHeat, a.rooms[0].supplementaryHeat);
}

// The larger flow sizes the pump: the cooling flow of example 1b against the
// heating flow at 45/35 ℃, and the manual loop at the default room state.
void ProjectCoolingTest::flowsOfBothSeasons() {
    Project p = exampleProject(0.15, 2, 120, 0.02 / 2.91, 18, 3, 0.5, 900);
    ManualLoop manual;
    manual.input.name = "手动";
    manual.input.spacingMm = 150;
    manual.input.lengthM = 120;
    p.manifolds[0].loops.push_back(manual);
    p.manifolds[0].manualBelow = p.rooms[0].below;
    const ProjectResult r = computeProject(p);
    const CoolingManifoldResult& m = r.cooling.manifolds[0];
    QCOMPARE(m.loops.size(), std::size_t(3));
    // The manual loop: 26 ℃ and 50 % like the room, so example 1b again.
    for (const cooling::LoopResult& l : m.loops)
        QVERIFY2(digits7(*l.flow, 162.8405), qPrintable(QString::number(*l.flow, 'g', 10)));
    QVERIFY(digits7(*m.coolingFlowKgh, 3 * 162.8405));
    QCOMPARE(m.heatingFlowKgh, r.manifolds[0].totals.flowKgh);
    QVERIFY(m.heatingFlowKgh > 0);
    QCOMPARE(m.sizing,
             *m.coolingFlowKgh > m.heatingFlowKgh ? SizingSeason::Cooling : SizingSeason::Heating);
    // Slow the cooling water down by a wider rise until heating is larger.
    p.manifolds[0].cooling.returnTemp = 23;
    const ProjectResult wide = computeProject(p);
    const CoolingManifoldResult& w = wide.cooling.manifolds[0];
    QVERIFY(*w.coolingFlowKgh < *m.coolingFlowKgh);
    QCOMPARE(w.sizing,
             *w.coolingFlowKgh > w.heatingFlowKgh ? SizingSeason::Cooling : SizingSeason::Heating);
}

void ProjectCoolingTest::roomsWithoutLoopsOrNumbers_data() {
    QTest::addColumn<double>("supply");
    QTest::addColumn<double>("returnTemp");
    QTest::addColumn<bool>("heatingLoad");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("loopWhy");
    QTest::newRow("no heating load: not laid")
        << 18.0 << 21.0 << false << int(CoolingRoomProblem::NotLaid)
        << int(cooling::Applicability::Applicable);
    QTest::newRow("return at the room")
        << 18.0 << 26.0 << true << int(CoolingRoomProblem::NoNumbers)
        << int(cooling::Applicability::TemperatureOrder);
    QTest::newRow("supply above return")
        << 21.0 << 18.0 << true << int(CoolingRoomProblem::NoNumbers)
        << int(cooling::Applicability::TemperatureOrder);
    QTest::newRow("supply 4 ℃") << 4.0 << 7.0 << true << int(CoolingRoomProblem::NoNumbers)
                                << int(cooling::Applicability::SupplyTooCold);
}

void ProjectCoolingTest::roomsWithoutLoopsOrNumbers() {
    QFETCH(double, supply);
    QFETCH(double, returnTemp);
    QFETCH(bool, heatingLoad);
    QFETCH(int, problem);
    QFETCH(int, loopWhy);
    Project p = exampleProject(0.15, 1, 100, 0.05, supply, returnTemp - supply, 0.5, 500);
    if (!heatingLoad)
        p.rooms[0].typedLoad.reset();
    const ProjectResult r = computeProject(p);
    const CoolingRoomResult& room = r.cooling.rooms[0];
    QCOMPARE(int(room.problem), problem);
    QVERIFY(room.dewPoint); // the room's air is known whatever its loops
    if (!heatingLoad) {
        QVERIFY(r.cooling.manifolds[0].loops.empty());
        return;
    }
    QCOMPARE(int(r.cooling.manifolds[0].loops[0].applicability), loopWhy);
    QCOMPARE(r.cooling.totals.rooms, std::size_t(0));
    QCOMPARE(r.cooling.manifolds[0].sums.notApplicable, 1);
}

// examples/flat.zorvaproj is a project of both seasons: its heating numbers
// are those of the same flat in heating alone, and every room has cooling
// numbers at 26 ℃ and 50 % with the water of 18/21 ℃ above θ_d + 2 K.
void ProjectCoolingTest::flatInBothSeasons() {
    const QString path = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");
    const Result<io::ProjectDocument> read = io::readProjectDocumentFile(path);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    Project flat = read->project;
    QCOMPARE(flat.settings.cooling.season, Season::Both);
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    ComputeOptions options;
    options.cities = &*cities;
    const ProjectResult both = computeProject(flat, options);
    flat.settings.cooling.season = Season::Heating;
    const ProjectResult heating = computeProject(flat, options);
    const auto& a = heating.manifolds[0].loops;
    const auto& b = both.manifolds[0].loops;
    QCOMPARE(b.size(), a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        QCOMPARE(figuresText(b[i].figures), figuresText(a[i].figures));
    QVERIFY(both.cooling.computed);
    QCOMPARE(both.cooling.rooms.size(), std::size_t(5));
    for (const CoolingRoomResult& room : both.cooling.rooms) {
        QVERIFY(room.computed());
        QVERIFY(digits7(*room.minSupplyTemp, 16.77001));
        QVERIFY(room.room.admissibleDesign);
        if (room.room.proposedSupplyTemp)
            QVERIFY(*room.room.proposedSupplyTemp >= *room.minSupplyTemp);
    }
    QVERIFY(!both.cooling.rooms[4].loadGiven); // the bathroom has no cooling load
    const CoolingManifoldResult& m = both.cooling.manifolds[0];
    QCOMPARE(m.sums.loops, int(b.size()));
    QCOMPARE(m.heatingFlowKgh, heating.manifolds[0].totals.flowKgh);
}

QTEST_GUILESS_MAIN(ProjectCoolingTest)
#include "tst_projectcooling.moc"
