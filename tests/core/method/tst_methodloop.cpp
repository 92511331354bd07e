// SPDX-License-Identifier: GPL-3.0-or-later
// A loop's result by either method through the one interface: the
// program's method bit for bit computeLoop's run, EN 1264-2 independent of
// the loop's length and in step with the manifold design, and the answers
// to loops a method cannot compute.

#include "core/en1264/design.h"
#include "core/method/loopresult.h"
#include "core/method/looprunner.h"
#include "support/sheetdigits.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <cstdint>

using namespace zorva;
using namespace zorva::method;

Q_DECLARE_METATYPE(zorva::method::LoopProblem)
Q_DECLARE_METATYPE(zorva::RoomCategory)
Q_DECLARE_METATYPE(zorva::method::Method)

namespace {

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

LoopSetup setup(double room, double supply, double diff, double spacing, double length) {
    LoopSetup s;
    s.roomTemp = room;
    s.supplyTemp = supply;
    s.tempDiff = diff;
    s.spacingMm = spacing;
    s.lengthM = length;
    return s;
}

bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-12 * std::max(1.0, std::fabs(b));
}

} // namespace

class MethodLoopTest : public QObject {
    Q_OBJECT

private slots:
    void programIsComputeLoop_data();
    void programIsComputeLoop();
    void outputByLoopLength_data();
    void outputByLoopLength();
    void standardOutputFallsWithSpacingAndCovering();
    void standardAgreesWithTheManifoldDesign_data();
    void standardAgreesWithTheManifoldDesign();
    void floorLimitByCategory_data();
    void floorLimitByCategory();
    void loopsAMethodCannotCompute_data();
    void loopsAMethodCannotCompute();
    void runnerGivesTheSameBits_data();
    void runnerGivesTheSameBits();
    void constructionMapsAsTheCheckWindowDoes();
    void methodKeys();
};

void MethodLoopTest::programIsComputeLoop_data() {
    QTest::addColumn<double>("room");
    QTest::addColumn<double>("supply");
    QTest::addColumn<double>("diff");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<LoopProblem>("problem");
    using P = LoopProblem;
    QTest::newRow("default design") << 18.0 << 50.0 << 10.0 << 300.0 << 120.0 << 20.0 << P::None;
    QTest::newRow("issue 45/35 200 mm 30 m")
        << 20.0 << 45.0 << 10.0 << 200.0 << 30.0 << 20.0 << P::None;
    QTest::newRow("odd digits") << 17.3 << 41.7 << 6.1 << 137.5 << 77.7 << 16.0 << P::None;
    QTest::newRow("does not converge")
        << 25.0 << 50.0 << 20.0 << 300.0 << 10.0 << 32.0 << P::NotConverged;
    QTest::newRow("no temperature drop")
        << 20.0 << 45.0 << 0.0 << 200.0 << 60.0 << 20.0 << P::Faulted;
}

void MethodLoopTest::programIsComputeLoop() {
    QFETCH(double, room);
    QFETCH(double, supply);
    QFETCH(double, diff);
    QFETCH(double, spacing);
    QFETCH(double, length);
    QFETCH(double, diameter);
    QFETCH(LoopProblem, problem);
    LoopSetup s = setup(room, supply, diff, spacing, length);
    s.pipeDiameterMm = diameter;
    ManifoldInput m;
    m.supplyTemp = supply;
    m.tempDiff = diff;
    m.pipeDiameter = diameter;
    LoopInput l;
    l.roomTemp = room;
    l.spacingMm = spacing;
    l.lengthM = length;
    const LoopResult expected = computeLoop(m, l);
    const MethodLoopResult got = loopByMethod(Method::Program, s);
    QCOMPARE(got.problem, problem);
    QCOMPARE(QString(got.methodName), QStringLiteral("本程序方法"));
    QVERIFY(got.program.has_value());
    QCOMPARE(got.program->run.status, expected.run.status);
    if (problem == LoopProblem::Faulted)
        QCOMPARE(got.fault, expected.run.fault);
    if (problem != LoopProblem::None)
        return;
    QVERIFY(sameBits(got.heatOutput, expected.heatOutput));
    QVERIFY(sameBits(got.floorTempMean, expected.floorTemp));
    QVERIFY(sameBits(got.flowKgh, expected.flowKgh));
    QVERIFY(sameBits(got.flowLpm, expected.flowLpm));
    QVERIFY(sameBits(got.velocity, expected.velocity));
    QVERIFY(sameBits(got.pressureDrop, expected.resistance));
    QVERIFY(sameBits(got.area, expected.area));
    QVERIFY(sameBits(got.loopOutput, expected.loopOutput));
    QCOMPARE(got.program->run.passes, expected.run.passes);
    QVERIFY(!got.downwardOutput); // the program's method has no downward loss
    QCOMPARE(got.withinLimit, got.floorTempMean <= got.floorLimit);
}

