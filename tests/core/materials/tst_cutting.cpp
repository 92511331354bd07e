// SPDX-License-Identifier: GPL-3.0-or-later
// The cutting plan: small plans worked out by hand, the millimetre at the
// roll's end, and on seeded random projects the plan's rules (every loop
// whole and once, no roll overfilled, only stocked rolls) and its distance
// from the lower bound.

#include "core/materials/cutting.h"

#include <QTest>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

using namespace zorva::materials;

using Lengths = std::vector<double>;
Q_DECLARE_METATYPE(Lengths)

namespace {

// Every rule a plan must keep; an empty string when it does.
QString brokenRule(const CuttingPlan& plan, const Lengths& loops, const Lengths& rolls) {
    std::vector<int> seen(loops.size(), 0);
    std::int64_t bought = 0;
    for (const RollCut& r : plan.rolls) {
        std::int64_t used = 0;
        for (const std::size_t i : r.loops) {
            ++seen[i];
            used += static_cast<std::int64_t>(std::ceil(loops[i] * 1000 - 1e-6));
        }
        if (used != r.usedMm || used > r.rollMm)
            return QStringLiteral("roll of %1 mm holds %2 mm").arg(r.rollMm).arg(used);
        if (std::none_of(rolls.begin(), rolls.end(),
                         [&](double m) { return std::llround(m * 1000) == r.rollMm; }))
            return QStringLiteral("roll of %1 mm is not stocked").arg(r.rollMm);
        bought += r.rollMm;
    }
    const double longest = *std::max_element(rolls.begin(), rolls.end());
    for (const std::size_t i : plan.unplaced) {
        ++seen[i];
        if (loops[i] <= longest)
            return QStringLiteral("loop %1 of %2 m left out").arg(i).arg(loops[i]);
    }
    for (std::size_t i = 0; i < seen.size(); ++i)
        if (seen[i] != 1)
            return QStringLiteral("loop %1 appears %2 times").arg(i).arg(seen[i]);
    if (std::llround(plan.purchasedM * 1000) != bought || plan.ratio < 1)
        return QStringLiteral("bought %1 m, bound %2 m").arg(plan.purchasedM).arg(plan.lowerBoundM);
    return {};
}

} // namespace

class CuttingTest : public QObject {
    Q_OBJECT

private slots:
    void plansByHand_data();
    void plansByHand();
    void randomProjectsKeepTheRules();
    void largeRandomProjectsNearTheBound_data();
    void largeRandomProjectsNearTheBound();
    void badLengthsRefused();
};

void CuttingTest::plansByHand_data() {
    QTest::addColumn<Lengths>("loops");
    QTest::addColumn<Lengths>("rolls");
    QTest::addColumn<double>("allowance");
    QTest::addColumn<Lengths>("bought"); // roll lengths, longest first
    QTest::addColumn<int>("unplaced");
    QTest::addColumn<double>("bound");
    // The example's loops: 108+92, 104+66 and 56 on 200 m rolls, ⌈426/200⌉ = 3.
    QTest::newRow("example on 200 m rolls") << Lengths{104, 108, 92, 66, 56} << Lengths{200} << 0.0
                                            << Lengths{200, 200, 200} << 0 << 600.0;
    QTest::newRow("example on a 500 m roll")
        << Lengths{104, 108, 92, 66, 56} << Lengths{100, 200, 300, 500} << 0.0 << Lengths{500} << 0
        << 500.0;
    // 108+104+66 = 278 on 300 m and 92 on 100 m: 400 m, the bound.
    QTest::newRow("four loops on 300 + 100 m")
        << Lengths{104, 108, 92, 66} << Lengths{100, 200, 300, 500} << 0.0 << Lengths{300, 100} << 0
        << 400.0;
    QTest::newRow("two loops fill a roll exactly")
        << Lengths{100, 100} << Lengths{200} << 0.0 << Lengths{200} << 0 << 200.0;
    QTest::newRow("allowance fills the roll exactly")
        << Lengths{99.5, 99.5} << Lengths{200} << 0.5 << Lengths{200} << 0 << 200.0;
    QTest::newRow("allowance overfills by 0.2 m")
        << Lengths{99.5, 99.5} << Lengths{200} << 0.6 << Lengths{200, 200} << 0 << 400.0;
    QTest::newRow("a millimetre too long for any roll")
        << Lengths{200.0004, 50} << Lengths{200} << 0.0 << Lengths{200} << 1 << 200.0;
    QTest::newRow("rounding below the millimetre still fits")
        << Lengths{199.9999999999} << Lengths{200} << 0.0 << Lengths{200} << 0 << 200.0;
    // 150 and 200 m rolls step by 50 m: 240 m of loops need at least 250 m;
    // two 120 m loops cannot share a roll, so 150 + 150.
    QTest::newRow("bound on the rolls' common step")
        << Lengths{120, 120} << Lengths{150, 200} << 0.0 << Lengths{150, 150} << 0 << 250.0;
}

