// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/designreview.h"
#include "core/engine/numtext.h"
#include "core/wording/checkwording.h"

#include <QTest>

#include <cmath>

using namespace zorva;

Q_DECLARE_METATYPE(zorva::Rule)
Q_DECLARE_METATYPE(zorva::Verdict)
Q_DECLARE_METATYPE(zorva::RunStatus)
Q_DECLARE_METATYPE(zorva::SupplySearch::Result)
Q_DECLARE_METATYPE(zorva::RoomCategory)
Q_DECLARE_METATYPE(zorva::Advice)

namespace {

// A converged run that passes every rule at a load of 100 W/m², with the
// value of one rule replaced.
Evaluation runWith(Rule rule, double value) {
    double v[kRuleCount] = {110, 27, 0.3, 20, 50, 10, 120}; // in the order of Rule
    v[int(rule)] = value;
    Evaluation e;
    e.status = RunStatus::Converged;
    e.heatOutput = static_cast<float>(v[0]);
    e.surfaceTemp = v[1];
    e.velocity = v[2];
    e.resistance = static_cast<float>(v[3]);
    e.supplyTemp = v[4];
    e.returnTemp = v[4] - v[5];
    e.loopLength = v[6];
    return e;
}

// The fields with the supply temperature typed as `supply` and the return
// temperature `difference` below it.
FieldRecord withSupply(FieldRecord f, double supply, double difference) {
    f.design[SupplyTempField] = QString::number(supply, 'g', 15).toStdString();
    f.design[ReturnTempField] = QString::number(supply - difference, 'g', 15).toStdString();
    return f;
}

bool reaches(const FieldRecord& f, double supply, double difference, double load) {
    const Evaluation e = evaluateDesign(withSupply(f, supply, difference));
    return e.converged() && e.heatOutput >= load;
}

} // namespace

class DesignCheckTest : public QObject {
    Q_OBJECT

private slots:
    void ruleBoundaries_data();
    void ruleBoundaries();
    void runsWithoutResults();
    void floorLimitOutput();
    void supplySearch_data();
    void supplySearch();
    void faultsInsideSearch_data();
    void faultsInsideSearch();
    void reviewOfDefaultDesign();
    void limitCurveJudgesEnCategories_data();
    void limitCurveJudgesEnCategories();
    void shownDigitsAgreeWithTheVerdict_data();
    void shownDigitsAgreeWithTheVerdict();
};

void DesignCheckTest::ruleBoundaries_data() {
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("category");
    QTest::addColumn<Verdict>("verdict");
    const int longStay = int(RoomCategory::LongStay);
    const auto row = [](const char* name, Rule r, double v, int c, Verdict verdict) {
        QTest::newRow(name) << r << v << c << verdict;
    };
    // Load 100 W/m², 偏大 above 120.
    row("output at the load", Rule::HeatOutput, 100, longStay, Verdict::Pass);
    row("output just below the load", Rule::HeatOutput, 99.99, longStay, Verdict::Fail);
    row("output 20 % above", Rule::HeatOutput, 120, longStay, Verdict::Pass);
    row("output just above 20 %", Rule::HeatOutput, 120.01, longStay, Verdict::High);
    // JGJ 142-2012 表 3.1.3: the upper limits 29 / 32 / 42 ℃ (28 ℃ before).
    row("floor at 29", Rule::FloorTemp, 29, longStay, Verdict::Pass);
    row("floor just above 29", Rule::FloorTemp, 29.000001, longStay, Verdict::Fail);
    row("floor at 32 short stay", Rule::FloorTemp, 32, int(RoomCategory::ShortStay), Verdict::Pass);
    row("floor above 42 unoccupied", Rule::FloorTemp, 42.000001, int(RoomCategory::Unoccupied),
        Verdict::Fail);
    row("velocity at 0.25", Rule::Velocity, 0.25, longStay, Verdict::Pass);
    row("velocity just below", Rule::Velocity, 0.249999, longStay, Verdict::Fail);
    row("resistance at 30", Rule::Resistance, 30, longStay, Verdict::Pass);
    row("resistance just above", Rule::Resistance, 30.001, longStay, Verdict::Fail);
    row("supply at 60", Rule::SupplyTemp, 60, longStay, Verdict::Pass);
    row("supply just above", Rule::SupplyTemp, 60.000001, longStay, Verdict::Fail);
    row("difference at 10", Rule::TempDiff, 10, longStay, Verdict::Pass);
    row("difference just above", Rule::TempDiff, 10.000001, longStay, Verdict::Fail);
    row("difference zero", Rule::TempDiff, 0, longStay, Verdict::Fail);
    // GB 50736-2012 §5.4.1: not below 5 ℃; a smaller one is 偏小, not a failure.
    row("difference at 5", Rule::TempDiff, 5, longStay, Verdict::Pass);
    row("difference just below 5", Rule::TempDiff, 4.99999, longStay, Verdict::Low);
    row("difference 1.3", Rule::TempDiff, 1.3, longStay, Verdict::Low);
    row("loop at 120", Rule::LoopLength, 120, longStay, Verdict::Pass);
    row("loop just above", Rule::LoopLength, 120.000001, longStay, Verdict::Fail);
}

