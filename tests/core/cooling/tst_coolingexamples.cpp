#include "core/cooling/field.h"
#include "core/cooling/room.h"

#include <QTest>

#include <cmath>
#include <vector>

using namespace zorva;
using namespace zorva::cooling;

Q_DECLARE_METATYPE(zorva::cooling::Shortfall)

namespace {

// The worked examples of the floor-cooling data sheet: "1" our default
// construction at 300 mm, 18/21 ℃, 26 ℃ and 50 %, one loop of 120 m, 900 W;
// "1b" the same at 150 mm with two loops of 120 m; "2" 150 mm under a carpet
// of 10 mm with λ 0.10, 16/19 ℃, 26 ℃ and 60 %, one loop of 120 m, 400 W.
// Below every floor: a room at 26 ℃ through R_u = 0.92 m²·K/W.
LoopInputs exampleLoop(const QString& name) {
    FieldRecord f = FieldRecord::defaults();
    LoopInputs in;
    in.supplyTemp = 18;
    in.returnTemp = 21;
    if (name != "1")
        f.design[SpacingField] = "150";
    if (name == "2") {
        f.thickness[0] = "10";
        f.conductivity[0] = "0.10";
        in.supplyTemp = 16;
        in.returnTemp = 19;
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
    LoopSums sums;
};

Example computeExample(const QString& name) {
    Example e;
    const LoopResult loop = coolingLoop(exampleLoop(name));
    e.loops.assign(name == "1b" ? 2 : 1, loop);
    e.room = coolingRoom(e.loops, name == "2" ? 400 : 900);
    e.sums = sumLoops(e.loops);
    return e;
}

double quantity(const Example& e, const QString& name) {
    const LoopResult& l = e.loops.front();
    const RoomResult& r = e.room;
    const Characteristic& c = l.characteristic;
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
        {"sumFlow", e.sums.flow.value_or(NAN)},
    };
    // clang-format on
    return all.value(name, NAN);
}

// Half a unit in the seventh significant digit, the sheet's printing.
bool sevenDigits(double got, double expected) {
    if (expected == 0)
        return got == 0;
    const double unit = std::pow(10, std::floor(std::log10(std::fabs(expected))) - 6);
    return std::fabs(got - expected) <= unit / 2;
}

} // namespace

class TestCoolingExamples : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void verdicts_data();
    void verdicts();
    void roomOfTwoConstructions();
    void heatingRunsTakeTheHeatingRules();
    void field_data();
    void field();
};