void MethodLoopTest::outputByLoopLength_data() {
    // 45/35 ℃ at 200 mm under the default layers: the program's method
    // gives 34.2, 59.1, 76.7 and 85.3 W/m² for 30, 60, 120 and 200 m, EN
    // 1264-2 98.04101 W/m² (the type A sheet's example e) for every length.
    QTest::addColumn<double>("length");
    QTest::addColumn<QByteArray>("program");
    QTest::newRow("30 m") << 30.0 << QByteArray("34.2");
    QTest::newRow("60 m") << 60.0 << QByteArray("59.1");
    QTest::newRow("120 m") << 120.0 << QByteArray("76.7");
    QTest::newRow("200 m") << 200.0 << QByteArray("85.3");
}

void MethodLoopTest::outputByLoopLength() {
    QFETCH(double, length);
    QFETCH(QByteArray, program);
    const LoopSetup s = setup(20, 45, 10, 200, length);
    const MethodLoopResult p = loopByMethod(Method::Program, s);
    const MethodLoopResult en = loopByMethod(Method::En1264, s);
    QVERIFY(p.computed() && en.computed());
    QVERIFY2(showsAs(p.heatOutput, program), qPrintable(sheetMismatch("q", p.heatOutput, program)));
    QVERIFY(showsAs(en.heatOutput, "98.04101"));
    QVERIFY(showsAs(en.floorTempMean, "28.83899"));
    QVERIFY(sameBits(en.heatOutput,
                     loopByMethod(Method::En1264, setup(20, 45, 10, 200, 90)).heatOutput));
    QCOMPARE(QString(en.methodName), QStringLiteral("EN 1264-2"));
    // Above the limit curve at 29 ℃ (q_G 86.36281 W/m²) for a bedroom.
    LoopSetup bedroom = s;
    bedroom.category = RoomCategory::Residential;
    const MethodLoopResult limited = loopByMethod(Method::En1264, bedroom);
    QVERIFY(showsAs(limited.limitOutput, "86.36281"));
    QVERIFY(!limited.withinLimit);
    // Length changes the flow and the pressure drop, in proportion for the flow.
    QVERIFY(near(en.flowKgh / length,
                 loopByMethod(Method::En1264, setup(20, 45, 10, 200, 90)).flowKgh / 90));
}

void MethodLoopTest::standardOutputFallsWithSpacingAndCovering() {
    double previous = INFINITY;
    for (const double spacing : {50.0, 100.0, 150.0, 200.0, 250.0, 300.0, 375.0, 450.0}) {
        const MethodLoopResult r = loopByMethod(Method::En1264, setup(20, 45, 10, spacing, 80));
        QVERIFY2(r.computed() && r.heatOutput < previous, qPrintable(QString::number(spacing)));
        previous = r.heatOutput;
    }
    previous = INFINITY;
    // Marble, tiles, wood and carpet of 20 mm: ever higher R_λ,B.
    for (const double conductivity : {2.91, 1.10, 0.14, 0.036}) {
        LoopSetup s = setup(20, 45, 10, 200, 80);
        s.conductivity[0] = conductivity;
        const MethodLoopResult r = loopByMethod(Method::En1264, s);
        QVERIFY2(r.computed() && r.heatOutput < previous,
                 qPrintable(QString::number(conductivity)));
        previous = r.heatOutput;
    }
}