void DesignCheckTest::ruleBoundaries() {
    QFETCH(Rule, rule);
    QFETCH(double, value);
    QFETCH(int, category);
    QFETCH(Verdict, verdict);
    CheckLimits limits;
    limits.loadPerArea = 100;
    limits.category = static_cast<RoomCategory>(category);
    const auto checks = checkDesign(runWith(rule, value), limits);
    QCOMPARE(checks[int(rule)].rule, rule);
    QCOMPARE(checks[int(rule)].verdict, verdict);
    // Every other rule passes on these numbers, so the worst is this one.
    QCOMPARE(worstVerdict(checks), verdict);
    // The number shown leads to the same verdict.
    const int decimals = shownDecimals(checks[int(rule)]);
    const double shown =
        decimals < 0 ? value : QByteArray(patternText(value, decimals).str().c_str()).toDouble();
    QCOMPARE(judge(checks[int(rule)], shown), verdict);
    limits.loadPerArea.reset();
    QCOMPARE(checkDesign(runWith(rule, value), limits)[int(rule)].verdict,
             rule == Rule::HeatOutput ? Verdict::NotChecked : verdict);
}

void DesignCheckTest::runsWithoutResults() {
    CheckLimits limits;
    limits.loadPerArea = 50;
    Evaluation e = runWith(Rule::HeatOutput, 100);
    e.status = RunStatus::NotConverged;
    const auto open = checkDesign(e, limits);
    for (const RuleCheck& c : open) {
        const bool onInputs =
            c.rule == Rule::SupplyTemp || c.rule == Rule::TempDiff || c.rule == Rule::LoopLength;
        QCOMPARE(c.verdict, onInputs ? Verdict::Pass : Verdict::NotChecked);
    }
    e.status = RunStatus::Faulted;
    QCOMPARE(worstVerdict(checkDesign(e, limits)), Verdict::NotChecked);
}

void DesignCheckTest::floorLimitOutput() {
    // 28 ℃ at an 18 ℃ room: about 101.9 W/m², and the surface formula gives
    // the limit back at that output.
    const double q = maxOutputForFloorLimit(18, 28);
    QVERIFY(std::fabs(q - 101.9) < 0.05);
    QVERIFY(std::fabs(18 + 9.82 * std::pow(q / 100, 0.969) - 28) < 1e-12);
    QCOMPARE(maxOutputForFloorLimit(28, 28), 0.0);
    QCOMPARE(outputShortfall(150, q), 150 - q);
    QCOMPARE(outputShortfall(90, q), 0.0);
}

void DesignCheckTest::supplySearch_data() {
    QTest::addColumn<double>("load");
    QTest::newRow("60") << 60.0;
    QTest::newRow("92.6") << 92.6;
    QTest::newRow("100") << 100.0;
    QTest::newRow("200") << 200.0;
}

void DesignCheckTest::supplySearch() {
    QFETCH(double, load);
    const FieldRecord f = FieldRecord::defaults();
    const SupplySearch s = requiredSupplyTemp(f, load);
    QCOMPARE(s.result, SupplySearch::Result::Found);
    QCOMPARE(s.rangeLow, 28.1);
    QCOMPARE(s.rangeHigh, 95.0);
    const double tenths = std::round(s.supplyTemp * 10);
    QCOMPARE(s.supplyTemp, tenths / 10);
    QVERIFY(reaches(f, s.supplyTemp, 10, load));
    // No lower tenth of the range reaches the load.
    for (int k = int(tenths) - 1; k >= 281; --k)
        QVERIFY2(!reaches(f, k / 10.0, 10, load), qPrintable(QString::number(k / 10.0)));
    // Started from the fields' own run: the same result.
    const SupplySearch steered = requiredSupplyTemp(f, load, evaluateDesign(f));
    QCOMPARE(steered.supplyTemp, s.supplyTemp);
    QCOMPARE(steered.heatOutput, s.heatOutput);
    QCOMPARE(steered.returnTemp, s.supplyTemp - 10);
}

