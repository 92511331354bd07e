// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/dewpoint.h"
#include "core/cooling/room.h"
#include "core/cooling/watertemp.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace zorva;
using namespace zorva::cooling;

Q_DECLARE_METATYPE(zorva::cooling::Applicability)

namespace {

// Example 1 of the floor-cooling data sheet: our default construction at
// 300 mm, 18/21 ℃, a room at 26 ℃ and 50 %, a loop of 120 m.
LoopInputs defaultLoop() {
    LoopInputs in;
    in.construction = en1264Inputs(FieldRecord::defaults(), 29);
    in.supplyTemp = 18;
    in.returnTemp = 21;
    in.length = 120;
    return in;
}

} // namespace

class CoolingLimitsTest : public QObject {
    Q_OBJECT

private slots:
    void dewPoint_data();
    void dewPoint();
    void variants_data();
    void variants();
    void conversion_data();
    void conversion();
    void supplyRoundTrip_data();
    void supplyRoundTrip();
    void designWater_data();
    void designWater();
    void cache();
    void proposalsKeepEveryLimit_data();
    void proposalsKeepEveryLimit();
};

void CoolingLimitsTest::dewPoint_data() {
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");
    // The dew-point table of the data sheet (Magnus, b 17.62, c 243.12),
    // 24 … 28 ℃ by 40 … 70 %, to 0.01 K; its worked values to 7 digits.
    const double humidity[] = {0.40, 0.50, 0.55, 0.60, 0.65, 0.70};
    const double table[5][6] = {{9.56, 12.93, 14.40, 15.75, 17.01, 18.19},
                                {10.46, 13.85, 15.33, 16.69, 17.96, 19.15},
                                {11.35, 14.77, 16.26, 17.63, 18.91, 20.10},
                                {12.25, 15.69, 17.19, 18.57, 19.86, 21.06},
                                {13.14, 16.61, 18.12, 19.51, 20.80, 22.01}};
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 6; ++col)
            QTest::addRow("%d ℃ %.0f %%", 24 + row, humidity[col] * 100)
                << double(24 + row) << humidity[col] << table[row][col] << 0.005;
    QTest::newRow("26 ℃ 50 % worked") << 26.0 << 0.50 << 14.77001 << 0.5e-5;
    QTest::newRow("26 ℃ 60 % worked") << 26.0 << 0.60 << 17.63204 << 0.5e-5;
    // Saturation pressures of water (IAPWS-95, as tabulated by The
    // Engineering ToolBox, "Water – Saturation Pressure vs. Temperature"):
    // 10 ℃ 1.2282, 14 ℃ 1.5990, 18 ℃ 2.0647, 20 ℃ 2.3393, 25 ℃ 3.1699,
    // 30 ℃ 4.2470 kPa. Air at θ with φ = p_s(θ_d)/p_s(θ) has the dew point
    // θ_d; the Magnus fit keeps within 0.03 K of the steam tables here.
    const double published[][4] = {{25, 1.5990, 3.1699, 14}, {25, 2.0647, 3.1699, 18},
                                   {25, 1.2282, 3.1699, 10}, {20, 1.2282, 2.3393, 10},
                                   {20, 1.5990, 2.3393, 14}, {30, 2.3393, 4.2470, 20},
                                   {30, 3.1699, 4.2470, 25}, {26, 1, 1, 26}};
    for (const auto& p : published)
        QTest::addRow("%g ℃, dew %g ℃ by the steam tables", p[0], p[3])
            << p[0] << p[1] / p[2] << p[3] << 0.03;
}

void CoolingLimitsTest::dewPoint() {
    QFETCH(double, temp);
    QFETCH(double, humidity);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    const auto dew = cooling::dewPoint(temp, humidity);
    QVERIFY(dew);
    QVERIFY2(std::fabs(*dew - expected) <= tolerance, qPrintable(QString::number(*dew, 'g', 10)));
}

