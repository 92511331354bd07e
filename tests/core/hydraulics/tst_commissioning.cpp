// SPDX-License-Identifier: GPL-3.0-or-later
// The pressure test and first-heating steps of JGJ 142 and EN 1264-4 for a
// working pressure, a design supply and the site's temperature.

#include "core/hydraulics/commissioning.h"

#include <QTest>

#include <vector>

using namespace zorva::hydraulics;

using Temps = std::vector<double>;
Q_DECLARE_METATYPE(Temps)

namespace {

std::vector<CommissioningStep> stepsOf(const CommissioningPlan& plan, Standard standard) {
    std::vector<CommissioningStep> out;
    for (const CommissioningStep& s : plan.steps)
        if (s.standard == standard)
            out.push_back(s);
    return out;
}

} // namespace

class CommissioningTest : public QObject {
    Q_OBJECT

private slots:
    void pressureTestAndHeating_data();
    void pressureTestAndHeating();
    void enWaitingTimeByScreed();
    void plansRefused();
};

void CommissioningTest::pressureTestAndHeating_data() {
    QTest::addColumn<double>("working");
    QTest::addColumn<double>("supply");
    QTest::addColumn<double>("site");
    QTest::addColumn<double>("jgjTest"); // max(1.5 × working, 0.6) MPa
    QTest::addColumn<double>("enTest");  // max(2 × working, 0.6) MPa
    // JGJ: site + 10 ℃, at most 32 ℃, for 48 h; then 3 ℃ more a day to the design.
    QTest::addColumn<Temps>("jgjHeating");
    QTest::newRow("0.4 MPa, 42.7 ℃, site 5 ℃")
        << 0.4 << 42.7 << 5.0 << 0.6 << 0.8 << Temps{15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 42.7};
    QTest::newRow("0.6 MPa, 45 ℃, warm site held at 32 ℃")
        << 0.6 << 45.0 << 25.0 << 0.9 << 1.2 << Temps{32, 35, 38, 41, 44, 45};
    QTest::newRow("0.3 MPa, design below the start")
        << 0.3 << 30.0 << 25.0 << 0.6 << 0.6 << Temps{30};
}

void CommissioningTest::pressureTestAndHeating() {
    QFETCH(double, working);
    QFETCH(double, supply);
    QFETCH(double, site);
    QFETCH(double, jgjTest);
    QFETCH(double, enTest);
    QFETCH(Temps, jgjHeating);
    CommissioningInput in;
    in.workingPressureMPa = working;
    in.designSupplyTemp = supply;
    in.surroundingTemp = site;
    const CommissioningPlan plan = commissioningPlan(in);
    QVERIFY(plan.ok() && !plan.workingPressureHigh);

    const auto jgj = stepsOf(plan, Standard::Jgj142);
    QCOMPARE(jgj.front().kind, StepKind::PressureTest);
    QVERIFY(qFuzzyCompare(jgj.front().pressureMPa, jgjTest));
    QCOMPARE(jgj.front().holdHours, 1.0);
    QCOMPARE(jgj.front().maxDropMPa, 0.05);
    QCOMPARE(jgj.front().clause, std::string("JGJ 142-2004 §5.6"));
    QCOMPARE(jgj.size(), jgjHeating.size() + 2); // test, heating steps, record
    for (std::size_t i = 0; i < jgjHeating.size(); ++i) {
        const CommissioningStep& s = jgj[i + 1];
        QVERIFY(qFuzzyCompare(s.supplyTemp, jgjHeating[i]));
        QCOMPARE(s.holdHours, i == 0 ? 48.0 : 24.0);
        QCOMPARE(s.kind == StepKind::HeatingDesign, i + 1 == jgjHeating.size());
        QCOMPARE(s.clause, std::string("JGJ 142-2004 §6.1"));
        QVERIFY(!s.clauseChecked);
    }
    QCOMPARE(jgj.back().kind, StepKind::Record);

    const auto en = stepsOf(plan, Standard::En1264Part4);
    QCOMPARE(en.front().kind, StepKind::PressureTest);
    QVERIFY(qFuzzyCompare(en.front().pressureMPa, enTest));
    QCOMPARE(en[3].kind, StepKind::HeatingStart); // 20–25 ℃ for 3 days
    QCOMPARE(en[3].supplyTempLow, 20.0);
    QCOMPARE(en[3].supplyTemp, 25.0);
    QCOMPARE(en[3].holdHours, 72.0);
    QCOMPARE(en[4].kind, StepKind::HeatingDesign); // the design for 4 days
    QCOMPARE(en[4].supplyTemp, supply);
    QCOMPARE(en[4].holdHours, 96.0);
}

void CommissioningTest::enWaitingTimeByScreed() {
    CommissioningInput in;
    in.designSupplyTemp = 40;
    const auto cement = stepsOf(commissioningPlan(in), Standard::En1264Part4)[2];
    in.screed = ScreedKind::CalciumSulphate;
    const auto sulphate = stepsOf(commissioningPlan(in), Standard::En1264Part4)[2];
    QCOMPARE(cement.kind, StepKind::WaitBeforeHeating);
    QCOMPARE(cement.days, 21.0);
    QVERIFY(!cement.dependsOnMaker);
    QCOMPARE(sulphate.days, 7.0);
    QVERIFY(sulphate.dependsOnMaker);
}

void CommissioningTest::plansRefused() {
    CommissioningInput in;
    in.designSupplyTemp = 60.5;
    QCOMPARE(commissioningPlan(in).fault, CommissioningFault::SupplyOutside);
    in.designSupplyTemp = 4; // below the 5 ℃ site
    QCOMPARE(commissioningPlan(in).fault, CommissioningFault::SupplyOutside);
    in.designSupplyTemp = 45;
    in.workingPressureMPa = 0;
    QCOMPARE(commissioningPlan(in).fault, CommissioningFault::PressureNotPositive);
    in.workingPressureMPa = 0.9;
    const CommissioningPlan high = commissioningPlan(in);
    QVERIFY(high.ok() && high.workingPressureHigh);
    QVERIFY(qFuzzyCompare(high.steps.front().pressureMPa, 1.35));
}

QTEST_APPLESS_MAIN(CommissioningTest)
#include "tst_commissioning.moc"