void DesignCheckTest::faultsInsideSearch_data() {
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<double>("load");
    QTest::addColumn<SupplySearch::Result>("result");
    using R = SupplySearch::Result;
    // A difference of 1e-14 ℃ survives in the return text below 10 ℃ only:
    // from 10.1 ℃ up supply and return read equal and every probe faults.
    const QStringList hair = {"0", "10", "9.99999999999999", "300", "90", "20", "120"};
    QTest::newRow("found below the faults") << hair << 20.0 << R::Found;
    QTest::newRow("found at the edge of the faults") << hair << 43.2 << R::Found;
    QTest::newRow("faults above the reach") << hair << 50.0 << R::NotReachable;
    QTest::newRow("every probe faults")
        << QStringList{"18", "50", "40", "300", "90", "0", "120"} << 50.0 << R::NotReachable;
    QTest::newRow("no difference")
        << QStringList{"18", "50", "50", "300", "90", "20", "120"} << 50.0 << R::NoRange;
    QTest::newRow("no range below 95")
        << QStringList{"85", "95", "85", "300", "90", "20", "120"} << 50.0 << R::NoRange;
}

void DesignCheckTest::faultsInsideSearch() {
    QFETCH(QStringList, design);
    QFETCH(double, load);
    QFETCH(SupplySearch::Result, result);
    FieldRecord f = FieldRecord::defaults();
    for (int i = 0; i < 7; ++i)
        f.design[i] = design.at(i).toStdString();
    const SupplySearch s = requiredSupplyTemp(f, load);
    QCOMPARE(s.result, result);
    const double difference = design.at(1).toDouble() - design.at(2).toDouble();
    if (design.at(0) == "0") {
        // The probes the search makes above 10 ℃ fault.
        const Evaluation above = evaluateDesign(withSupply(f, 10.1, difference));
        QCOMPARE(above.status, RunStatus::Faulted);
    }
    if (result == SupplySearch::Result::Found) {
        QVERIFY(s.supplyTemp <= 10);
        QVERIFY(reaches(f, s.supplyTemp, difference, load));
        QVERIFY(!reaches(f, s.supplyTemp - 0.1, difference, load));
    }
    if (result != SupplySearch::Result::NoRange)
        QVERIFY(s.probes >= 2);
}

void DesignCheckTest::reviewOfDefaultDesign() {
    const FieldRecord f = FieldRecord::defaults();
    CheckLimits limits;
    limits.loadPerArea = 100;
    const DesignReview r = reviewDesign(f, limits);
    QVERIFY(r.run.converged());
    QCOMPARE(r.checks[int(Rule::HeatOutput)].verdict, Verdict::Fail);
    QCOMPARE(r.overall, Verdict::Fail);
    QCOMPARE(r.floorLimit, 29.0);
    QVERIFY(!r.shortfall); // 100 is below the ~112.4 the 29 ℃ floor allows
    QVERIFY(r.supply && r.supply->result == SupplySearch::Result::Found);
    QCOMPARE(r.supply->supplyTemp, requiredSupplyTemp(f, 100).supplyTemp);
    // EN 1264-2 at the category's 29 ℃ gives about 102.9 W/m² here.
    QVERIFY(r.en.applicable());
    QCOMPARE(r.en.floorLimit, 29.0);
    QVERIFY(std::fabs(r.en.heatFlux - 102.87) < 0.01);
    QVERIFY(r.difference);
    QVERIFY(std::fabs(r.difference->heatFlux - (r.en.heatFlux - r.run.heatOutput)) < 1e-12);
    limits.loadPerArea = 200;
    const DesignReview high = reviewDesign(f, limits);
    QCOMPARE(*high.shortfall, 200 - maxOutputForFloorLimit(18, 29));
}

namespace {

FieldRecord design(const QStringList& values) {
    FieldRecord f = FieldRecord::defaults();
    for (int i = 0; i < 7; ++i)
        f.design[std::size_t(i)] = values.at(i).toStdString();
    return f;
}

} // namespace

void DesignCheckTest::limitCurveJudgesEnCategories_data() {
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<RoomCategory>("category");
    QTest::addColumn<double>("value"); // 0: the method's own mean floor temperature
    QTest::addColumn<double>("limit");
    QTest::addColumn<Verdict>("verdict");
    const QStringList e{"20", "45", "35", "200", "90", "20", "120"};
    const QStringList b{"18", "50", "40", "300", "90", "20", "120"};
    // EN 1264-2 worked examples (e) and (b): q and q_G to their printed digits.
    QTest::newRow("example e, residential")
        << e << RoomCategory::Residential << 98.04101 << 86.36281 << Verdict::Fail;
    QTest::newRow("example b, residential")
        << b << RoomCategory::Residential << 102.8685 << 88.84253 << Verdict::Fail;
    // The JGJ rows keep the mean temperature: 27.6 ℃ ≤ 29 ℃.
    QTest::newRow("example e, long stay")
        << e << RoomCategory::LongStay << 0.0 << 29.0 << Verdict::Pass;
}