void MethodLoopTest::standardAgreesWithTheManifoldDesign_data() {
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("belowTemp");
    QTest::newRow("200 mm 90 m over a room at 20") << 200.0 << 90.0 << 20.0;
    QTest::newRow("150 mm 40 m over a room at 16") << 150.0 << 40.0 << 16.0;
    QTest::newRow("300 mm 120 m over a room at 22") << 300.0 << 120.0 << 22.0;
}

void MethodLoopTest::standardAgreesWithTheManifoldDesign() {
    // One room with one loop at one supply/return pair and a load above what
    // the floor gives: the design's room then gets exactly K_H·Δθ_H, and its
    // flow, velocity and pressure drop come through the design's own path.
    QFETCH(double, spacing);
    QFETCH(double, length);
    QFETCH(double, belowTemp);
    LoopSetup s = setup(20, 45, 10, spacing, length);
    s.category = RoomCategory::Peripheral;
    const en1264::Below under{en1264::BelowKind::HeatedRoom, 0.75, 0.08, 0.02, belowTemp};
    s.below = under;
    const MethodLoopResult loop = loopByMethod(Method::En1264, s);
    QVERIFY(loop.computed());
    QCOMPARE(loop.notes & DownwardLossLeftOut, 0u);
    QCOMPARE(loopByMethod(Method::En1264, setup(20, 45, 10, spacing, length)).notes &
                 DownwardLossLeftOut,
             unsigned(DownwardLossLeftOut));

    en1264::ManifoldDesignInput in;
    in.settings.mode = en1264::DesignMode::FixedPair;
    in.settings.candidateSpacings = {spacing / 1000};
    en1264::DesignRoom room;
    room.roomTemp = 20;
    room.area = length * spacing / 1000;
    room.heatLoad = 2 * loop.heatOutput * room.area;
    room.category = RoomCategory::Peripheral;
    room.floor = en1264::floorFromConstruction(s.thickness, s.conductivity, 20, spacing);
    room.below = under;
    in.rooms = {room};
    en1264::DesignLoop dl;
    dl.room = 0;
    dl.bends = 2;
    in.loops = {dl};
    const en1264::ManifoldDesign d = en1264::designManifold(in);
    const en1264::LoopDesign& l = d.loops[0];
    QVERIFY(l.designed());
    QVERIFY(near(l.length, length));
    QVERIFY(near(l.heatOutput, loop.heatOutput));
    QVERIFY(near(l.downwardOutput, *loop.downwardOutput));
    QVERIFY(near(l.flowKgh, loop.flowKgh));
    QVERIFY(near(l.flowLpm, loop.flowLpm));
    QVERIFY(near(l.hydraulics.velocity, loop.velocity));
    QVERIFY(near(l.pressureDrop, loop.pressureDrop));
    QVERIFY(near(l.floorTempMean, loop.floorTempMean));
    QVERIFY(near(l.limitOutput, loop.limitOutput));
}

void MethodLoopTest::floorLimitByCategory_data() {
    QTest::addColumn<RoomCategory>("category");
    QTest::addColumn<double>("room");
    QTest::addColumn<double>("standard");
    QTest::addColumn<double>("program");
    using C = RoomCategory;
    QTest::newRow("occupied") << C::Residential << 20.0 << 29.0 << 29.0;
    QTest::newRow("peripheral") << C::Peripheral << 20.0 << 35.0 << 35.0;
    QTest::newRow("bathroom at 24") << C::Bathroom << 24.0 << 33.0 << 33.0;
    QTest::newRow("bathroom at 20") << C::Bathroom << 20.0 << 29.0 << 33.0;
    // JGJ 142-2012 表 3.1.3: 29 ℃ for people staying long (28 ℃ in 2004).
    QTest::newRow("long stay") << C::LongStay << 20.0 << 29.0 << 29.0;
    QTest::newRow("short stay") << C::ShortStay << 18.0 << 32.0 << 32.0;
    QTest::newRow("nobody stays") << C::Unoccupied << 16.0 << 42.0 << 42.0;
}

