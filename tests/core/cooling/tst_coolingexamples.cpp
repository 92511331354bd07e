// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/field.h"
#include "core/cooling/room.h"

#include <QTest>

#include <cmath>
#include <vector>

using namespace zorva;
using namespace zorva::cooling;

namespace {

// The worked examples of the floor-cooling data sheet: "1" our default
// construction at 300 mm, 18/21 ℃, 26 ℃ and 50 %, one loop of 120 m, 900 W;
// "1b" the same at 150 mm with two loops of 120 m; "2" 150 mm under a carpet
// of 10 mm with λ 0.10, 16/19 ℃, 26 ℃ and 60 %, one loop of 120 m, 400 W.
// Below every floor: a room at 26 ℃ through R_u = 0.92 m²·K/W.
LoopInputs exampleLoop(const QString& name) {
    if (name == "1f") { // example 1 on the method interface's floor, over a
                        // heated room: R_u = 0.75 + 0.17 under the ceiling
        const en1264::Floor floor =
            en1264::floorFromConstruction({20, 20, 50, 2}, {2.91, 1.84, 1.28, 0.41}, 20, 300);
        return loopInputs(floor, 18, 21, RoomConditions{}, 120,
                          en1264::Below{en1264::BelowKind::HeatedRoom, 0.75, 0, 0, {}});
    }
    FieldRecord f = FieldRecord::defaults();
    LoopInputs in;
    in.supplyTemp = name == "2" ? 16 : 18;
    in.returnTemp = in.supplyTemp + 3;
    if (name != "1")
        f.design[SpacingField] = "150";
    if (name == "2") {
        f.thickness[0] = "10";
        f.conductivity[0] = "0.10";
        in.room.humidity = 0.60;
    }
    in.construction = en1264Inputs(f, 29);
    in.construction.downwardResistance = 0.92;
    in.construction.belowTemp = 26.0;
    in.length = 120;
    return in;
}

struct Example {
    std::vector<LoopResult> loops;
    RoomResult room;
    CoolingField field;
};

Example computeExample(const QString& name) {
    Example e;
    e.loops.assign(name == "1b" ? 2 : 1, coolingLoop(exampleLoop(name)));
    e.room = coolingRoom(e.loops, name == "2" ? 400 : 900);
    e.field = coolingField(exampleLoop(name));
    return e;
}

double quantity(const Example& e, const QString& name) {
    const LoopResult& l = e.loops.front();
    const RoomResult& r = e.room;
    const Characteristic& c = l.characteristic;
    const CoolingField& f = e.field;
    // The field's spacings 100 … 300 mm at the design's covering; 300 mm is
    // the design's own line.
    const FieldLine& f150 = f.spacing[1];
    const FieldLine& f300 = f.spacing[4];
    // clang-format off
    const QHash<QString, double> all = {
        {"KH0", c.bareHeating}, {"KH15", c.coveredHeating}, {"x", c.coveringRatio},
        {"KC", c.cooling}, {"dTC", l.underTemp}, {"qC", l.coolingOutput},
        {"tFm", l.floorTempMean}, {"qV", l.inletOutput}, {"tFV", l.floorTempInlet},
        {"td", l.dewPoint}, {"tVmin", l.minSupplyTemp}, {"qFlim", l.floorLimitedOutput},
        {"qdew", l.dewLimitedOutput}, {"qmax", l.maxAdmissibleOutput},
        {"dTCdew", l.admissible.dewUnderTemp}, {"A_j", l.area}, {"Q_j", l.loopOutput},
        {"RoC", l.upwardResistance}, {"quC", l.downwardOutput.value_or(NAN)},
        {"share", l.upwardShare.value_or(NAN)}, {"water", l.waterLoad},
        {"G", l.flow.value_or(NAN)}, {"v", l.velocity.value_or(NAN)},
        {"A", r.area}, {"Qroom", r.roomOutput}, {"qneed", r.fluxNeeded},
        {"dTCneed", r.underTempNeeded}, {"tVneed", r.supplyForLoad},
        {"Qdew", r.dewLimitedOutput}, {"tFm@dew", coolingFloorTemp(l.dewLimitedOutput, 26)},
        {"Qadm", r.admissibleOutput}, {"shortfall", r.shortfall},
        {"sumFlow", sumLoops(e.loops).flow.value_or(NAN)},
        {"field:dewLimit", f.dewLimitUnderTemp.value_or(NAN)},
        {"field:floorLimit", f.floorLimitedOutput}, {"field:x", f.designUnderTemp.value_or(NAN)},
        {"field:q", f.designOutput.value_or(NAN)}, {"field:K150", f150.characteristic.cooling},
        {"field:K300", f300.current ? f300.characteristic.cooling : NAN},
        {"field:end300x", f300.admissibleUnderTemp}, {"field:end300q", f300.admissibleOutput},
        {"field:lines", f.spacing.size() * 10 + f.covering.size() + 0.0},
        // Verdicts: 1 passes.
        {"D1", l.checks[0].passed + 0.0}, {"D2", l.checks[1].passed + 0.0},
        {"D3", l.checks[2].passed + 0.0}, {"F1", l.checks[3].passed + 0.0},
        {"R1", l.checks[4].passed + 0.0}, {"L1", r.load.passed + 0.0},
        {"belowDew", l.checks[0].belowDewPoint + 0.0}, {"extrapolated", c.extrapolated + 0.0},
        {"admissible", r.admissibleDesign + 0.0}, {"reason", double(r.reason)},
    };
    // clang-format on
    return all.value(name, NAN);
}

// Half a unit in the seventh significant digit, the sheet's printing. The
// reasons count as Shortfall: 0 none, 2 the dew point.
bool sevenDigits(double got, double expected) {
    if (expected == 0)
        return got == 0;
    const double unit = std::pow(10, std::floor(std::log10(std::fabs(expected))) - 6);
    return std::fabs(got - expected) <= unit / 2;
}

// Rows "name value name value …" of one example.
void rows(const char* example, const char* pairs) {
    const QStringList items = QString(pairs).split(' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < items.size(); i += 2)
        QTest::addRow("%s %s", example, qPrintable(items[i]))
            << QString(example) << items[i] << items[i + 1].toDouble();
}

} // namespace

class CoolingExamplesTest : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void roomOfTwoConstructions();
    void heatingRunsTakeTheHeatingRules();
};

