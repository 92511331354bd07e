// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rooms/roomdesign.h"
#include "core/rooms/standardmethods.h"

#include <QTest>

#include <cmath>
#include <random>

using namespace zorva;
using namespace zorva::rooms;

Q_DECLARE_METATYPE(zorva::rooms::RoomFault)
Q_DECLARE_METATYPE(zorva::rooms::RoomStatus)

namespace {

// A stand-in floor: the heat flux and limit flux of the EN 1264-2 type A
// sheet's worked examples (a) at 0.15 m, (e) at 0.20 m and (c) at 0.45 m,
// and (d) at 0.10 m for the peripheral zone; no other spacing applies.
FloorOutput sheetFloor(const FloorQuery& q) {
    if (q.peripheral)
        return q.spacing == 0.10 ? FloorOutput{38.15039, 100, true} : FloorOutput{};
    if (q.spacing == 0.15)
        return {67.84795, 98.39302, true};
    if (q.spacing == 0.20)
        return {98.04101, 86.36281, true};
    if (q.spacing == 0.45)
        return {41.20883, 83.07121, true};
    return {};
}

DesignConditions sheetConditions() {
    DesignConditions c;
    c.spacings = {0.45, 0.15, 0.20}; // the order does not matter
    return c;
}

// The EN 1264-2 floor of the sheet's example (a): pipe 20 × 2 mm PE-X,
// 45 mm of screed of λ 1.2, 10 K below the supply.
const ThermalMethod exampleFloor = en1264Floor(en1264::Floor{}, 10);

// A stand-in pressure drop that grows with length and with heat^1.75, as
// turbulent flow does: 30 kPa for 100 m carrying 1 kW.
double dropOf(double length, double heat) {
    return 0.3 * length * std::pow(heat / 1000, 1.75);
}
PressureOutput standInDrop(const LoopQuery& q) {
    return {dropOf(q.length, q.heat), true};
}

Room room(double heatedArea, double load, double leader = 4) {
    Room r;
    r.name = "客厅";
    r.floorArea = heatedArea * 1.2;
    r.heatedArea = heatedArea;
    r.heatLoad = load;
    r.leaderLength = leader;
    r.indoorTemp = 20;
    return r;
}

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

} // namespace

class RoomDesignTest : public QObject {
    Q_OBJECT

private slots:
    void standardMethods_data();
    void standardMethods();
    void spacingChoice_data();
    void spacingChoice();
    void unreachableLoadGetsNoRuleBreakingLoop();
    void loopSplit_data();
    void loopSplit();
    void pressureSplit_data();
    void pressureSplit();
    void overrides_data();
    void overrides();
    void peripheralZone();
    void refusedInputs_data();
    void refusedInputs();
    void randomRooms();
};

// The adapters of the program's EN 1264-2 floor and loop hydraulics give
// the worked examples: EN 1264-2 example (a) at 45/35/20 ℃, and loop
// living-1 of the system design's example B (ṁ 0.0614253 kg/s, θ_m
// 40.19708 ℃, 104 m of 16 mm bore, Σζ 2.3) with its flow printed to six
// digits.
void RoomDesignTest::standardMethods_data() {
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("got");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");
    static Room r = room(10, 0);
    r.coveringResistance = 0.10;
    r.category = RoomCategory::Residential;
    const en1264::Floor floor; // 20 × 2 mm PE-X, 45 mm of λ 1.2
    const FloorOutput a = en1264Floor(floor, 10)({&r, 0.15, false, 45});
    QTest::newRow("q (a)") << "q" << a.heatFlux << 67.84795 << 0.5e-5;
    QTest::newRow("q_G (a)") << "qG" << a.limitFlux << 98.39302 << 0.5e-5;
    QTest::newRow("valid (a)") << "valid" << double(a.valid) << 1.0 << 0.0;
    const double sigma = 2 * (44.69708 - 40.19708);
    const double heat = 0.0614253 * 4190 * sigma;
    const PressureOutput drop =
        loopPressureDrop({0.016, 2}, 44.69708, sigma)({&r, 104, heat, 0.15});
    QTest::newRow("living-1 kPa") << "dp" << drop.pressureDrop << 10.49167 << 0.05e-3;
    QTest::newRow("living-1 valid") << "valid" << double(drop.valid) << 1.0 << 0.0;
}

