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

class TestCoolingLimits : public QObject {
    Q_OBJECT

private slots:
    void dewPointTable_data();
    void dewPointTable();
    void dewPointPublished_data();
    void dewPointPublished();
    void refusedAir_data();
    void refusedAir();
    void applicability_data();
    void applicability();
    void boundaries_data();
    void boundaries();
    void conversion_data();
    void conversion();
    void supplyRoundTrip_data();
    void supplyRoundTrip();
    void designWater_data();
    void designWater();
    void occupancy_data();
    void occupancy();
    void proposalsKeepEveryLimit_data();
    void proposalsKeepEveryLimit();
};

void TestCoolingLimits::dewPointTable_data() {
    // The dew-point table of the data sheet (Magnus, b 17.62, c 243.12),
    // rows 24 … 28 ℃, columns 40 … 70 %.
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");
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
}

void TestCoolingLimits::dewPointTable() {
    QFETCH(double, temp);
    QFETCH(double, humidity);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    const auto dew = dewPoint(temp, humidity);
    QVERIFY(dew);
    QVERIFY2(std::fabs(*dew - expected) <= tolerance, qPrintable(QString::number(*dew, 'g', 10)));
}

void TestCoolingLimits::dewPointPublished_data() {
    // Saturation pressures of water (IAPWS-95, as tabulated by The
    // Engineering ToolBox, "Water – Saturation Pressure vs. Temperature"):
    // 10 ℃ 1.2282, 14 ℃ 1.5990, 18 ℃ 2.0647, 20 ℃ 2.3393, 25 ℃ 3.1699,
    // 30 ℃ 4.2470 kPa. Air at θ whose vapour pressure equals p_s(θ_d) has
    // the dew point θ_d, at φ = p_s(θ_d)/p_s(θ).
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("expected");
    QTest::newRow("25 ℃, dew 14 ℃") << 25.0 << 1.5990 / 3.1699 << 14.0;
    QTest::newRow("25 ℃, dew 18 ℃") << 25.0 << 2.0647 / 3.1699 << 18.0;
    QTest::newRow("25 ℃, dew 10 ℃") << 25.0 << 1.2282 / 3.1699 << 10.0;
    QTest::newRow("20 ℃, dew 10 ℃") << 20.0 << 1.2282 / 2.3393 << 10.0;
    QTest::newRow("20 ℃, dew 14 ℃") << 20.0 << 1.5990 / 2.3393 << 14.0;
    QTest::newRow("30 ℃, dew 20 ℃") << 30.0 << 2.3393 / 4.2470 << 20.0;
    QTest::newRow("30 ℃, dew 25 ℃") << 30.0 << 3.1699 / 4.2470 << 25.0;
    QTest::newRow("saturated air") << 26.0 << 1.0 << 26.0;
}

void TestCoolingLimits::dewPointPublished() {
    QFETCH(double, temp);
    QFETCH(double, humidity);
    QFETCH(double, expected);
    const auto dew = dewPoint(temp, humidity);
    QVERIFY(dew);
    // The Magnus fit stays within 0.03 K of the steam tables here.
    QVERIFY2(std::fabs(*dew - expected) <= 0.03, qPrintable(QString::number(*dew, 'g', 10)));
}

void TestCoolingLimits::refusedAir_data() {
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("humidity");
    QTest::newRow("dry") << 26.0 << 0.0;
    QTest::newRow("negative") << 26.0 << -0.1;
    QTest::newRow("percent typed as fraction") << 26.0 << 50.0;
    QTest::newRow("just above saturation") << 26.0 << std::nextafter(1.0, 2.0);
    QTest::newRow("humidity NaN") << 26.0 << double(NAN);
    QTest::newRow("room NaN") << double(NAN) << 0.5;
    QTest::newRow("room above 60 ℃") << 60.5 << 0.5;
    QTest::newRow("room below −45 ℃") << -46.0 << 0.5;
}

void TestCoolingLimits::refusedAir() {
    QFETCH(double, temp);
    QFETCH(double, humidity);
    QVERIFY(!dewPoint(temp, humidity));
    QVERIFY(!lowestSupplyTemp(temp, humidity, 2));
    LoopInputs in = defaultLoop();
    in.room.temp = temp;
    in.room.humidity = humidity;
    QCOMPARE(coolingLoop(in).applicability, Applicability::RoomAir);
}