void TestCoolingExamples::workedExamples_data() {
    QTest::addColumn<QString>("example");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("expected");
    const auto rows = [](const char* ex, std::initializer_list<std::pair<const char*, double>> qs) {
        for (const auto& [name, value] : qs)
            QTest::addRow("%s %s", ex, name) << QString(ex) << QString(name) << value;
    };
    rows("1", {{"KH0", 4.012743},    {"KH15", 2.313694},     {"x", 0.4541761},
               {"KC", 3.009132},     {"dTC", 6.382929},      {"qC", 19.20708},
               {"tFm", 23.25613},    {"qV", 24.07306},       {"tFV", 22.56099},
               {"td", 14.77001},     {"tVmin", 16.77001},    {"qFlim", 49},
               {"A_j", 36},          {"Q_j", 691.4548},      {"RoC", 0.1950261},
               {"quC", 4.07161},     {"share", 0.8250928},   {"water", 838.0328},
               {"G", 240.1928},      {"v", 0.3318392},       {"A", 36},
               {"Qroom", 691.4548},  {"qneed", 25},          {"dTCneed", 8.308043},
               {"tVneed", 16.10188}, {"dTCdew", 7.631971},   {"qdew", 22.96561},
               {"Qdew", 826.762},    {"tFm@dew", 22.7192},   {"qmax", 22.96561},
               {"Qadm", 691.4548},   {"shortfall", 208.5452}});
    rows("1b", {{"KH0", 5.990982},
                {"KH15", 2.949524},
                {"x", 0.4541761},
                {"KC", 4.080127},
                {"qC", 26.04316},
                {"tFm", 22.27955},
                {"tFV", 21.337},
                {"Qroom", 937.5539},
                {"tVneed", 18.25082},
                {"qdew", 31.13941},
                {"Q_j", 468.7769},
                {"quC", 5.520756},
                {"water", 568.1506},
                {"G", 162.8405},
                {"v", 0.2249729},
                {"shortfall", 0}});
    rows("2",
         {{"x", 1.075024},       {"KC", 2.841306},     {"dTC", 8.41102},     {"qC", 23.89828},
          {"tFm", 22.58596},     {"qV", 28.41306},     {"tFV", 21.94099},    {"td", 17.63204},
          {"tVmin", 19.63204},   {"qFlim", 44.57574},  {"Qroom", 430.1691},  {"dTCneed", 7.821129},
          {"tVneed", 16.58321},  {"dTCdew", 4.709787}, {"qdew", 13.38195},   {"Qdew", 240.875},
          {"tFm@dew", 24.08829}, {"qmax", 13.38195},   {"Qadm", 240.875},    {"shortfall", 159.125},
          {"RoC", 0.2881532},    {"quC", 7.485182},    {"share", 0.7614928}, {"water", 564.9024},
          {"G", 161.9095},       {"v", 0.2236867}});
    // Two loops of example 1b on one manifold: the flows add.
    QTest::newRow("1b both loops' flow") << "1b"
                                         << "sumFlow" << 2 * 162.8405;
}

void TestCoolingExamples::workedExamples() {
    QFETCH(QString, example);
    QFETCH(QString, name);
    QFETCH(double, expected);
    const Example e = computeExample(example);
    QVERIFY(e.loops.front().applicable());
    QVERIFY(e.room.applicable());
    const double got = quantity(e, name);
    QVERIFY2(sevenDigits(got, expected),
             qPrintable(QString("%1 = %2, sheet %3").arg(name).arg(got, 0, 'g', 10).arg(expected)));
}

void TestCoolingExamples::verdicts_data() {
    QTest::addColumn<QString>("example");
    QTest::addColumn<QString>("checks"); // D1 D2 D3 F1 R1 L1, 1 = passes
    QTest::addColumn<bool>("belowDewPoint");
    QTest::addColumn<bool>("extrapolated");
    QTest::addColumn<Shortfall>("reason");
    QTest::newRow("1: the dew point binds the load")
        << "1"
        << "111110" << false << false << Shortfall::DewPoint;
    QTest::newRow("1b: met") << "1b"
                             << "111111" << false << false << Shortfall::None;
    // Water 1.6 K below the dew point: condenses, and only the admissible
    // water's output counts.
    QTest::newRow("2: supply below the dew point")
        << "2"
        << "011110" << true << true << Shortfall::DewPoint;
}

void TestCoolingExamples::verdicts() {
    QFETCH(QString, example);
    QFETCH(QString, checks);
    QFETCH(bool, belowDewPoint);
    QFETCH(bool, extrapolated);
    QFETCH(Shortfall, reason);
    const Example e = computeExample(example);
    const LoopResult& l = e.loops.front();
    QString got;
    for (const Check& c : l.checks)
        got += c.passed ? '1' : '0';
    got += e.room.load.passed ? '1' : '0';
    QCOMPARE(got, checks);
    QCOMPARE(l.checks[0].belowDewPoint, belowDewPoint);
    QCOMPARE(l.characteristic.extrapolated, extrapolated);
    QCOMPARE(e.room.reason, reason);
    QCOMPARE(e.room.admissibleDesign, checks.left(4) == "1111");
}