void RoomDesignTest::standardMethods() {
    QFETCH(double, got);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    QVERIFY2(near(got, expected, tolerance), qPrintable(QString::number(got, 'g', 12)));
}

// The widest spacing whose deliverable min(q, q_G) covers the need; else
// the one that gives most, and the rest as supplementary heat.
void RoomDesignTest::spacingChoice_data() {
    QTest::addColumn<double>("need"); // W/m² over 10 m²
    QTest::addColumn<double>("spacing");
    QTest::addColumn<RoomStatus>("status");
    QTest::addColumn<double>("supplementary");
    QTest::newRow("no load: widest") << 0.0 << 0.45 << RoomStatus::Designed << 0.0;
    QTest::newRow("40 W/m²") << 40.0 << 0.45 << RoomStatus::Designed << 0.0;
    QTest::newRow("just over 0.45 m") << 41.2089 << 0.20 << RoomStatus::Designed << 0.0;
    QTest::newRow("60 W/m²") << 60.0 << 0.20 << RoomStatus::Designed << 0.0;
    // 0.20 m gives 98.04 W/m² but its limit holds it at 86.36281.
    QTest::newRow("at the limit of 0.20 m") << 86.36281 << 0.20 << RoomStatus::Designed << 0.0;
    QTest::newRow("90 W/m²") << 90.0 << 0.20 << RoomStatus::Shortfall << (90 - 86.36281) * 10;
}

void RoomDesignTest::spacingChoice() {
    QFETCH(double, need);
    QFETCH(double, spacing);
    QFETCH(RoomStatus, status);
    QFETCH(double, supplementary);
    const RoomDesign d = designRoom(room(10, need * 10), sheetConditions(), sheetFloor);
    QCOMPARE(d.fault, RoomFault::None);
    QCOMPARE(d.spacing, spacing);
    QCOMPARE(d.status, status);
    QVERIFY2(near(d.supplementaryHeat, supplementary, 1e-9),
             qPrintable(QString::number(d.supplementaryHeat, 'g', 12)));
    QVERIFY(near(d.deliveredHeat + d.supplementaryHeat, need * 10, 1e-9));
    QVERIFY(d.deliveredFlux <= std::min(d.output.heatFlux, d.output.limitFlux));
    QCOMPARE(d.trials.size(), std::size_t(3));
    QCOMPARE(d.trials.front().spacing, 0.15); // ascending
}

// Check case C of the heat-load sheet: 3475.5448 W on 30 m² is 115.85 W/m²,
// more than the floor of example (a) gives at 0.15 m (67.84795 W/m²).
void RoomDesignTest::unreachableLoadGetsNoRuleBreakingLoop() {
    DesignConditions c;
    c.spacings = {0.15};
    const RoomDesign d = designRoom(room(30, 3475.5448), c, sheetFloor);
    QCOMPARE(d.status, RoomStatus::Shortfall);
    QVERIFY(near(d.deliveredHeat, 67.84795 * 30, 1e-9));
    QVERIFY(near(d.supplementaryHeat, 1440.1063, 0.5e-4));
    QCOMPARE(d.marks, 0u);
    // 200 m of pipe in two loops of 100 m plus 2 × 4 m of leaders.
    QCOMPARE(d.loops.size(), std::size_t(2));
    for (const RoomLoop& loop : d.loops) {
        QVERIFY(near(loop.length, 108, 1e-9));
        QVERIFY(!loop.overLength);
        QVERIFY(near(loop.heat, 67.84795 * 15, 1e-9));
    }
    // The EN 1264-2 floor at every allowed spacing falls short too, and
    // still no loop breaks a rule.
    const RoomDesign real =
        designRoom(room(30, 3475.5448), DesignConditions{}, exampleFloor, standInDrop);
    QCOMPARE(real.status, RoomStatus::Shortfall);
    QVERIFY(real.supplementaryHeat > 0);
    QVERIFY(real.deliveredFlux <= real.output.limitFlux);
    QCOMPARE(real.marks & BreaksLimits, 0u);
    for (const RoomLoop& loop : real.loops)
        QVERIFY(!loop.overLength && !loop.overPressure);
}