void CoolingLimitsTest::variants_data() {
    // Example 1 with changes ("key=value;…"), and one quantity of its loop
    // or of its room: the loop's refusal, a check's verdict (1 passes), and
    // numbers. At its limit a verdict passes (unrounded values).
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("expected");
    const auto refused = [](const char* change, Applicability a) {
        QTest::newRow(*change ? change : "default") << QString(change) << "refusal" << double(a);
    };
    using A = Applicability;
    refused("", A::Applicable);
    refused("su=0", A::Construction);
    refused("R=nan", A::Construction);
    refused("humidity=0", A::RoomAir);
    refused("humidity=50", A::RoomAir); // a percentage typed as a fraction
    refused("humidity=1.0000000000000002", A::RoomAir);
    refused("humidity=nan", A::RoomAir);
    refused("room=nan", A::RoomAir);
    refused("room=60.5", A::RoomAir);
    refused("margin=0.99", A::DewMargin);
    refused("margin=1", A::Applicable);
    refused("return=26", A::TemperatureOrder);
    refused("supply=22", A::TemperatureOrder);
    refused("supply=4;return=7", A::SupplyTooCold);
    refused("supply=4.01;return=7", A::Applicable);
    refused("length=-1", A::Length);
    refused("length=1e308", A::Length); // products beyond the doubles
    refused("Ru=0", A::SpaceBelow);
    refused("Ru=1e-320", A::SpaceBelow);
    refused("below=none", A::SpaceBelow); // R_u without θ_u
    const std::tuple<const char*, const char*, double> rows[] = {
        {"supply=min", "D1", 1}, // θ_d + Δθ_s exactly
        {"supply=min-", "D1", 0},
        {"supply=dew", "D1", 0},
        {"supply=dew", "belowDew", 0},
        {"supply=dew-", "belowDew", 1},
        // The floor of the worked example: θ_F,m 23.25613, θ_F,V 22.56099 ℃;
        // θ_d + 2 K is 23.00374 ℃ at 74 %, 23.44 ℃ at 76 %.
        {"humidity=0.74", "D2", 1},
        {"humidity=0.74", "D3", 0},
        {"humidity=0.76", "D2", 0},
        // Water 10/13 ℃: θ_F,m 19.79 ℃, above 19 but below 20 ℃.
        {"supply=10;return=13", "F1", 1},
        {"supply=10;return=13;occupancy=seated", "F1", 0},
        {"supply=19", "R1", 1}, // 2 K
        {"supply=19.001", "R1", 0},
        {"supply=16", "R1", 1}, // 5 K
        {"supply=15.999", "R1", 0},
        {"occupancy=seated", "qFlim", 42}, // 7·(26 − 20)
        {"occupancy=transit", "qFlim", 7 * (26 - 16.77001)},
        {"occupancy=transit", "F1 checked", 0},
        // Water that does not warm: Δθ_C = θ_i − θ_V, q_C the inlet strip's
        // 3.009132·8 of the worked example; no flow carries it, and a load
        // gets a supply the method computes.
        {"return=18", "qC", 24.07306},
        {"return=18", "flow", 0},
        {"return=18", "R1", 0},
        {"return=18;load=0", "proposal", 0},
        {"return=18;load=1", "proposal", 1},
        {"return=18;load=5000", "proposal", 1},
    };
    for (const auto& [change, quantity, expected] : rows)
        QTest::addRow("%s: %s", change, quantity)
            << QString(change) << QString(quantity) << expected;
}