void MethodLoopTest::floorLimitByCategory() {
    QFETCH(RoomCategory, category);
    QFETCH(double, room);
    QFETCH(double, standard);
    QFETCH(double, program);
    LoopSetup s = setup(room, 45, 10, 200, 80);
    s.category = category;
    QCOMPARE(floorLimitFor(s, true), standard);
    QCOMPARE(floorLimitFor(s, false), program);
    QCOMPARE(loopByMethod(Method::En1264, s).floorLimit, standard);
    QCOMPARE(loopByMethod(Method::Program, s).floorLimit, program);
    s.floorLimit = 31;
    QCOMPARE(floorLimitFor(s, true), 31.0);
    QCOMPARE(floorLimitFor(s, false), 31.0);
}

void MethodLoopTest::loopsAMethodCannotCompute_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<LoopProblem>("problem");
    QTest::addColumn<unsigned>("notes");
    using P = LoopProblem;
    QTest::newRow("no drop") << "diff 0" << P::NoTempDrop << 0u;
    QTest::newRow("return below the room") << "diff 30" << P::MethodNotApplicable << 0u;
    QTest::newRow("no length") << "length 0" << P::InvalidLength << 0u;
    QTest::newRow("length not a number") << "length nan" << P::InvalidLength << 0u;
    QTest::newRow("no screed above the pipe") << "level 0" << P::MethodNotApplicable << 0u;
    QTest::newRow("hot space below") << "below 300" << P::HeatFromBelow << 0u;
    QTest::newRow("wall fills the pipe") << "wall 10" << P::MethodNotApplicable << 0u;
    QTest::newRow("short loop, laminar")
        << "length 8" << P::None << unsigned(DownwardLossLeftOut | LaminarFlow);
    QTest::newRow("supply above boiling")
        << "supply 130" << P::None << unsigned(DownwardLossLeftOut | WaterOutsideRange);
}

void MethodLoopTest::loopsAMethodCannotCompute() {
    QFETCH(QString, change);
    QFETCH(LoopProblem, problem);
    QFETCH(unsigned, notes);
    LoopSetup s = setup(20, 45, 10, 200, 80);
    const QStringList words = change.split(' ');
    const double value = words[1] == "nan" ? NAN : words[1].toDouble();
    if (words[0] == "diff")
        s.tempDiff = value;
    else if (words[0] == "length")
        s.lengthM = value;
    else if (words[0] == "level") {
        s.thickness[1] = value;
        s.thickness[2] = s.pipeDiameterMm;
    } else if (words[0] == "below")
        s.below = en1264::Below{en1264::BelowKind::UnheatedRoom, 0.75, 0, 0, value};
    else if (words[0] == "wall")
        s.thickness[3] = value;
    else if (words[0] == "supply") {
        s.supplyTemp = value;
        s.tempDiff = 10;
    }
    const MethodLoopResult r = loopByMethod(Method::En1264, s);
    QCOMPARE(r.problem, problem);
    if (problem == LoopProblem::None) {
        QCOMPARE(r.notes, notes);
        for (const double v : {r.heatOutput, r.flowKgh, r.flowLpm, r.velocity, r.pressureDrop})
            QVERIFY(std::isfinite(v) && v > 0);
    }
}

void MethodLoopTest::runnerGivesTheSameBits_data() {
    QTest::addColumn<Method>("method");
    QTest::newRow("program") << Method::Program;
    QTest::newRow("EN 1264-2") << Method::En1264;
}