void TestCoolingExamples::roomOfTwoConstructions() {
    // One loop of example 1 (300 mm, 36 m²) and one of example 1b (150 mm,
    // 18 m²) in a room: outputs add, and at the dew point's lowest supply
    // each gives its own q_dew (22.96561 and 31.13941 W/m²).
    const std::vector<LoopResult> loops{coolingLoop(exampleLoop("1")),
                                        coolingLoop(exampleLoop("1b"))};
    const RoomResult r = coolingRoom(loops, 1500);
    QVERIFY(r.applicable());
    QVERIFY(sevenDigits(r.roomOutput, 691.4548 + 468.7769));
    QVERIFY(sevenDigits(r.dewLimitedOutput, 22.96561 * 36 + 31.13941 * 18));
    QCOMPARE(r.admissible.limit, Limit::DewPoint);
    // 1387.27 W admissible against 1500 W: the dew point binds.
    QCOMPARE(r.reason, Shortfall::DewPoint);

    std::vector<LoopResult> mixed = loops;
    mixed[1] = coolingLoop([] {
        LoopInputs in = exampleLoop("1b");
        in.room.humidity = 0.55;
        return in;
    }());
    QCOMPARE(coolingRoom(mixed, 1500).applicability, RoomApplicability::MixedConditions);
}

void TestCoolingExamples::heatingRunsTakeTheHeatingRules() {
    // The heating sheet's example (c): 450 mm, bare floor, so K_H,0 is its
    // K_H = 2.105052 by the wide-spacing rule.
    const En1264Inputs c{0.45, 0.017, 0.002, 0.35, 0.10, 1.2, 0, 45, 35, 20, 29, {}, {}};
    const Characteristic k = coolingCharacteristic(c);
    QVERIFY(k.applicable());
    QVERIFY(std::fabs(k.bareHeating - 2.105052) <= 0.5e-6);
    QCOMPARE(k.heatingFlags, unsigned(SpacingWide));
}

void TestCoolingExamples::field_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("expected");
    QTest::newRow("dew limit") << "dewLimit" << 7.631971;
    QTest::newRow("floor limit") << "floorLimit" << 49.0;
    QTest::newRow("design point x") << "designX" << 6.382929;
    QTest::newRow("design point q") << "designQ" << 19.20708;
    QTest::newRow("300 mm K_C") << "K300" << 3.009132;
    QTest::newRow("150 mm K_C") << "K150" << 4.080127;
    QTest::newRow("300 mm admissible end x") << "end300x" << 7.631971;
    QTest::newRow("300 mm admissible end q") << "end300q" << 22.96561;
}

void TestCoolingExamples::field() {
    QFETCH(QString, name);
    QFETCH(double, expected);
    const CoolingField f = coolingField(exampleLoop("1"));
    QVERIFY(f.valid);
    QCOMPARE(f.spacing.size(), size_t(5));  // 300 mm is one of the family
    QCOMPARE(f.covering.size(), size_t(5)); // the tile's 0.00687 is not
    const auto byMm = [&](double mm) {
        for (const FieldLine& l : f.spacing)
            if (std::fabs(l.spacing - mm / 1000) < 1e-12)
                return l;
        return FieldLine{};
    };
    QVERIFY(byMm(300).current && f.covering.back().current);
    const QHash<QString, double> all = {
        {"dewLimit", f.dewLimitUnderTemp.value_or(NAN)}, {"floorLimit", f.floorLimitedOutput},
        {"designX", f.designUnderTemp.value_or(NAN)},    {"designQ", f.designOutput.value_or(NAN)},
        {"K300", byMm(300).characteristic.cooling},      {"K150", byMm(150).characteristic.cooling},
        {"end300x", byMm(300).admissibleUnderTemp},      {"end300q", byMm(300).admissibleOutput},
    };
    QVERIFY2(sevenDigits(all.value(name), expected),
             qPrintable(QString::number(all.value(name), 'g', 10)));
}

QTEST_APPLESS_MAIN(TestCoolingExamples)
#include "tst_coolingexamples.moc"