void CoolingLimitsTest::variants() {
    QFETCH(QString, change);
    QFETCH(QString, quantity);
    QFETCH(double, expected);
    LoopInputs in = defaultLoop();
    in.construction.downwardResistance = 0.92;
    in.construction.belowTemp = 20.0;
    double load = 900;
    // clang-format off
    const QHash<QString, double*> fields{
        {"su", &in.construction.screedAbove}, {"R", &in.construction.coveringResistance},
        {"humidity", &in.room.humidity}, {"room", &in.room.temp}, {"margin", &in.room.dewMargin},
        {"return", &in.returnTemp}, {"supply", &in.supplyTemp}, {"length", &in.length},
        {"Ru", &*in.construction.downwardResistance}, {"load", &load}};
    // clang-format on
    for (const QString& item : change.split(';', Qt::SkipEmptyParts)) {
        const QString key = item.section('=', 0, 0);
        const QString text = item.section('=', 1);
        double value = text == "nan" ? NAN : text.toDouble();
        if (text.startsWith("min"))
            value = *lowestSupplyTemp(26, 0.5, 2);
        if (text.startsWith("dew"))
            value = *cooling::dewPoint(26, 0.5);
        if (text.endsWith('-'))
            value = std::nextafter(value, 0.0);
        if (fields.contains(key))
            *fields[key] = value;
        if (text.startsWith("min") || text.startsWith("dew"))
            in.returnTemp = value + 3; // the supplies of the dew point keep σ = 3 K
        if (key == "occupancy")
            in.room.occupancy = text == "seated" ? Occupancy::Seated : Occupancy::Transit;
        if (key == "below")
            in.construction.belowTemp.reset();
    }
    const LoopResult r = coolingLoop(in);
    if (quantity == "refusal") {
        QCOMPARE(double(r.applicability), expected);
        if (!r.applicable()) // no numbers, so none that is not a number either
            QVERIFY(r.coolingOutput == 0 && r.waterLoad == 0 && !r.flow);
        return;
    }
    QVERIFY(r.applicable());
    const auto proposal = coolingRoom(std::vector<LoopResult>{r}, load).proposedSupplyTemp;
    if (proposal)
        QVERIFY(*proposal >= r.minSupplyTemp &&
                logMeanUnderTemp(*proposal, *proposal + r.rise, 26));
    // clang-format off
    const QHash<QString, double> all = {
        {"D1", r.checks[0].passed}, {"D2", r.checks[1].passed}, {"D3", r.checks[2].passed},
        {"F1", r.checks[3].passed}, {"R1", r.checks[4].passed},
        {"belowDew", r.checks[0].belowDewPoint}, {"F1 checked", r.checks[3].checked},
        {"qFlim", r.floorLimitedOutput}, {"qC", r.coolingOutput},
        {"flow", r.flow.has_value() || r.velocity.has_value()},
        {"proposal", proposal.has_value()}};
    // clang-format on
    const double got = all.value(quantity, NAN);
    QVERIFY2(std::fabs(got - expected) <= 0.5e-5 * std::max(1.0, std::fabs(expected)),
             qPrintable(QString::number(got, 'g', 10)));
}

void CoolingLimitsTest::conversion_data() {
    // With the heating surface coefficient in place of the cooling one the
    // conversion gives back the heating runs at their own coverings, and
    // between them the heating K_H within 1 % (heating sheet example b:
    // 3.854417; the carpet of the cooling sheet's example 2: 3.538126).
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<double>("covering");
    QTest::addColumn<QString>("expected"); // a run's K_H, or a number
    QTest::addColumn<double>("tolerance"); // relative
    QTest::newRow("bare") << "300" << 0.0 << "KH0" << 1e-15;
    QTest::newRow("second run") << "300" << 0.15 << "KH15" << 1e-15;
    QTest::newRow("tile") << "300" << 0.020 / 2.91 << "3.882" << 1.3e-4; // half a unit
    QTest::newRow("tile, heating") << "300" << 0.020 / 2.91 << "3.854417" << 0.01;
    QTest::newRow("carpet") << "150" << 0.010 / 0.10 << "3.550" << 1.4e-4;
    QTest::newRow("carpet, heating") << "150" << 0.010 / 0.10 << "3.538126" << 0.01;
}

void CoolingLimitsTest::conversion() {
    QFETCH(QString, spacing);
    QFETCH(double, covering);
    QFETCH(QString, expected);
    QFETCH(double, tolerance);
    FieldRecord f = FieldRecord::defaults();
    f.design[SpacingField] = spacing.toStdString();
    const Characteristic c = coolingCharacteristic(en1264Inputs(f, 29));
    const double got = convertToCooling(c.bareHeating, c.coveredHeating, covering, 0);
    const double want = expected == "KH0"    ? c.bareHeating
                        : expected == "KH15" ? c.coveredHeating
                                             : expected.toDouble();
    QVERIFY2(std::fabs(got - want) <= tolerance * want, qPrintable(QString::number(got, 'g', 17)));
}

void CoolingLimitsTest::supplyRoundTrip_data() {
    // Water whose return lies within a few 1e-5 K of the room leaves too
    // few digits in θ_i − θ_R for 1e-12; the rows stay short of that.
    QTest::addColumn<double>("underTemp");
    QTest::addColumn<double>("rise");
    for (const double rise : {0.0, 1e-12, 1e-6, 0.5, 2.0, 3.0, 5.0})
        for (const double under : {1.5, 6.382929, 15.0})
            QTest::addRow("Δθ %g, σ %g", under, rise) << under << rise;
    QTest::newRow("Δθ 0.25, σ 0.5") << 0.25 << 0.5;
}

void CoolingLimitsTest::supplyRoundTrip() {
    QFETCH(double, underTemp);
    QFETCH(double, rise);
    const double supply = supplyForUnderTemp(underTemp, rise, 26);
    const auto back = logMeanUnderTemp(supply, supply + rise, 26);
    QVERIFY(back && std::fabs(*back - underTemp) <= 1e-12 * underTemp);
}

