// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/calculate.h"
#include "core/engine/checked.h"
#include "core/engine/pipesurface.h"

#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace zorva;

// Counts heap allocations, to prove that a run allocates nothing.
static std::atomic<long> allocations{0};
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

FieldRecord designRecord(const QStringList& design) {
    FieldRecord f = FieldRecord::defaults();
    for (int i = 0; i < 7; ++i)
        f.design[i] = design.at(i).toStdString();
    return f;
}

QStringList texts(const ResultTexts& results) {
    QStringList out;
    for (const auto& t : results)
        out << QString::fromStdString(t.str());
    return out;
}

// Working variables after a full run on the record.
WorkingVars calculated(FieldRecord f) {
    WorkingVars v;
    calculate(v, f);
    return v;
}

} // namespace

class CalculateTest : public QObject {
    Q_OBJECT

private slots:
    void documentedRuns_data();
    void documentedRuns();
    void defaultRunIntermediates();
    void defaultWorkingValues();
    void meanWaterTempIsFloat();
    void nonConvergingRunWritesNothing();
    void clamp_data();
    void clamp();
    void clampedRunUsesRaisedFill();
    void clampIsReportedOnlyWhenItFires();
    void runReadsTheFieldsAgainAfterTheClampWrites();
    void pipeSurfaceTemp_data();
    void pipeSurfaceTemp();
    void doublingPipeConductivityHalvesWallDrop();
    void reusedPipeTermsGiveTheSameTemperatures();
    void runAllocatesNothing();
    void lastAllowedPassMeetingToleranceConverges_data();
    void lastAllowedPassMeetingToleranceConverges();
    void clampSumOverflowKeepsRaisedFill();
};

void CalculateTest::documentedRuns_data() {
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<int>("passes");
    QTest::addColumn<QStringList>("results");

    QTest::newRow("defaults") << QStringList{"18", "50", "40", "300", "90", "20", "120"} << 17
                              << QStringList{"92.6", "27.1", "18.2", "38.5", "54.1", "287", "0.40"};
    QTest::newRow("room 20, 45/35, spacing 200, loop 80")
        << QStringList{"20", "45", "35", "200", "90", "20", "80"} << -1
        << QStringList{"67.3", "26.7", "1.7", "25.7", "41.6", "93", "0.13"};
}

void CalculateTest::documentedRuns() {
    QFETCH(QStringList, design);
    QFETCH(int, passes);
    QFETCH(QStringList, results);

    FieldRecord f = designRecord(design);
    WorkingVars v;
    const RunReport report = calculate(v, f);
    QCOMPARE(report.outcome, Outcome::Converged);
    if (passes >= 0)
        QCOMPARE(report.passes, passes);
    QCOMPARE(texts(resultTexts(v, report)), results);
    QVERIFY(std::fabs(v.residuals[report.passes]) <= 0.1f);
}

void CalculateTest::defaultRunIntermediates() {
    FieldRecord f = FieldRecord::defaults();
    WorkingVars v;
    const RunReport report = calculate(v, f);
    QVERIFY(std::fabs(v.shapeFactor - 2.2427f) < 0.0001f);
    // The first residual is the initial estimate (about 284.0) less the first
    // conducted output (about -140).
    QVERIFY(std::fabs(v.residuals[0] - 424.0f) < 2.0f);
    QVERIFY(std::fabs(v.heatOutput - 92.58041f) < 0.001f);
    QVERIFY(std::fabs(v.waterFlow - 286.577) < 0.001);
    // Split of the output adds up to the output.
    QCOMPARE(report.convective + report.radiant, double(v.heatOutput));
}

void CalculateTest::defaultWorkingValues() {
    const WorkingVars v = calculated(FieldRecord::defaults());
    QCOMPARE(v.roomTemp, 18.0);
    QCOMPARE(v.supplyTemp, 50.0);
    QCOMPARE(v.returnTemp, 40.0);
    QCOMPARE(v.meanWaterTemp, 45.0f);
    QCOMPARE(v.loopLength, 120.0);
    QCOMPARE(v.outerDiam, 0.02);
    QCOMPARE(double(v.wallThick), 0.0020000000949949026);
    QCOMPARE(v.innerDiam, 0.015999999810010195);
    QCOMPARE(v.pipeSpacing, 0.3);
    QCOMPARE(v.elbowCount, 2.0);
    QCOMPARE(v.lambdaSurface, 2.91);
    QCOMPARE(v.lambdaLevel, 1.84);
    QCOMPARE(v.lambdaFill, 1.28);
    QCOMPARE(v.lambdaPipe, 0.41f);
    QCOMPARE(v.thickSurface, 20.0);
    QCOMPARE(v.thickLevel, 20.0);
    QCOMPARE(v.thickFill, 50.0);
    QCOMPARE(v.thickPipeWall, 2.0f);
}