void RoomDesignTest::loopSplit_data() {
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("leader");
    QTest::addColumn<int>("loops");
    QTest::addColumn<double>("length");
    // Pipe = area / 0.15 m.
    QTest::newRow("exactly the limit") << 16.5 << 5.0 << 1 << 120.0;
    QTest::newRow("just over the limit") << 16.51 << 5.0 << 2 << 16.51 / 0.15 / 2 + 10;
    QTest::newRow("two loops") << 30.0 << 4.0 << 2 << 108.0;
    QTest::newRow("seven loops") << 100.0 << 10.0 << 7 << 100 / 0.15 / 7 + 20;
    QTest::newRow("no leaders") << 0.15 << 0.0 << 1 << 1.0;
    QTest::newRow("leaders at the limit") << 10.0 << 60.0 << 0 << 0.0;
}

void RoomDesignTest::loopSplit() {
    QFETCH(double, area);
    QFETCH(double, leader);
    QFETCH(int, loops);
    QFETCH(double, length);
    DesignConditions c;
    c.spacings = {0.15};
    const RoomDesign d = designRoom(room(area, 0, leader), c, sheetFloor);
    QCOMPARE(int(d.loops.size()), loops);
    if (loops == 0) {
        QCOMPARE(d.fault, RoomFault::LeadersTooLong);
        QCOMPARE(d.status, RoomStatus::NotDesigned);
        return;
    }
    for (int i = 0; i < loops; ++i) {
        QCOMPARE(QString::fromStdString(d.loops[std::size_t(i)].name),
                 QString("客厅-%1").arg(i + 1));
        QVERIFY(near(d.loops[std::size_t(i)].length, length, 1e-9));
        QVERIFY(!d.loops[std::size_t(i)].overLength);
    }
}

// 2000 W on 30 m² at 0.15 m: two loops of 108 m carrying 1 kW each drop
// 0.3·108 = 32.4 kPa, so three loops of 200/3 + 8 m are needed.
void RoomDesignTest::pressureSplit_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<int>("loops");
    QTest::addColumn<RoomFault>("fault");
    QTest::newRow("stand-in drop") << "stand-in" << 3 << RoomFault::None;
    QTest::newRow("never low enough") << "40 kPa" << 0 << RoomFault::PressureUnreachable;
    QTest::newRow("no number") << "invalid" << 0 << RoomFault::PressureInvalid;
}

void RoomDesignTest::pressureSplit() {
    QFETCH(QString, method);
    QFETCH(int, loops);
    QFETCH(RoomFault, fault);
    DesignConditions c;
    c.spacings = {0.15};
    PressureMethod pressure = standInDrop;
    if (method == "40 kPa")
        pressure = [](const LoopQuery&) { return PressureOutput{40, true}; };
    else if (method == "invalid")
        pressure = [](const LoopQuery&) { return PressureOutput{NAN, true}; };
    const RoomDesign d = designRoom(room(30, 2000), c, sheetFloor, pressure);
    QCOMPARE(d.fault, fault);
    QCOMPARE(int(d.loops.size()), loops);
    if (loops == 3) {
        const double length = 200.0 / 3 + 8;
        QVERIFY(near(d.loops[0].length, length, 1e-9));
        QVERIFY(near(*d.loops[0].pressureDrop, dropOf(length, 2000.0 / 3), 1e-9));
        QVERIFY(dropOf(108, 1000) > 30);
    }
}

void RoomDesignTest::overrides_data() {
    QTest::addColumn<QString>("override");
    QTest::addColumn<unsigned>("marks");
    QTest::addColumn<QList<double>>("lengths");
    QTest::addColumn<double>("supplementary");
    // 30 m², 1800 W (60 W/m²): 0.20 m, 150 m of pipe, two loops of 75 + 8 m.
    QTest::newRow("none") << "" << 0u << QList<double>{83, 83} << 0.0;
    QTest::newRow("spacing 0.45 m falls short")
        << "spacing" << unsigned(SpacingOverridden) << QList<double>{30 / 0.45 + 8}
        << (60 - 41.20883) * 30;
    QTest::newRow("one loop") << "count 1" << unsigned(LoopCountOverridden | BreaksLimits)
                              << QList<double>{158} << 0.0;
    QTest::newRow("three loops") << "count 3" << unsigned(LoopCountOverridden)
                                 << QList<double>{58, 58, 58} << 0.0;
    QTest::newRow("second loop measured")
        << "length2" << unsigned(LengthOverridden) << QList<double>{83, 95.5} << 0.0;
    QTest::newRow("first loop measured too long")
        << "length1" << unsigned(LengthOverridden | BreaksLimits) << QList<double>{130, 83} << 0.0;
}