void TestCoolingLimits::applicability_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<Applicability>("expected");
    QTest::newRow("default") << "" << Applicability::Applicable;
    QTest::newRow("no screed above the pipe") << "su=0" << Applicability::Construction;
    QTest::newRow("covering NaN") << "R=nan" << Applicability::Construction;
    QTest::newRow("margin below 1 K") << "margin=0.99" << Applicability::DewMargin;
    QTest::newRow("margin 1 K") << "margin=1" << Applicability::Applicable;
    QTest::newRow("return at the room temperature")
        << "return=26" << Applicability::TemperatureOrder;
    QTest::newRow("supply above return") << "supply=22" << Applicability::TemperatureOrder;
    QTest::newRow("supply 4 ℃") << "supply=4" << Applicability::SupplyTooCold;
    QTest::newRow("supply 4.01 ℃") << "supply=4.01" << Applicability::Applicable;
    QTest::newRow("negative length") << "length=-1" << Applicability::Length;
    QTest::newRow("length beyond the doubles' products") << "length=1e308" << Applicability::Length;
    QTest::newRow("R_u zero") << "Ru=0" << Applicability::SpaceBelow;
    QTest::newRow("R_u without θ_u") << "Ru only" << Applicability::SpaceBelow;
    QTest::newRow("R_u tiny") << "Ru=1e-320" << Applicability::SpaceBelow;
}

void TestCoolingLimits::applicability() {
    QFETCH(QString, change);
    QFETCH(Applicability, expected);
    LoopInputs in = defaultLoop();
    in.construction.downwardResistance = 0.92;
    in.construction.belowTemp = 20.0;
    const QString key = change.section('=', 0, 0);
    const double value = change.section('=', 1).toDouble();
    if (key == "su")
        in.construction.screedAbove = value;
    else if (key == "R")
        in.construction.coveringResistance = NAN;
    else if (key == "margin")
        in.room.dewMargin = value;
    else if (key == "return")
        in.returnTemp = value;
    else if (key == "supply")
        in.supplyTemp = value;
    else if (key == "length")
        in.length = value;
    else if (key == "Ru")
        in.construction.downwardResistance = value;
    else if (key == "Ru only")
        in.construction.belowTemp.reset();
    const LoopResult r = coolingLoop(in);
    QCOMPARE(r.applicability, expected);
    if (!r.applicable()) // no numbers, so none that is not a number either
        QCOMPARE(r.coolingOutput, 0.0);
}

void TestCoolingLimits::boundaries_data() {
    // A verdict on the unrounded value: at its limit it passes.
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("check");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<bool>("belowDewPoint");
    QTest::newRow("supply at θ_d + Δθ_s") << "minSupply" << 0 << true << false;
    QTest::newRow("supply a bit below") << "minSupply-" << 0 << false << false;
    QTest::newRow("supply at θ_d") << "dew" << 0 << false << false;
    QTest::newRow("supply a bit below θ_d") << "dew-" << 0 << false << true;
    QTest::newRow("rise 2 K") << "rise=2" << 4 << true << false;
    QTest::newRow("rise below 2 K") << "rise=1.999" << 4 << false << false;
    QTest::newRow("rise 5 K") << "rise=5" << 4 << true << false;
    QTest::newRow("rise above 5 K") << "rise=5.001" << 4 << false << false;
}

void TestCoolingLimits::boundaries() {
    QFETCH(QString, where);
    QFETCH(int, check);
    QFETCH(bool, passes);
    QFETCH(bool, belowDewPoint);
    LoopInputs in = defaultLoop();
    const double dew = *dewPoint(26, 0.5);
    const double down = -std::numeric_limits<double>::infinity();
    if (where.startsWith("minSupply"))
        in.supplyTemp = *lowestSupplyTemp(26, 0.5, 2);
    if (where.startsWith("dew"))
        in.supplyTemp = dew;
    if (where.endsWith('-'))
        in.supplyTemp = std::nextafter(in.supplyTemp, down);
    if (where.startsWith("rise"))
        in.supplyTemp = 21 - where.section('=', 1).toDouble();
    else
        in.returnTemp = in.supplyTemp + 3;
    const LoopResult r = coolingLoop(in);
    QVERIFY(r.applicable());
    QCOMPARE(r.checks[check].passed, passes);
    QCOMPARE(r.checks[check].belowDewPoint, belowDewPoint);
}