void CalculateTest::meanWaterTempIsFloat() {
    FieldRecord f = FieldRecord::defaults();
    f.design[SupplyTempField] = "50.1";
    const WorkingVars v = calculated(f);
    QCOMPARE(double(v.meanWaterTemp), 45.04999923706055);
}

void CalculateTest::nonConvergingRunWritesNothing() {
    WorkingVars v;
    FieldRecord defaults = FieldRecord::defaults();
    calculate(v, defaults);
    const double flow = v.waterFlow;
    const double velocity = v.velocity;
    const float resistance = v.resistance;

    FieldRecord f = designRecord({"25", "50", "30", "300", "90", "32", "10"});
    const RunReport report = calculate(v, f);
    QCOMPARE(report.outcome, Outcome::NotConverged);
    QCOMPARE(report.passes, kPassLimit);
    QCOMPARE(v.heatStep, -0.2);
    QVERIFY(std::fabs(v.residuals[kPassLimit]) > 0.1f);
    // The hydraulics of the earlier run stay.
    QCOMPARE(v.waterFlow, flow);
    QCOMPARE(v.velocity, velocity);
    QCOMPARE(v.resistance, resistance);
    QVERIFY(v.heatOutput > 0);
}

void CalculateTest::clamp_data() {
    QTest::addColumn<QString>("diameter");
    QTest::addColumn<QString>("fill");
    QTest::addColumn<bool>("fires");
    QTest::addColumn<QString>("newFill");
    QTest::addColumn<QString>("newDepth");

    QTest::newRow("wider pipe") << "60"
                                << "50" << true << "60"
                                << "100";
    QTest::newRow("equal") << "50"
                           << "50" << false << ""
                           << "";
    QTest::newRow("fractional pipe") << "20.5"
                                     << "20" << true << "20.5"
                                     << "60.5";
    QTest::newRow("filling without number") << "20"
                                            << "abc" << true << "20"
                                            << "60";
    QTest::newRow("diameter with unit") << "25mm"
                                        << "20" << true << "25"
                                        << "65";
    QTest::newRow("narrower pipe") << "20"
                                   << "50" << false << ""
                                   << "";
}

void CalculateTest::clamp() {
    QFETCH(QString, diameter);
    QFETCH(QString, fill);
    QFETCH(bool, fires);
    QFETCH(QString, newFill);
    QFETCH(QString, newDepth);

    FieldRecord f = FieldRecord::defaults();
    f.design[DiameterField] = diameter.toStdString();
    f.thickness[FillingLayerRow] = fill.toStdString();
    const auto write = clampFillingLayer(f);
    QCOMPARE(write.has_value(), fires);
    if (write) {
        QCOMPARE(QString::fromStdString(write->fill.str()), newFill);
        QCOMPARE(QString::fromStdString(write->depth.str()), newDepth);
    }
}

void CalculateTest::clampedRunUsesRaisedFill() {
    FieldRecord f = FieldRecord::defaults();
    f.design[DiameterField] = "60";
    WorkingVars v;
    calculate(v, f);
    QCOMPARE(f.thickness[FillingLayerRow], std::string("60"));
    QCOMPARE(f.design[DepthField], std::string("100"));
    QCOMPARE(v.thickFill, 60.0);
}

void CalculateTest::clampIsReportedOnlyWhenItFires() {
    FieldRecord f = FieldRecord::defaults();
    WorkingVars v;
    QVERIFY(!calculate(v, f).clamp.has_value());
    f.design[DiameterField] = "20.5";
    f.thickness[FillingLayerRow] = "20";
    const RunReport report = calculate(v, f);
    QVERIFY(report.clamp.has_value());
    QCOMPARE(report.clamp->fill.str(), std::string("20.5"));
    QCOMPARE(report.clamp->depth.str(), std::string("60.5"));
}

namespace {

// Fields whose own handling moves the filling layer on after the clamp
// wrote it, as a window's change handling may.
class MovingFields final : public RunFields {
public:
    FieldRecord record = FieldRecord::defaults();
    int reads = 0;
    const FieldRecord& current() override {
        ++reads;
        return record;
    }
    void writeClampFill(const NumberText& fill) override {
        record.thickness[FillingLayerRow] = fill.str() + "0"; // 60 becomes 600
    }
    void writeClampDepth(const NumberText& depth) override {
        record.design[DepthField] = depth.str();
    }
};

} // namespace

void CalculateTest::runReadsTheFieldsAgainAfterTheClampWrites() {
    MovingFields fields;
    fields.record.design[DiameterField] = "60";
    WorkingVars v;
    const RunReport report = calculate(v, fields);
    QCOMPARE(report.clamp->fill.str(), std::string("60"));
    QCOMPARE(v.thickFill, 600.0);
    QCOMPARE(fields.record.design[DepthField], std::string("100"));
}