void CoolingExamplesTest::workedExamples_data() {
    QTest::addColumn<QString>("example");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("expected");
    rows("1", "KH0 4.012743 KH15 2.313694 x 0.4541761 KC 3.009132 dTC 6.382929 qC 19.20708 "
              "tFm 23.25613 qV 24.07306 tFV 22.56099 td 14.77001 tVmin 16.77001 qFlim 49 "
              "A_j 36 Q_j 691.4548 RoC 0.1950261 quC 4.07161 share 0.8250928 water 838.0328 "
              "G 240.1928 v 0.3318392 A 36 Qroom 691.4548 qneed 25 dTCneed 8.308043 "
              "tVneed 16.10188 dTCdew 7.631971 qdew 22.96561 Qdew 826.762 tFm@dew 22.7192 "
              "qmax 22.96561 Qadm 691.4548 shortfall 208.5452 field:dewLimit 7.631971 "
              "field:floorLimit 49 field:x 6.382929 field:q 19.20708 field:K150 4.080127 "
              "field:K300 3.009132 field:end300x 7.631971 field:end300q 22.96561 "
              "field:lines 55 " // 300 mm is of the spacing family, the tile is no covering
              "D1 1 D2 1 D3 1 F1 1 R1 1 L1 0 belowDew 0 extrapolated 0 admissible 1 reason 2");

    rows("1b", "KH0 5.990982 KH15 2.949524 x 0.4541761 KC 4.080127 qC 26.04316 tFm 22.27955 "
               "tFV 21.337 Qroom 937.5539 tVneed 18.25082 qdew 31.13941 Q_j 468.7769 "
               "quC 5.520756 water 568.1506 G 162.8405 v 0.2249729 shortfall 0 "
               "sumFlow 325.681 " // two loops' flows on one manifold
               "D1 1 D2 1 D3 1 F1 1 R1 1 L1 1 reason 0");
    rows("1f", "KC 3.009132 qC 19.20708 RoC 0.1950261 quC 4.07161 G 240.1928 v 0.3318392");
    rows("2", "x 1.075024 KC 2.841306 dTC 8.41102 qC 23.89828 tFm 22.58596 qV 28.41306 "
              "tFV 21.94099 td 17.63204 tVmin 19.63204 qFlim 44.57574 Qroom 430.1691 "
              "dTCneed 7.821129 tVneed 16.58321 dTCdew 4.709787 qdew 13.38195 Qdew 240.875 "
              "tFm@dew 24.08829 qmax 13.38195 Qadm 240.875 shortfall 159.125 RoC 0.2881532 "
              "quC 7.485182 share 0.7614928 water 564.9024 G 161.9095 v 0.2236867 "
              // Water below the dew point condenses; only the admissible
              // water's output counts.
              "D1 0 belowDew 1 D2 1 D3 1 F1 1 R1 1 L1 0 extrapolated 1 admissible 0 reason 2");
}

void CoolingExamplesTest::workedExamples() {
    QFETCH(QString, example);
    QFETCH(QString, name);
    QFETCH(double, expected);
    const Example e = computeExample(example);
    QVERIFY(e.loops.front().applicable() && e.room.applicable());
    const double got = quantity(e, name);
    QVERIFY2(sevenDigits(got, expected),
             qPrintable(QString("%1 = %2, sheet %3").arg(name).arg(got, 0, 'g', 10).arg(expected)));
}

void CoolingExamplesTest::roomOfTwoConstructions() {
    // A loop of example 1 (300 mm, 36 m²) and one of 1b (150 mm, 18 m²):
    // outputs add, and at the dew point's lowest supply each gives its own
    // q_dew (22.96561 and 31.13941 W/m²), 1387.27 W against 1500 W.
    std::vector<LoopResult> loops{coolingLoop(exampleLoop("1")), coolingLoop(exampleLoop("1b"))};
    const RoomResult r = coolingRoom(loops, 1500);
    QVERIFY(r.applicable());
    QVERIFY(sevenDigits(r.roomOutput, 691.4548 + 468.7769));
    QVERIFY(sevenDigits(r.dewLimitedOutput, 22.96561 * 36 + 31.13941 * 18));
    QCOMPARE(r.reason, Shortfall::DewPoint);
    LoopInputs humid = exampleLoop("1b");
    humid.room.humidity = 0.55;
    loops[1] = coolingLoop(humid);
    QCOMPARE(coolingRoom(loops, 1500).applicability, RoomApplicability::MixedConditions);
}

void CoolingExamplesTest::heatingRunsTakeTheHeatingRules() {
    // The heating sheet's example (c): 450 mm, bare floor, so K_H,0 is its
    // K_H = 2.105052 by the wide-spacing rule.
    const En1264Inputs c{0.45, 0.017, 0.002, 0.35, 0.10, 1.2, 0, 45, 35, 20, 29, {}, {}};
    const Characteristic k = coolingCharacteristic(c);
    QVERIFY(k.applicable() && sevenDigits(k.bareHeating, 2.105052));
    QCOMPARE(k.heatingFlags, unsigned(SpacingWide));
}

QTEST_APPLESS_MAIN(CoolingExamplesTest)
#include "tst_coolingexamples.moc"