void CuttingTest::plansByHand() {
    QFETCH(Lengths, loops);
    QFETCH(Lengths, rolls);
    QFETCH(double, allowance);
    QFETCH(Lengths, bought);
    QFETCH(int, unplaced);
    QFETCH(double, bound);
    const CuttingPlan plan = planCuts(loops, rolls, allowance);
    QVERIFY(plan.ok());
    Lengths got;
    for (const RollCut& r : plan.rolls)
        got.push_back(static_cast<double>(r.rollMm) / 1000);
    QCOMPARE(got, bought);
    QCOMPARE(plan.unplaced.size(), std::size_t(unplaced));
    QCOMPARE(plan.lowerBoundM, bound);
    if (allowance == 0)
        QCOMPARE(brokenRule(plan, loops, rolls), QString());
}

void CuttingTest::randomProjectsKeepTheRules() {
    std::mt19937_64 random(20240521);
    const std::vector<Lengths> stocks{{100}, {200}, {100, 200, 300, 500}, {150, 250}, {80, 120}};
    for (int project = 0; project < 200; ++project) {
        const Lengths& rolls = stocks[random() % stocks.size()];
        Lengths loops(1 + random() % 300);
        std::uniform_real_distribution<double> length(15, 135);
        for (double& l : loops)
            l = std::round(length(random) * 10) / 10;
        const CuttingPlan plan = planCuts(loops, rolls);
        QVERIFY(plan.ok());
        const QString broken = brokenRule(plan, loops, rolls);
        QVERIFY2(broken.isEmpty(),
                 qPrintable(QStringLiteral("project %1: ").arg(project) + broken));
    }
}

void CuttingTest::largeRandomProjectsNearTheBound_data() {
    QTest::addColumn<Lengths>("rolls");
    QTest::addColumn<int>("seed");
    QTest::newRow("200 m rolls") << Lengths{200} << 1;
    QTest::newRow("100/200/300/500 m rolls") << Lengths{100, 200, 300, 500} << 2;
    QTest::newRow("300 m rolls") << Lengths{300} << 3;
}

void CuttingTest::largeRandomProjectsNearTheBound() {
    QFETCH(Lengths, rolls);
    QFETCH(int, seed);
    std::mt19937_64 random(static_cast<unsigned>(seed));
    std::uniform_real_distribution<double> length(30, 120); // JGJ: a loop up to 120 m
    Lengths loops(2000);
    for (double& l : loops)
        l = std::round(length(random) * 10) / 10;
    const CuttingPlan plan = planCuts(loops, rolls);
    QVERIFY(plan.unplaced.empty());
    QVERIFY2(plan.ratio <= 1.10, qPrintable(QString::number(plan.ratio)));
}

void CuttingTest::badLengthsRefused() {
    const double nan = std::nan("");
    QCOMPARE(planCuts(Lengths{50}, Lengths{}).fault, CuttingFault::NoRolls);
    QCOMPARE(planCuts(Lengths{50}, Lengths{200, 0}).fault, CuttingFault::RollInvalid);
    const CuttingPlan loop = planCuts(Lengths{50, nan}, Lengths{200});
    QCOMPARE(loop.fault, CuttingFault::LoopInvalid);
    QCOMPARE(loop.faultIndex, std::size_t{1});
    QCOMPARE(planCuts(Lengths{-5}, Lengths{200}).fault, CuttingFault::LoopInvalid);
    QCOMPARE(planCuts(Lengths{50}, Lengths{200}, -1).fault, CuttingFault::AllowanceInvalid);
    QCOMPARE(planCuts(Lengths{}, Lengths{200}).ratio, 0.0);
}

QTEST_APPLESS_MAIN(CuttingTest)
#include "tst_cutting.moc"