void CalculateTest::pipeSurfaceTemp_data() {
    QTest::addColumn<float>("q");
    QTest::addColumn<double>("expected");
    QTest::newRow("100 W/m2") << 100.0f << 36.5136;
    QTest::newRow("converged default output") << 92.58041f << 36.7965;
    QTest::newRow("default initial estimate") << 283.99f << 30.3656;
}

void CalculateTest::pipeSurfaceTemp() {
    QFETCH(float, q);
    QFETCH(double, expected);
    const WorkingVars v = calculated(FieldRecord::defaults());
    const float t = zorva::pipeSurfaceTemp(v, q);
    QVERIFY2(std::fabs(t - expected) < 0.00006, qPrintable(QString::number(t, 'f', 6)));
    // No side effects: the same input gives the same output.
    QCOMPARE(zorva::pipeSurfaceTemp(v, q), t);
}

void CalculateTest::doublingPipeConductivityHalvesWallDrop() {
    WorkingVars v = calculated(FieldRecord::defaults());
    const double mean = v.meanWaterTemp;
    const double before = zorva::pipeSurfaceTemp(v, 100.0f);
    v.lambdaPipe *= 2;
    const double after = zorva::pipeSurfaceTemp(v, 100.0f);
    // Film drop 5.8877 stays, wall drop 2.5986 halves.
    QVERIFY(std::fabs((mean - before) - (5.8877 + 2.5986)) < 0.001);
    QVERIFY(std::fabs((mean - after) - (5.8877 + 2.5986 / 2)) < 0.001);
}

void CalculateTest::reusedPipeTermsGiveTheSameTemperatures() {
    const WorkingVars v = calculated(FieldRecord::defaults());
    PipeSurface reused(v);
    for (float q : {283.99f, 100.0f, 0.5f, 92.58041f, 1e6f})
        QCOMPARE(reused(q), zorva::pipeSurfaceTemp(v, q));
    // A trial output of zero is a fault on every call, not only the first.
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, reused(0.0f));
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, zorva::pipeSurfaceTemp(v, 0.0f));
}

void CalculateTest::runAllocatesNothing() {
    FieldRecord defaults = FieldRecord::defaults();
    FieldRecord slow = designRecord({"25", "50", "30", "300", "90", "32", "10"});
    WorkingVars v;
    readSettings(v, defaults);
    const long before = allocations.load();
    runCalculation(v, defaults);
    const ResultTexts results = resultTexts(v, runCalculation(v, defaults));
    runCalculation(v, slow);
    QCOMPARE(allocations.load() - before, 0L);
    QCOMPARE(QString::fromStdString(results[0].str()), QStringLiteral("92.6"));
}

void CalculateTest::lastAllowedPassMeetingToleranceConverges_data() {
    QTest::addColumn<QStringList>("design");
    QTest::newRow("default design") << QStringList{"18", "50", "40", "300", "90", "20", "120"};
    QTest::newRow("warm room, wide loops")
        << QStringList{"22", "45", "35", "200", "90", "16", "80"};
    QTest::newRow("slow to settle") << QStringList{"19", "38", "21", "54", "90", "40", "14"};
}

// A run may stop at any pass limit up to 500: when the pass that reaches
// the limit meets the tolerance, the run has converged and its results are
// those of a run without the limit; one pass fewer does not converge.
void CalculateTest::lastAllowedPassMeetingToleranceConverges() {
    QFETCH(QStringList, design);
    FieldRecord f = designRecord(design);
    WorkingVars free;
    readSettings(free, f);
    const RunReport unlimited = runCalculation(free, f);
    QCOMPARE(unlimited.outcome, Outcome::Converged);
    QVERIFY(unlimited.passes > 1);

    WorkingVars atLimit;
    readSettings(atLimit, f);
    const RunReport limited = runCalculation(atLimit, f, unlimited.passes);
    QCOMPARE(limited.outcome, Outcome::Converged);
    QCOMPARE(limited.passes, unlimited.passes);
    QCOMPARE(texts(resultTexts(atLimit, limited)), texts(resultTexts(free, unlimited)));

    WorkingVars fewer;
    readSettings(fewer, f);
    QCOMPARE(runCalculation(fewer, f, unlimited.passes - 1).outcome, Outcome::NotConverged);
}

// The clamp writes the raised filling layer before it sums the depth, so a
// sum that overflows still leaves the filling layer as thick as the pipe.
void CalculateTest::clampSumOverflowKeepsRaisedFill() {
    FieldRecord f = FieldRecord::defaults();
    f.thickness[SurfaceLayerRow] = "1e308";
    f.thickness[LevellingLayerRow] = "1e308";
    f.design[DiameterField] = "60";
    WorkingVars v;
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, calculate(v, f));
    QCOMPARE(f.thickness[FillingLayerRow], std::string("60"));
    QCOMPARE(f.design[DepthField], std::string("90"));
}

QTEST_APPLESS_MAIN(CalculateTest)
#include "tst_calculate.moc"