void TestCoolingLimits::conversion_data() {
    // With the heating surface coefficient in place of the cooling one the
    // conversion gives back the heating runs at their own coverings, and
    // between them the heating K_H within 1 % (heating sheet example b:
    // 3.854417; the carpet of the cooling sheet's example 2: 3.538126).
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<double>("covering");
    QTest::addColumn<QString>("expected"); // a run's K_H, or a number
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<bool>("relative");
    QTest::newRow("bare") << "300" << 0.0 << "KH0" << 1e-15 << true;
    QTest::newRow("second run") << "300" << 0.15 << "KH15" << 1e-15 << true;
    QTest::newRow("tile") << "300" << 0.020 / 2.91 << "3.882" << 0.0005 << false;
    QTest::newRow("tile against heating") << "300" << 0.020 / 2.91 << "3.854417" << 0.01 << true;
    QTest::newRow("carpet") << "150" << 0.010 / 0.10 << "3.550" << 0.0005 << false;
    QTest::newRow("carpet against heating") << "150" << 0.010 / 0.10 << "3.538126" << 0.01 << true;
}

void TestCoolingLimits::conversion() {
    QFETCH(QString, spacing);
    QFETCH(double, covering);
    QFETCH(QString, expected);
    QFETCH(double, tolerance);
    QFETCH(bool, relative);
    FieldRecord f = FieldRecord::defaults();
    f.design[SpacingField] = spacing.toStdString();
    const Characteristic c = coolingCharacteristic(en1264Inputs(f, 29));
    const double got = convertToCooling(c.bareHeating, c.coveredHeating, covering, 0);
    const double want = expected == "KH0"    ? c.bareHeating
                        : expected == "KH15" ? c.coveredHeating
                                             : expected.toDouble();
    const double allowed = relative ? tolerance * want : tolerance;
    QVERIFY2(std::fabs(got - want) <= allowed, qPrintable(QString::number(got, 'g', 17)));
}

void TestCoolingLimits::supplyRoundTrip_data() {
    QTest::addColumn<double>("underTemp");
    QTest::addColumn<double>("rise");
    // Water whose return lies within a few 1e-5 K of the room leaves too
    // few digits in θ_i − θ_R for 1e-12; the rows stay short of that.
    for (const double rise : {0.0, 1e-12, 1e-6, 0.5, 2.0, 3.0, 5.0})
        for (const double under : {1.5, 6.382929, 15.0})
            QTest::addRow("Δθ %g, σ %g", under, rise) << under << rise;
    QTest::newRow("Δθ 0.25, σ 0.5") << 0.25 << 0.5;
}

void TestCoolingLimits::supplyRoundTrip() {
    QFETCH(double, underTemp);
    QFETCH(double, rise);
    const double supply = supplyForUnderTemp(underTemp, rise, 26);
    const auto back = logMeanUnderTemp(supply, supply + rise, 26);
    QVERIFY(back);
    QVERIFY2(std::fabs(*back - underTemp) <= 1e-12 * underTemp,
             qPrintable(QString::number(*back, 'g', 17)));
}

void TestCoolingLimits::designWater_data() {
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("supply"); // NaN: none
    QTest::addColumn<bool>("raised");
    QTest::newRow("40 %: the typical 16 ℃") << 0.40 << 16.0 << false;
    QTest::newRow("50 %: 16.77001 up to 16.8") << 0.50 << 16.8 << true;
    QTest::newRow("60 %: 19.63204 up to 19.7") << 0.60 << 19.7 << true;
    QTest::newRow("70 %: 22.10 up to 22.2") << 0.70 << 22.2 << true;
    QTest::newRow("80 %: the return would pass 26 ℃") << 0.80 << double(NAN) << false;
}