void RoomDesignTest::overrides() {
    QFETCH(QString, override);
    QFETCH(unsigned, marks);
    QFETCH(QList<double>, lengths);
    QFETCH(double, supplementary);
    Room r = room(30, 1800);
    if (override == "spacing")
        r.overrides.spacing = 0.45;
    else if (override.startsWith("count"))
        r.overrides.loopCount = override.section(' ', 1).toInt();
    else if (override == "length2")
        r.overrides.loopLengths = {std::nullopt, 95.5};
    else if (override == "length1")
        r.overrides.loopLengths = {130.0};
    const RoomDesign d = designRoom(r, sheetConditions(), sheetFloor);
    QCOMPARE(d.fault, RoomFault::None);
    QCOMPARE(d.marks, marks);
    QCOMPARE(int(d.loops.size()), int(lengths.size()));
    for (int i = 0; i < lengths.size(); ++i) {
        const RoomLoop& loop = d.loops[std::size_t(i)];
        QVERIFY2(near(loop.length, lengths[i], 1e-9), qPrintable(QString::number(loop.length)));
        QCOMPARE(loop.overLength, loop.length > 120);
        QCOMPARE(loop.lengthOverridden,
                 (override == "length2" && i == 1) || (override == "length1" && i == 0));
    }
    QVERIFY(near(d.supplementaryHeat, supplementary, 1e-9));
}

// A 5 m² strip at 0.10 m gives 38.15039 × 5 W; the other 10 m² need 60 W/m².
void RoomDesignTest::peripheralZone() {
    Room r = room(15, 600 + 38.15039 * 5, 2);
    r.peripheral = PeripheralZone{1.0, 5.0, 0.10};
    const RoomDesign d = designRoom(r, sheetConditions(), sheetFloor);
    QCOMPARE(d.status, RoomStatus::Designed);
    QCOMPARE(d.spacing, 0.20);
    QVERIFY(near(d.requiredFlux, 60, 1e-9));
    QVERIFY(near(d.peripheralHeat, 190.75195, 1e-9));
    QVERIFY(near(d.pipeInArea, 10 / 0.20 + 5 / 0.10, 1e-9));
    QCOMPARE(d.loops.size(), std::size_t(1));
    QVERIFY(near(d.loops[0].length, 104, 1e-9));

    r.peripheral = PeripheralZone{1.0, 15.0, 0.10}; // the whole heated area
    QCOMPARE(designRoom(r, sheetConditions(), sheetFloor).fault, RoomFault::PeripheralInvalid);
    r.peripheral = PeripheralZone{1.0, 5.0, 0.12}; // no output at 0.12 m
    QCOMPARE(designRoom(r, sheetConditions(), sheetFloor).fault, RoomFault::PeripheralInvalid);
}

void RoomDesignTest::refusedInputs_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<RoomFault>("fault");
    QTest::newRow("no heated area") << "heatedArea 0" << RoomFault::HeatedAreaNotPositive;
    QTest::newRow("heated above floor area") << "heatedArea 40" << RoomFault::HeatedAreaAboveFloor;
    QTest::newRow("no floor area") << "floorArea 0" << RoomFault::FloorAreaNotPositive;
    QTest::newRow("negative load") << "load -1" << RoomFault::LoadNegative;
    QTest::newRow("NaN load") << "load nan" << RoomFault::NotFinite;
    QTest::newRow("negative leader") << "leader -1" << RoomFault::LeaderNegative;
    QTest::newRow("spacing override 0") << "spacing 0" << RoomFault::OverrideInvalid;
    QTest::newRow("spacing outside the method") << "spacing 0.3" << RoomFault::NoValidSpacing;
    QTest::newRow("no loops") << "count 0" << RoomFault::OverrideInvalid;
    QTest::newRow("absurd loop count") << "count 20000" << RoomFault::TooManyLoops;
    QTest::newRow("measured length 0") << "length 0" << RoomFault::OverrideInvalid;
    QTest::newRow("no allowed spacing") << "set" << RoomFault::NoSpacing;
    QTest::newRow("no thermal method") << "thermal" << RoomFault::NoValidSpacing;
    QTest::newRow("a field of a room") << "heatedArea 1e9" << RoomFault::HeatedAreaAboveFloor;
}

