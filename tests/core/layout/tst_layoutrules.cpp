// SPDX-License-Identifier: GPL-3.0-or-later
// The rules on the drawing against pipes drawn by hand with one fault put
// in each: the finding, its place and its value, and no finding where the
// drawing keeps the rules or where only a leader is involved.

#include "core/layout/rules.h"

#include <QTest>

using namespace zorva::layout;

Q_DECLARE_METATYPE(zorva::layout::Point)
Q_DECLARE_METATYPE(zorva::layout::Rule)

namespace {

// A 4 m × 3 m room, spacing 200, clearance 100, D 20 × 5 = 100 mm bends.
CheckedRoom room() {
    CheckedRoom r;
    r.walls = {rectangle({0, 0}, 4000, 3000)};
    r.clearance = 100;
    return r;
}

CheckedLoop loop(std::vector<PipePiece> pieces) {
    CheckedLoop l;
    l.pieces = std::move(pieces);
    l.spacing = 200;
    l.minBendRadius = 100;
    l.routedLength = 50;
    l.maxLength = 120;
    l.heatedArea = 10;
    l.mark = {100, 100};
    return l;
}

// Two runs joined by a U-turn of the given width, 2 m long, from y = 500.
Polyline hairpin(double width) {
    return {{500, 500}, {2500, 500}, {2500, 500 + width}, {500, 500 + width}};
}

} // namespace

class LayoutRulesTest : public QObject {
    Q_OBJECT

private slots:
    void injectedFaultIsFound_data();
    void injectedFaultIsFound();
    void soundDrawingHasNoFindings_data();
    void soundDrawingHasNoFindings();
    void parallelFaultIsReportedOncePerSpacing();
};

void LayoutRulesTest::injectedFaultIsFound_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<int>("count"); // at most, one per spacing along a fault
    QTest::addColumn<Point>("where");
    QTest::addColumn<double>("reach"); // how far from `where` the mark may be
    QTest::addColumn<double>("value");
    // Two heated pipes crossing at (1000, 1000).
    QTest::newRow("crossing") << 0 << Rule::Crossing << 1 << Point{1000, 1000} << 0.0 << 0.0;
    // A U-turn 150 wide at spacing 200: the runs face each other at 150
    // (marked between them, anywhere along), and each of its corners can
    // bend at 75 mm.
    QTest::newRow("runs too close")
        << 1 << Rule::Spacing << 1 << Point{1500, 575} << 1000.0 << 150.0;
    QTest::newRow("U-turn too tight")
        << 2 << Rule::BendRadius << 2 << Point{2500, 500} << 0.0 << 75.0;
    // A run 60 mm from the bottom wall, marked on the run.
    QTest::newRow("too near the wall")
        << 3 << Rule::WallClearance << 1 << Point{1500, 60} << 1000.0 << 60.0;
    // Along the cupboard's metre: marks at most a spacing apart.
    QTest::newRow("too near a cupboard")
        << 4 << Rule::WallClearance << 6 << Point{1500, 1000} << 500.0 << 50.0;
    QTest::newRow("loop too long") << 5 << Rule::LoopLength << 1 << Point{100, 100} << 0.0 << 130.0;
    QTest::newRow("much left bare") << 6 << Rule::Uncovered << 1 << Point{100, 100} << 0.0 << 1.5;
    QTest::newRow("two loops crossing")
        << 7 << Rule::Crossing << 1 << Point{2000, 1500} << 0.0 << 0.0;
}