void TestCoolingLimits::designWater() {
    QFETCH(double, humidity);
    QFETCH(double, supply);
    QFETCH(bool, raised);
    const auto water = cooling::designWater(26, humidity, 2, 3);
    QCOMPARE(water.has_value(), !std::isnan(supply));
    if (!water)
        return;
    QCOMPARE(water->supplyTemp, supply); // the value "16.8" reads as
    QCOMPARE(water->returnTemp, supply + 3);
    QCOMPARE(water->raisedByDewPoint, raised);
    QVERIFY(water->supplyTemp >= *lowestSupplyTemp(26, humidity, 2));
}

void TestCoolingLimits::occupancy_data() {
    QTest::addColumn<Occupancy>("occupancy");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<double>("limit");
    QTest::addColumn<double>("floorLimited"); // q_F,lim at 26 ℃, 50 %
    QTest::newRow("standing") << Occupancy::Standing << true << 19.0 << 49.0;
    QTest::newRow("seated") << Occupancy::Seated << true << 20.0 << 42.0;
    // Only the dew point: 7·(26 − 16.77001).
    QTest::newRow("transit") << Occupancy::Transit << false << 0.0 << 7 * (26 - 16.77001);
}

void TestCoolingLimits::occupancy() {
    QFETCH(Occupancy, occupancy);
    QFETCH(bool, checked);
    QFETCH(double, limit);
    QFETCH(double, floorLimited);
    LoopInputs in = defaultLoop();
    in.room.occupancy = occupancy;
    const LoopResult r = coolingLoop(in);
    QCOMPARE(r.checks[3].checked, checked);
    QCOMPARE(r.checks[3].limit, limit);
    QVERIFY(std::fabs(r.floorLimitedOutput - floorLimited) <= 1e-4);
}

void TestCoolingLimits::proposalsKeepEveryLimit_data() {
    QTest::addColumn<unsigned>("seed");
    for (const unsigned seed : {1u, 22u, 20240611u})
        QTest::addRow("seed %u", seed) << seed;
}

// Random rooms of one to three loops: every supply the engine proposes
// lies at or above θ_d + Δθ_s, and the loops computed again at it pass
// D1, D2, D3 and F1 on their unrounded values.
void TestCoolingLimits::proposalsKeepEveryLimit() {
    QFETCH(unsigned, seed);
    std::mt19937 random(seed);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    int proposals = 0;
    int floorBound = 0;
    for (int n = 0; n < 1500; ++n) {
        LoopInputs in;
        in.construction = {uniform(0.04, 0.45),
                           uniform(0.010, 0.030),
                           uniform(0.0015, 0.003),
                           uniform(0.2, 0.5),
                           uniform(0.005, 0.12),
                           uniform(0.6, 2.5),
                           uniform(0, 0.2),
                           0,
                           0,
                           0,
                           0,
                           {},
                           {}};
        in.room = {uniform(20, 32), uniform(0.2, 0.95), uniform(1, 3), Occupancy(random() % 3)};
        in.supplyTemp = uniform(5, 24);
        in.returnTemp = in.supplyTemp + uniform(0, 6);
        std::vector<LoopResult> loops;
        const int count = 1 + random() % 3;
        for (int i = 0; i < count; ++i) {
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
            QVERIFY(*proposed >= room.minSupplyTemp);
            QVERIFY(*proposed >= kLowestProposedSupplyTemp);
            LoopInputs again = in;
            again.supplyTemp = *proposed;
            again.returnTemp = *proposed + loops.front().rise;
            for (const LoopResult& loop : loops) {
                const LoopResult at = coolingLoop(again, loop.characteristic);
                QVERIFY(at.applicable());
                for (int check = 0; check < 4; ++check)
                    QVERIFY2(at.checks[check].passed,
                             qPrintable(QString("room %1 check %2: %3 < %4")
                                            .arg(n)
                                            .arg(check)
                                            .arg(at.checks[check].value, 0, 'g', 17)
                                            .arg(at.checks[check].limit, 0, 'g', 17)));
            }
        }
    }
    // Both limits were met on the way.
    QVERIFY(proposals > 500);
    QVERIFY(floorBound > 20);
}

QTEST_APPLESS_MAIN(TestCoolingLimits)
#include "tst_coolinglimits.moc"
