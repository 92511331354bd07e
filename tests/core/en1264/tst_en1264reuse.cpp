// SPDX-License-Identifier: GPL-3.0-or-later
// A floor's characteristic computed once and the water's numbers added per
// loop give en1264TypeA's result bit for bit: on the type A sheet's
// examples, on inputs the method stops at, and on many generated floors.

#include "core/en1264/atwater.h"
#include "core/en1264/floor.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <cstdint>

using namespace zorva;

namespace {

bool same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The first field that differs, or an empty text.
QString difference(const En1264Result& a, const En1264Result& b) {
    if (a.applicability != b.applicability)
        return "applicability";
    if (a.flags != b.flags || a.thickScreedRule != b.thickScreedRule ||
        a.wideSpacingRule != b.wideSpacingRule || a.limitBySpacingRatio != b.limitBySpacingRatio ||
        a.withinLimit != b.withinLimit)
        return "flags";
    if (a.downwardLoss.has_value() != b.downwardLoss.has_value() ||
        (a.downwardLoss && !same(*a.downwardLoss, *b.downwardLoss)))
        return "downwardLoss";
    const double En1264Result::*fields[] = {
        &En1264Result::coveringResistance,
        &En1264Result::screedAbove,
        &En1264Result::screedConductivity,
        &En1264Result::screedResistance,
        &En1264Result::coveringFactor,
        &En1264Result::aT,
        &En1264Result::aU,
        &En1264Result::aD,
        &En1264Result::product,
        &En1264Result::wallBracket,
        &En1264Result::systemCoeff,
        &En1264Result::thickScreedLimit,
        &En1264Result::thickCharacteristic,
        &En1264Result::characteristicAtTable,
        &En1264Result::characteristic,
        &En1264Result::logMeanExcess,
        &En1264Result::heatFlux,
        &En1264Result::meanFloorTemp,
        &En1264Result::floorLimit,
        &En1264Result::limitB,
        &En1264Result::limitN,
        &En1264Result::limitPhi,
        &En1264Result::limitWideFactor,
        &En1264Result::limitExcess,
        &En1264Result::limitFlux,
        &En1264Result::limitFluxMax,
        &En1264Result::upwardResistance,
    };
    for (std::size_t i = 0; i < std::size(fields); ++i)
        if (!same(a.*fields[i], b.*fields[i]))
            return QString("field %1").arg(i);
    return {};
}

en1264::Floor floorOf(const En1264Inputs& in) {
    return {in.spacing,     in.diameter,           in.wallThickness,     in.wallConductivity,
            in.screedAbove, in.screedConductivity, in.coveringResistance};
}

QString check(const En1264Inputs& in) {
    const En1264Result floor = en1264::floorCharacteristic(floorOf(in), in.roomTemp, in.floorLimit);
    return difference(en1264::atWaterTemps(floor, in), en1264TypeA(in));
}

} // namespace

class En1264ReuseTest : public QObject {
    Q_OBJECT

private slots:
    void sameAsTheWholeMethod_data();
    void sameAsTheWholeMethod();
    void sameOnGeneratedFloors();
};

void En1264ReuseTest::sameAsTheWholeMethod_data() {
    QTest::addColumn<QString>("change");
    for (const char* c :
         {"a", "c wide", "d thick", "b below", "equal water", "supply nan", "return at room",
          "supply below return", "no screed", "pipe 4 mm", "covering nan", "room nan", "room 1e17",
          "limit at room", "limit below room", "wall fills pipe", "below 40"})
        QTest::newRow(c) << QString(c);
}

void En1264ReuseTest::sameAsTheWholeMethod() {
    QFETCH(QString, change);
    // The sheet's example (a), then one change.
    En1264Inputs in{0.15, 0.020, 0.002, 0.35, 0.045, 1.2, 0.10, 45, 35, 20, 29, {}, {}};
    if (change == "c wide")
        in = {0.45, 0.017, 0.002, 0.35, 0.10, 1.2, 0, 45, 35, 20, 29, 0.92, 20.0};
    else if (change == "d thick")
        in = {0.10, 0.016, 0.002, 0.22, 0.12, 1.4, 0.05, 35, 28, 20, 29, {}, {}};
    else if (change == "b below") {
        in.downwardResistance = 0.92;
        in.belowTemp = 16;
    } else if (change == "equal water")
        in.returnTemp = in.supplyTemp;
    else if (change == "supply nan")
        in.supplyTemp = NAN;
    else if (change == "return at room")
        in.returnTemp = in.roomTemp;
    else if (change == "supply below return")
        in.supplyTemp = 30;
    else if (change == "no screed")
        in.screedAbove = 0;
    else if (change == "pipe 4 mm") {
        in.diameter = 0.004;
        in.wallThickness = 0.001;
    } else if (change == "covering nan")
        in.coveringResistance = NAN;
    else if (change == "room nan")
        in.roomTemp = NAN;
    else if (change == "room 1e17") {
        in.roomTemp = 1e17;
        in.supplyTemp = 1.0000000000000002e17 + 64;
        in.returnTemp = in.supplyTemp;
    } else if (change == "limit at room")
        in.floorLimit = in.roomTemp;
    else if (change == "limit below room")
        in.floorLimit = 15;
    else if (change == "wall fills pipe")
        in.wallThickness = 0.010;
    else if (change == "below 40") {
        in.downwardResistance = 0.5;
        in.belowTemp = 40;
    }
    const QString diff = check(in);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void En1264ReuseTest::sameOnGeneratedFloors() {
    // Floors and water across and beyond the tables' ranges, the same on
    // every run.
    std::uint32_t state = 12345;
    const auto uniform = [&state](double low, double high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * (state >> 8) / double(1u << 24);
    };
    for (int i = 0; i < 5000; ++i) {
        En1264Inputs in;
        in.spacing = uniform(0.03, 0.6);
        in.diameter = uniform(0.006, 0.035);
        in.wallThickness = uniform(0.0005, 0.004);
        in.wallConductivity = uniform(0.2, 0.5);
        in.screedAbove = uniform(-0.01, 0.2);
        in.screedConductivity = uniform(0.3, 3);
        in.coveringResistance = uniform(0, 0.2);
        in.roomTemp = uniform(10, 30);
        in.supplyTemp = uniform(20, 60);
        in.returnTemp = in.supplyTemp - uniform(-1, 15);
        in.floorLimit = in.roomTemp + uniform(-2, 20);
        if (i % 3 == 0) {
            in.downwardResistance = uniform(0.2, 3);
            in.belowTemp = uniform(-10, 25);
        }
        const QString diff = check(in);
        QVERIFY2(diff.isEmpty(), qPrintable(QString("case %1: %2").arg(i).arg(diff)));
    }
}

QTEST_APPLESS_MAIN(En1264ReuseTest)
#include "tst_en1264reuse.moc"