void CoolingLimitsTest::designWater_data() {
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("supply"); // NaN: none
    QTest::newRow("40 %: the typical 16 ℃") << 0.40 << 16.0;
    QTest::newRow("50 %: 16.77001 up to 16.8") << 0.50 << 16.8;
    QTest::newRow("60 %: 19.63204 up to 19.7") << 0.60 << 19.7;
    QTest::newRow("70 %: 22.10 up to 22.2") << 0.70 << 22.2;
    QTest::newRow("80 %: the return would pass 26 ℃") << 0.80 << double(NAN);
}

void CoolingLimitsTest::designWater() {
    QFETCH(double, humidity);
    QFETCH(double, supply);
    const auto water = cooling::designWater(26, humidity, 2, 3);
    QCOMPARE(water.has_value(), !std::isnan(supply));
    if (!water)
        return;
    QCOMPARE(water->supplyTemp, supply); // the value "16.8" reads as
    QCOMPARE(water->returnTemp, supply + 3);
    QCOMPARE(water->raisedByDewPoint, supply > 16);
    QVERIFY(water->supplyTemp >= *lowestSupplyTemp(26, humidity, 2));
}

void CoolingLimitsTest::cache() {
    // The cache holds eight constructions: nine spacings, then the first
    // (evicted) and the last (held) again.
    CharacteristicCache cache;
    En1264Inputs construction = defaultLoop().construction;
    for (const int mm : {100, 125, 150, 175, 200, 225, 250, 275, 300, 100, 300, 125}) {
        construction.spacing = mm / 1000.0;
        QCOMPARE(cache.get(construction).cooling, coolingCharacteristic(construction).cooling);
    }
}

void CoolingLimitsTest::proposalsKeepEveryLimit_data() {
    QTest::addColumn<unsigned>("seed");
    for (const unsigned seed : {1u, 22u, 20240611u})
        QTest::addRow("seed %u", seed) << seed;
}

// Random rooms of one to three loops: every supply the engine proposes
// lies at or above θ_d + Δθ_s, and the loops computed again at it pass
// D1, D2, D3 and F1 on their unrounded values.
void CoolingLimitsTest::proposalsKeepEveryLimit() {
    QFETCH(unsigned, seed);
    std::mt19937 random(seed);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    int proposals = 0;
    int floorBound = 0;
    for (int n = 0; n < 1500; ++n) {
        LoopInputs in;
        En1264Inputs& c = in.construction;
        c.spacing = uniform(0.04, 0.45);
        c.diameter = uniform(0.010, 0.030);
        c.wallThickness = uniform(0.0015, 0.003);
        c.wallConductivity = uniform(0.2, 0.5);
        c.screedAbove = uniform(0.005, 0.12);
        c.screedConductivity = uniform(0.6, 2.5);
        c.coveringResistance = uniform(0, 0.2);
        in.room = {uniform(20, 32), uniform(0.2, 0.95), uniform(1, 3), Occupancy(random() % 3)};
        in.supplyTemp = uniform(5, 24);
        in.returnTemp = in.supplyTemp + uniform(0, 6);
        std::vector<LoopResult> loops;
        for (int i = 0, count = 1 + random() % 3; i < count; ++i) {
            in.length = uniform(10, 150);
            loops.push_back(coolingLoop(in));
            in.construction.spacing = uniform(0.05, 0.35);
        }
        const RoomResult room = coolingRoom(loops, uniform(0, 3000));
        if (!room.applicable())
            continue;
        for (const auto proposed : {room.proposedSupplyTemp, room.admissible.supplyTemp}) {
            if (!proposed)
                continue;
            ++proposals;
            floorBound += room.admissible.limit == Limit::FloorTemp;
            QVERIFY(*proposed >= room.minSupplyTemp && *proposed >= kLowestProposedSupplyTemp);
            LoopInputs again = in;
            again.supplyTemp = *proposed;
            again.returnTemp = *proposed + loops.front().rise;
            for (const LoopResult& loop : loops) {
                const LoopResult at = coolingLoop(again, loop.characteristic);
                QVERIFY(at.applicable());
                for (int check = 0; check < 4; ++check)
                    QVERIFY2(at.checks[check].passed, qPrintable(QString::number(n)));
            }
        }
    }
    QVERIFY(proposals > 500 && floorBound > 20); // both limits were met on the way
}

QTEST_APPLESS_MAIN(CoolingLimitsTest)
#include "tst_coolinglimits.moc"