void LayoutRulesTest::injectedFaultIsFound() {
    QFETCH(int, fault);
    QFETCH(Rule, rule);
    QFETCH(int, count);
    QFETCH(Point, where);
    QFETCH(double, reach);
    QFETCH(double, value);
    CheckedRoom r = room();
    switch (fault) {
    case 0:
        r.loops = {loop({{{{500, 1000}, {1500, 1000}, {1500, 2000}, {1000, 2000}, {1000, 500}},
                          PieceKind::Heated}})};
        break;
    case 1:
    case 2: {
        CheckedLoop l = loop({{hairpin(150), PieceKind::Heated}});
        // One rule at a time: case 1 allows the bends, case 2 the spacing.
        if (fault == 1)
            l.minBendRadius = 50;
        else
            l.spacing = 150;
        r.loops = {l};
        break;
    }
    case 3:
        r.loops = {loop({{{{500, 60}, {2500, 60}}, PieceKind::Heated}})};
        break;
    case 4:
        r.walls.push_back(rectangle({1000, 1050}, 1000, 600));
        r.loops = {loop({{{{500, 1000}, {2500, 1000}}, PieceKind::Heated}})};
        break;
    case 5: {
        CheckedLoop l = loop({{{{500, 500}, {2500, 500}}, PieceKind::Heated}});
        l.routedLength = 130;
        r.loops = {l};
        break;
    }
    case 6: {
        CheckedLoop l = loop({{{{500, 500}, {2500, 500}}, PieceKind::Heated}});
        l.uncoveredArea = 1.5; // of 10 m², more than 5 %
        r.loops = {l};
        break;
    }
    case 7:
        r.loops = {loop({{{{2000, 500}, {2000, 2500}}, PieceKind::Heated}}),
                   loop({{{{500, 1500}, {3500, 1500}}, PieceKind::Heated}})};
        break;
    }
    const std::vector<Violation> found = checkRoom(r);
    int matching = 0;
    for (const Violation& v : found) {
        QVERIFY2(v.rule == rule, qPrintable(QString::fromStdString(v.message)));
        ++matching;
    }
    QVERIFY(matching >= 1);
    QVERIFY2(matching <= count, qPrintable(QString::number(matching)));
    const auto at = std::find_if(found.begin(), found.end(), [&](const Violation& v) {
        return distance(v.position, where) <= reach + 1e-6;
    });
    QVERIFY2(at != found.end(),
             qPrintable(
                 QString("at %1, %2").arg(found.front().position.x).arg(found.front().position.y)));
    QVERIFY(std::abs(at->value - value) < 1e-6);
    QVERIFY(!at->message.empty());
    QCOMPARE(at->severity, rule == Rule::Uncovered    ? Severity::Info
                           : rule == Rule::LoopLength ? Severity::Warning
                                                      : Severity::Error);
}

void LayoutRulesTest::soundDrawingHasNoFindings_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("U-turn of the spacing") << 0;
    QTest::newRow("leader across the heated pipe") << 1;
    QTest::newRow("connection in the clearance") << 2;
    QTest::newRow("at the clearance exactly") << 3;
    QTest::newRow("loop at the length limit") << 4;
}

void LayoutRulesTest::soundDrawingHasNoFindings() {
    QFETCH(int, kind);
    CheckedRoom r = room();
    switch (kind) {
    case 0:
        r.loops = {loop({{hairpin(200), PieceKind::Heated}})};
        break;
    case 1:
        r.loops = {loop({{{{1000, -500}, {1000, 2000}}, PieceKind::Leader},
                         {{{1000, 2000}, {500, 2000}}, PieceKind::Connection},
                         {hairpin(200), PieceKind::Heated}})};
        break;
    case 2:
        r.loops = {loop({{{{2000, 0}, {2000, 30}, {100, 30}, {100, 500}}, PieceKind::Connection},
                         {{{100, 500}, {2500, 500}}, PieceKind::Heated}})};
        break;
    case 3:
        r.loops = {loop({{{{100, 100}, {3900, 100}, {3900, 2900}}, PieceKind::Heated}})};
        break;
    case 4: {
        CheckedLoop l = loop({{hairpin(200), PieceKind::Heated}});
        l.routedLength = 120;
        r.loops = {l};
        break;
    }
    }
    const std::vector<Violation> found = checkRoom(r);
    QVERIFY2(found.empty(), found.empty() ? "" : found.front().message.c_str());
}

void LayoutRulesTest::parallelFaultIsReportedOncePerSpacing() {
    // Two runs 120 mm apart for 2 m: one finding per 200 mm of their length
    // at most, not one per pair of segments.
    CheckedRoom r = room();
    Polyline zigzag{{500, 500}};
    for (int i = 1; i <= 20; ++i)
        zigzag.push_back({500 + 100.0 * i, 500});
    CheckedLoop a = loop({{zigzag, PieceKind::Heated}});
    Polyline other = zigzag;
    for (Point& p : other)
        p.y += 120;
    CheckedLoop b = loop({{other, PieceKind::Heated}});
    r.loops = {a, b};
    const std::vector<Violation> found = checkRoom(r);
    QVERIFY(!found.empty());
    QVERIFY2(found.size() <= 11, qPrintable(QString::number(found.size())));
    for (const Violation& v : found) {
        QCOMPARE(v.rule, Rule::Spacing);
        QVERIFY(std::abs(v.value - 120) < 1e-9);
    }
}

QTEST_APPLESS_MAIN(LayoutRulesTest)
#include "tst_layoutrules.moc"