void RoomDesignTest::refusedInputs() {
    QFETCH(QString, change);
    QFETCH(RoomFault, fault);
    Room r = room(30, 1800);
    DesignConditions c = sheetConditions();
    const QString what = change.section(' ', 0, 0);
    const double value = change.endsWith("nan") ? NAN : change.section(' ', 1).toDouble();
    if (what == "heatedArea")
        r.heatedArea = value;
    else if (what == "floorArea")
        r.floorArea = value;
    else if (what == "load")
        r.heatLoad = value;
    else if (what == "leader")
        r.leaderLength = value;
    else if (what == "spacing")
        r.overrides.spacing = value;
    else if (what == "count")
        r.overrides.loopCount = int(value);
    else if (what == "length")
        r.overrides.loopLengths = {value};
    else if (what == "set")
        c.spacings = {0, -0.1, NAN};
    const RoomDesign d = designRoom(r, c, what == "thermal" ? ThermalMethod() : sheetFloor);
    QCOMPARE(d.fault, fault);
    QCOMPARE(d.status, RoomStatus::NotDesigned);
    QVERIFY(d.loops.empty());
    QVERIFY(*roomFaultText(fault) != '\0');
}

// Seeded random rooms on the EN 1264-2 floor and the stand-in drop: no loop
// passes a limit, no room has more loops than it needs, and the spacing is
// the widest that meets the load.
void RoomDesignTest::randomRooms() {
    std::mt19937 random(1264);
    const auto uniform = [&](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(random);
    };
    const DesignConditions c;
    int designed = 0, shortfall = 0, split = 0, unreachable = 0;
    for (int i = 0; i < 400; ++i) {
        Room r = room(uniform(2, 300), 0, uniform(0, 30));
        r.heatLoad = r.heatedArea * uniform(0, 130);
        const RoomDesign d = designRoom(r, c, exampleFloor, standInDrop);
        const double leaders = 2 * r.leaderLength;
        const auto length = [&](int n) { return d.pipeInArea / n + leaders; };
        const auto fits = [&](int n) {
            return length(n) <= 120 * (1 + 1e-12) && dropOf(length(n), d.deliveredHeat / n) <= 30;
        };
        if (d.fault == RoomFault::PressureUnreachable) {
            ++unreachable;
            for (int n = 1; n <= 4 * int(std::ceil(d.pipeInArea / (120 - leaders))) + 16; ++n)
                QVERIFY(!fits(n));
            continue;
        }
        QCOMPARE(d.fault, RoomFault::None);
        const int n = int(d.loops.size());
        QVERIFY(n >= 1);
        QVERIFY2(n == 1 || !fits(n - 1), qPrintable(QString("room %1: %2 loops").arg(i).arg(n)));
        double total = 0;
        for (const RoomLoop& loop : d.loops) {
            QVERIFY(loop.length <= 120 * (1 + 1e-12));
            QVERIFY(*loop.pressureDrop <= 30);
            total += loop.length;
        }
        QVERIFY(near(total, d.pipeInArea + n * leaders, 1e-9 * total));
        QCOMPARE(d.marks, 0u);
        split += n > 1;
        const auto chosen =
            std::find_if(d.trials.begin(), d.trials.end(),
                         [&](const SpacingTrial& t) { return t.spacing == d.spacing; });
        if (d.status == RoomStatus::Designed) {
            ++designed;
            QVERIFY(chosen->deliverable >= d.requiredFlux * (1 - 1e-12));
            for (auto t = chosen + 1; t != d.trials.end(); ++t)
                QVERIFY(t->deliverable < d.requiredFlux);
        } else {
            ++shortfall;
            QVERIFY(d.supplementaryHeat > 0);
            QVERIFY(near(d.deliveredHeat + d.supplementaryHeat, r.heatLoad, 1e-9 * r.heatLoad));
            for (const SpacingTrial& t : d.trials)
                QVERIFY(t.deliverable <= chosen->deliverable);
        }
    }
    // The rooms reach every branch.
    QVERIFY(designed > 50 && shortfall > 20 && split > 50);
    qInfo("designed %d, shortfall %d, split %d, pressure unreachable %d", designed, shortfall,
          split, unreachable);
}

QTEST_APPLESS_MAIN(RoomDesignTest)
#include "tst_roomdesign.moc"