void MethodLoopTest::runnerGivesTheSameBits() {
    // Loops of two manifolds in turn, on 5 rooms × 4 spacings, some with
    // the space below known and some a method cannot compute.
    QFETCH(Method, method);
    LoopMethodRunner runner;
    const double rooms[] = {16, 18, 20, 22, 24};
    const double spacings[] = {100, 150, 200, 300};
    for (int i = 0; i < 400; ++i) {
        LoopSetup s = setup(rooms[i % 5], i % 2 ? 45 : 40, 8, spacings[(i / 5) % 4], 20 + i % 97);
        if (i % 2)
            s.conductivity[0] = 1.1;
        if (i % 7 == 0)
            s.below = en1264::Below{en1264::BelowKind::Ground, 1.25, 0.1, 0, 10.0};
        if (i % 50 == 0)
            s.tempDiff = 0;
        if (i % 11 == 0)
            s.category = RoomCategory::Bathroom;
        const MethodLoopResult a = runner.compute(method, s);
        const MethodLoopResult b = loopByMethod(method, s);
        const QByteArray at = QByteArray::number(i);
        QVERIFY2(a.problem == b.problem && a.notes == b.notes && a.en1264Flags == b.en1264Flags &&
                     a.withinLimit == b.withinLimit,
                 at);
        for (const double MethodLoopResult::*f :
             {&MethodLoopResult::heatOutput, &MethodLoopResult::floorTempMean,
              &MethodLoopResult::floorLimit, &MethodLoopResult::limitOutput,
              &MethodLoopResult::limitOutputMax, &MethodLoopResult::area,
              &MethodLoopResult::loopOutput, &MethodLoopResult::flowKgh, &MethodLoopResult::flowLpm,
              &MethodLoopResult::velocity, &MethodLoopResult::pressureDrop})
            QVERIFY2(sameBits(a.*f, b.*f), at);
        QVERIFY2(a.downwardOutput.has_value() == b.downwardOutput.has_value() &&
                     (!a.downwardOutput || sameBits(*a.downwardOutput, *b.downwardOutput)),
                 at);
    }
    // EN 1264-2 computed each floor about once: 40 room, spacing and
    // covering pairs, some of them again with a bathroom's limit.
    if (method == Method::En1264)
        QVERIFY2(runner.floorsComputed() <= 60,
                 qPrintable(QString::number(runner.floorsComputed())));
}

void MethodLoopTest::constructionMapsAsTheCheckWindowDoes() {
    // The numeric mapping and the field-text mapping of the design check
    // give the same bits, with and without the filling-layer clamp.
    for (const char* diameter : {"20", "60"}) {
        FieldRecord f = FieldRecord::defaults();
        f.design[DiameterField] = diameter;
        const En1264Inputs text = en1264Inputs(f, 29);
        const en1264::Floor floor = en1264::floorFromConstruction(
            {20, 20, 50, 2}, {2.91, 1.84, 1.28, 0.41}, std::atof(diameter), 300);
        QVERIFY(sameBits(floor.screedAbove, text.screedAbove));
        QVERIFY(sameBits(floor.screedConductivity, text.screedConductivity));
        QVERIFY(sameBits(floor.coveringResistance, text.coveringResistance));
        QVERIFY(sameBits(floor.spacing, text.spacing));
        QVERIFY(sameBits(floor.pipeDiameter, text.diameter));
    }
}

void MethodLoopTest::methodKeys() {
    for (const Method m : {Method::Program, Method::En1264}) {
        Method back = m == Method::Program ? Method::En1264 : Method::Program;
        QVERIFY(methodFromKey(methodKey(m), back));
        QCOMPARE(back, m);
    }
    Method unchanged = Method::Program;
    QVERIFY(!methodFromKey("EN1264", unchanged));
    QVERIFY(!methodFromKey("", unchanged));
    QVERIFY(!methodFromKey(nullptr, unchanged));
    QCOMPARE(unchanged, Method::Program);
}

QTEST_APPLESS_MAIN(MethodLoopTest)
#include "tst_methodloop.moc"