void DesignCheckTest::limitCurveJudgesEnCategories() {
    QFETCH(QStringList, design);
    QFETCH(RoomCategory, category);
    QFETCH(double, value);
    QFETCH(double, limit);
    QFETCH(Verdict, verdict);
    CheckLimits limits;
    limits.category = category;
    const DesignReview r = reviewDesign(::design(design), limits);
    const RuleCheck& floor = r.checks[int(Rule::FloorTemp)];
    QCOMPARE(floor.verdict, verdict);
    QCOMPARE(floor.limitCurve, value != 0);
    if (value == 0) {
        QCOMPARE(floor.value, r.run.surfaceTemp);
        QCOMPARE(floor.limit, limit);
        QCOMPARE(r.maxOutputBasis, FloorOutputLimit::Basis::MeanTemp);
        return;
    }
    QVERIFY2(std::fabs(floor.value - value) < 5e-5 * value / 10,
             qPrintable(QString::number(floor.value, 'g', 10)));
    QVERIFY2(std::fabs(floor.limit - limit) < 5e-5 * limit / 10,
             qPrintable(QString::number(floor.limit, 'g', 10)));
    // The advice's largest output is the limit curve's, and the load above it
    // is what other heating must give.
    QCOMPARE(r.maxOutputBasis, FloorOutputLimit::Basis::LimitCurve);
    QCOMPARE(r.maxOutput, floor.limit);
    limits.loadPerArea = 100;
    QCOMPARE(*reviewDesign(::design(design), limits).shortfall, 100 - floor.limit);
    // A higher θ_F,max allows more on the same floor.
    limits.category = RoomCategory::Peripheral;
    QVERIFY(reviewDesign(::design(design), limits).checks[int(Rule::FloorTemp)].limit >
            floor.limit);
    // No screed above the pipe: EN 1264-2 does not apply, the floor is not
    // checked and no largest output is given.
    FieldRecord bare = ::design(design);
    bare.thickness = {"20", "0", "20", "2"};
    bare.design[DepthField] = "40";
    const DesignReview none = reviewDesign(bare, limits);
    QVERIFY(!none.en.applicable());
    QCOMPARE(none.checks[int(Rule::FloorTemp)].verdict, Verdict::NotChecked);
    QCOMPARE(none.maxOutputBasis, FloorOutputLimit::Basis::NotAvailable);
}

void DesignCheckTest::shownDigitsAgreeWithTheVerdict_data() {
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<Advice>("advice");
    const auto row = [](const char* name, Rule r, double v, const char* shown, Verdict verdict,
                        Advice advice = Advice::None) {
        QTest::newRow(name) << r << v << QString::fromUtf8(shown) << verdict << advice;
    };
    // Load 100 W/m², 偏大 above 120; floor 25–27 recommended, 29 at most.
    row("velocity 0.2498 below 0.25", Rule::Velocity, 0.2498137695, "0.2498", Verdict::Fail);
    row("velocity clear of the limit", Rule::Velocity, 0.2612, "0.26", Verdict::Pass);
    row("resistance 30.04 above 30", Rule::Resistance, 30.04, "30.04", Verdict::Fail);
    row("resistance 30.0", Rule::Resistance, 30.0, "30.0", Verdict::Pass);
    row("output 99.96 below the load", Rule::HeatOutput, 99.96, "99.96", Verdict::Fail);
    row("output 120.04 above 偏大", Rule::HeatOutput, 120.04, "120.04", Verdict::High);
    row("floor 29.04 above 29", Rule::FloorTemp, 29.04, "29.04", Verdict::Fail, Advice::Above);
    row("floor 24.96 below the range", Rule::FloorTemp, 24.96, "24.96", Verdict::Pass,
        Advice::Below);
    row("floor within the range", Rule::FloorTemp, 26.0, "26.0", Verdict::Pass, Advice::Within);
    row("supply above 35–45", Rule::SupplyTemp, 50, "50", Verdict::Pass, Advice::Above);
}

void DesignCheckTest::shownDigitsAgreeWithTheVerdict() {
    QFETCH(Rule, rule);
    QFETCH(double, value);
    QFETCH(QString, shown);
    QFETCH(Verdict, verdict);
    QFETCH(Advice, advice);
    CheckLimits limits;
    limits.loadPerArea = 100;
    const RuleCheck c = checkDesign(runWith(rule, value), limits)[int(rule)];
    QCOMPARE(c.verdict, verdict);
    QCOMPARE(adviceOf(c), advice);
    QCOMPARE(ruleValueText(c), shown);
}

QTEST_APPLESS_MAIN(DesignCheckTest)
#include "tst_designcheck.moc"
