// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic loop layout of whole rooms, checked with the test's own
// geometry rather than the layout's: the routed length against the
// estimate L = A/T + leaders, every pipe's distance from the others and
// from the walls sampled along it, crossings segment by segment, supply and
// return alternating, the peripheral zone's spacing, division into loop
// areas and bad input.

#include "core/layout/routing.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <unordered_map>

using namespace zorva::layout;

Q_DECLARE_METATYPE(zorva::layout::Polygon)
Q_DECLARE_METATYPE(zorva::layout::Point)
Q_DECLARE_METATYPE(zorva::layout::Pattern)
Q_DECLARE_METATYPE(zorva::layout::RoomStatus)

namespace {

Polygon lShape(double size, double notch) {
    return {{0, 0},
            {size, 0},
            {size, size - notch},
            {size - notch, size - notch},
            {size - notch, size},
            {0, size}};
}

// One room with its door on the bottom wall and the manifold straight
// below it, 3 m away: each leader is then exactly 3 m.
Plan onePlan(const Polygon& outline, Point door, Pattern pattern, double spacing,
             double clearance) {
    Plan plan;
    plan.manifolds.push_back({"M1", {door.x, door.y - 3000}});
    Room room;
    room.name = "R";
    room.outline = outline;
    room.doors.push_back({door, 900});
    room.settings.pattern = pattern;
    room.settings.spacing = spacing;
    room.settings.wallClearance = clearance;
    plan.rooms.push_back(room);
    return plan;
}

struct Sample {
    Point p;
    double along; // mm along the pipe
    int pipe;
};

// Points every `step` mm along each pipe.
std::vector<Sample> samples(const std::vector<Polyline>& pipes, double step) {
    std::vector<Sample> out;
    for (int k = 0; k < static_cast<int>(pipes.size()); ++k) {
        const Polyline& line = pipes[k];
        double along = 0;
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            const Point a = line[i];
            const Point b = line[i + 1];
            const double len = distance(a, b);
            const int n = std::max(1, static_cast<int>(std::ceil(len / step)));
            for (int j = 0; j < n; ++j)
                out.push_back({a + (b - a) * (double(j) / n), along + len * j / n, k});
            along += len;
        }
        if (!line.empty())
            out.push_back({line.back(), along, k});
    }
    return out;
}

// The closest approach of two points on the pipes that lie more than
// three spacings apart along the same pipe (or on different pipes).
double closestApproach(const std::vector<Polyline>& pipes, double spacing) {
    const std::vector<Sample> s = samples(pipes, 10);
    std::unordered_map<long long, std::vector<std::size_t>> grid;
    const auto key = [&](long long x, long long y) { return x * 1000003LL + y; };
    const auto cell = [&](double v) { return static_cast<long long>(std::floor(v / spacing)); };
    for (std::size_t i = 0; i < s.size(); ++i)
        grid[key(cell(s[i].p.x), cell(s[i].p.y))].push_back(i);
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < s.size(); ++i) {
        const long long cx = cell(s[i].p.x), cy = cell(s[i].p.y);
        for (long long dx = -1; dx <= 1; ++dx) {
            for (long long dy = -1; dy <= 1; ++dy) {
                const auto it = grid.find(key(cx + dx, cy + dy));
                if (it == grid.end())
                    continue;
                for (std::size_t j : it->second) {
                    if (s[j].pipe == s[i].pipe && std::abs(s[j].along - s[i].along) <= 3 * spacing)
                        continue;
                    best = std::min(best, distance(s[i].p, s[j].p));
                }
            }
        }
    }
    return best;
}

double distanceToEdges(const Polygon& p, Point q) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Point a = p[i], b = p[(i + 1) % p.size()];
        const Point ab = b - a;
        const double t = std::clamp(dot(q - a, ab) / dot(ab, ab), 0.0, 1.0);
        best = std::min(best, distance(q, a + ab * t));
    }
    return best;
}

// Proper crossings between segments that are not neighbours on one pipe.
int crossings(const std::vector<Polyline>& pipes) {
    struct S {
        Point a, b;
        int pipe;
        std::size_t i;
    };
    std::vector<S> segs;
    for (int k = 0; k < static_cast<int>(pipes.size()); ++k)
        for (std::size_t i = 0; i + 1 < pipes[k].size(); ++i)
            segs.push_back({pipes[k][i], pipes[k][i + 1], k, i});
    const auto orient = [](Point a, Point b, Point c) { return cross(b - a, c - a); };
    int count = 0;
    for (std::size_t i = 0; i < segs.size(); ++i) {
        for (std::size_t j = i + 1; j < segs.size(); ++j) {
            const S& u = segs[i];
            const S& v = segs[j];
            if (u.pipe == v.pipe && v.i == u.i + 1)
                continue;
            const double d1 = orient(v.a, v.b, u.a), d2 = orient(v.a, v.b, u.b);
            const double d3 = orient(u.a, u.b, v.a), d4 = orient(u.a, u.b, v.b);
            if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) &&
                ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
                ++count;
        }
    }
    return count;
}

// Where the pipe crosses the vertical line x, as heights.
std::vector<double> heightsAt(const Polyline& pipe, double x) {
    std::vector<double> ys;
    for (std::size_t i = 0; i + 1 < pipe.size(); ++i) {
        const Point a = pipe[i], b = pipe[i + 1];
        if ((a.x < x) != (b.x < x))
            ys.push_back(a.y + (x - a.x) / (b.x - a.x) * (b.y - a.y));
    }
    return ys;
}

std::vector<Polyline> heatedPipes(const RoomLayout& layout) {
    std::vector<Polyline> out;
    for (const RoutedLoop& l : layout.loops)
        out.push_back(l.heated);
    return out;
}

} // namespace

class LoopRoutingTest : public QObject {
    Q_OBJECT

private slots:
    void routedLengthMatchesTheEstimate_data();
    void routedLengthMatchesTheEstimate();
    void spiralAlternatesSupplyAndReturn();
    void serpentinePairsSupplyAndReturn();
    void peripheralZoneAtItsOwnSpacing_data();
    void peripheralZoneAtItsOwnSpacing();
    void furnitureAgainstAWallIsLeftOut();
    void islandIsLeftOut_data();
    void islandIsLeftOut();
    void largeRoomIsDividedIntoLoops();
    void dividingLineAsTheUserLeftIt();
    void designedLoopCountIsKept_data();
    void designedLoopCountIsKept();
    void leaderPathAsTheUserDrewIt();
    void reroutingOneRoomGivesThePlansResult();
    void badInputIsRefused_data();
    void badInputIsRefused();
};

void LoopRoutingTest::routedLengthMatchesTheEstimate_data() {
    QTest::addColumn<Polygon>("outline");
    QTest::addColumn<Point>("door");
    QTest::addColumn<Pattern>("pattern");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("clearance");
    QTest::addColumn<double>("area"); // m², by hand
    const Polygon living = rectangle({0, 0}, 4200, 3600);
    QTest::newRow("living 4.2 × 3.6, 回形 200")
        << living << Point{2100, 0} << Pattern::Spiral << 200.0 << 100.0 << 15.12;
    QTest::newRow("bedroom 3.6 × 3.0, 回形 150") << rectangle({0, 0}, 3600, 3000) << Point{600, 0}
                                                 << Pattern::Spiral << 150.0 << 75.0 << 10.8;
    QTest::newRow("study 5.0 × 4.0, 回形 250") << rectangle({0, 0}, 5000, 4000) << Point{4400, 0}
                                               << Pattern::Spiral << 250.0 << 125.0 << 20.0;
    QTest::newRow("L 36 − 9 m², 回形 250")
        << lShape(6000, 3000) << Point{1000, 0} << Pattern::Spiral << 250.0 << 125.0 << 27.0;
    QTest::newRow("L 23.04 − 5.76 m², 回形 200")
        << lShape(4800, 2400) << Point{1200, 0} << Pattern::Spiral << 200.0 << 100.0 << 17.28;
    QTest::newRow("living, 往复形 200")
        << living << Point{2100, 0} << Pattern::Serpentine << 200.0 << 100.0 << 15.12;
    QTest::newRow("bedroom 3.6 × 3.0, 往复形 150") << rectangle({0, 0}, 3600, 3000) << Point{600, 0}
                                                   << Pattern::Serpentine << 150.0 << 75.0 << 10.8;
    QTest::newRow("L 23.04 − 5.76 m², 往复形 200")
        << lShape(4800, 2400) << Point{1200, 0} << Pattern::Serpentine << 200.0 << 100.0 << 17.28;
}

void LoopRoutingTest::routedLengthMatchesTheEstimate() {
    QFETCH(Polygon, outline);
    QFETCH(Point, door);
    QFETCH(Pattern, pattern);
    QFETCH(double, spacing);
    QFETCH(double, clearance);
    QFETCH(double, area);
    const Plan plan = onePlan(outline, door, pattern, spacing, clearance);
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.status, RoomStatus::Routed);
    QCOMPARE(layout.loops.size(), std::size_t(1));
    const RoutedLoop& loop = layout.loops.front();
    QVERIFY(std::abs(loop.heatedArea - area) < 1e-9 * area);
    // Each leader runs the 3 m straight down to the manifold.
    QVERIFY(std::abs(loop.supplyLeaderLength - 3.0) < 1e-9);
    QVERIFY(std::abs(loop.returnLeaderLength - 3.0) < 1e-9);
    // L = A/T + leaders (to the manifold and, inside the room, to the pattern).
    const double estimate = area / (spacing / 1000) + 6.0 + loop.connectionLength;
    QVERIFY2(
        std::abs(loop.routedLength - estimate) <= 0.05 * estimate,
        qPrintable(QString("routed %1 m, estimate %2 m").arg(loop.routedLength).arg(estimate)));
    QVERIFY2(std::abs(loop.heatedLength - area / (spacing / 1000)) <=
                 0.05 * area / (spacing / 1000),
             qPrintable(QString("in the area %1 m").arg(loop.heatedLength)));

    // Spacing, clearance and crossings measured here, not by the rules.
    const std::vector<Polyline> pipes = heatedPipes(layout);
    const double closest = closestApproach(pipes, spacing);
    QVERIFY2(closest >= spacing - 1, qPrintable(QString("pipes %1 mm apart").arg(closest)));
    for (const Sample& s : samples(pipes, 10)) {
        QVERIFY(contains(outline, s.p));
        QVERIFY2(distanceToEdges(outline, s.p) >= clearance - 1,
                 qPrintable(QString("%1 mm from a wall at %2, %3")
                                .arg(distanceToEdges(outline, s.p))
                                .arg(s.p.x)
                                .arg(s.p.y)));
    }
    QCOMPARE(crossings(pipes), 0);
    // And the rules find nothing to mark.
    for (const Violation& v : layout.violations)
        QVERIFY2(v.rule == Rule::BendRadius && v.value >= spacing / 2 - 1e-6,
                 qPrintable(QString::fromStdString(v.message)));
}

void LoopRoutingTest::spiralAlternatesSupplyAndReturn() {
    const Plan plan = onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, Pattern::Spiral, 200, 100);
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.loops.size(), std::size_t(1));
    const RoutedLoop& loop = layout.loops.front();
    const Polyline supply(loop.heated.begin(), loop.heated.begin() + loop.turnIndex + 1);
    const Polyline back(loop.heated.begin() + loop.turnIndex, loop.heated.end());
    // Across the lower half, away from the corner where the rings join and
    // off the rings' corners (at 100 + 200 k).
    std::vector<std::pair<double, char>> hits;
    for (double y : heightsAt(supply, 1950))
        hits.push_back({y, 'S'});
    for (double y : heightsAt(back, 1950))
        hits.push_back({y, 'R'});
    std::sort(hits.begin(), hits.end());
    std::string order;
    for (const auto& h : hits) {
        if (h.first < 1800)
            order += h.second;
    }
    // Rings at 100, 300, …, 1700 mm: nine, supply outermost.
    QCOMPARE(QString::fromStdString(order), QString("SRSRSRSRS"));
}

void LoopRoutingTest::serpentinePairsSupplyAndReturn() {
    const Plan plan =
        onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, Pattern::Serpentine, 200, 100);
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.loops.size(), std::size_t(1));
    const RoutedLoop& loop = layout.loops.front();
    QCOMPARE(loop.pattern, Pattern::Serpentine);
    const Polyline supply(loop.heated.begin(), loop.heated.begin() + loop.turnIndex + 1);
    const Polyline back(loop.heated.begin() + loop.turnIndex, loop.heated.end());
    // Runs along the 4.2 m walls: 100, 300, …, 3500 mm, eighteen, the pairs
    // (1st, 2nd), (3rd, 4th), … each holding one supply and one return.
    std::vector<std::pair<double, char>> hits;
    for (double y : heightsAt(supply, 2000))
        hits.push_back({y, 'S'});
    for (double y : heightsAt(back, 2000))
        hits.push_back({y, 'R'});
    std::sort(hits.begin(), hits.end());
    QCOMPARE(hits.size(), std::size_t(18));
    for (std::size_t i = 0; i < hits.size(); ++i)
        QVERIFY(std::abs(hits[i].first - (100 + 200.0 * i)) < 1e-6);
    for (std::size_t i = 0; i + 1 < hits.size(); i += 2)
        QVERIFY(hits[i].second != hits[i + 1].second);
}

void LoopRoutingTest::peripheralZoneAtItsOwnSpacing_data() {
    QTest::addColumn<Pattern>("pattern");
    QTest::newRow("回形") << Pattern::Spiral;
    QTest::newRow("往复形") << Pattern::Serpentine;
}

void LoopRoutingTest::peripheralZoneAtItsOwnSpacing() {
    QFETCH(Pattern, pattern);
    Plan plan = onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, pattern, 200, 100);
    Room& room = plan.rooms.front();
    room.outerWalls = {2}; // the top wall, (4200, 3600) to (0, 3600)
    room.settings.peripheralWidth = 800;
    room.settings.peripheralSpacing = 100;
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.status, RoomStatus::Routed);
    std::vector<double> ys;
    for (const RoutedLoop& l : layout.loops) {
        const std::vector<double> h = heightsAt(l.heated, 1900);
        ys.insert(ys.end(), h.begin(), h.end());
    }
    std::sort(ys.begin(), ys.end(), std::greater<>());
    QVERIFY(ys.size() > 9);
    // 100 mm from the outer wall, then every 100 mm up to 800 mm from it
    // (eight pipes in the zone), then the room's 200 mm.
    for (int i = 0; i < 8; ++i)
        QVERIFY2(std::abs(ys[i] - (3500 - 100.0 * i)) < 1e-6, qPrintable(QString::number(ys[i])));
    QVERIFY(std::abs(ys[8] - 2600) < 1e-6);
}

void LoopRoutingTest::furnitureAgainstAWallIsLeftOut() {
    Plan plan = onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, Pattern::Spiral, 200, 100);
    const Polygon wardrobe = rectangle({0, 3000}, 1800, 600);
    plan.rooms.front().noPipeAreas.push_back({wardrobe, "衣柜"});
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.loops.size(), std::size_t(1));
    const RoutedLoop& loop = layout.loops.front();
    // 15.12 − 1.8 × 0.6 m².
    QVERIFY(std::abs(loop.heatedArea - 14.04) < 1e-9);
    QVERIFY(std::abs(loop.heatedLength - 70.2) <= 0.05 * 70.2);
    for (const Sample& s : samples({loop.heated}, 10)) {
        QVERIFY(!contains(wardrobe, s.p));
        QVERIFY(distanceToEdges(wardrobe, s.p) >= 99);
    }
    QVERIFY(closestApproach({loop.heated}, 200) >= 199);
    QCOMPARE(crossings({loop.heated}), 0);
}

void LoopRoutingTest::islandIsLeftOut_data() {
    QTest::addColumn<bool>("divided");
    QTest::addColumn<int>("loops");
    QTest::newRow("joined to the wall by a cut") << false << 1;
    QTest::newRow("a dividing line drawn across it") << true << 2;
}

void LoopRoutingTest::islandIsLeftOut() {
    QFETCH(bool, divided);
    QFETCH(int, loops);
    Plan plan = onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, Pattern::Spiral, 200, 100);
    const Polygon island = rectangle({1500, 1200}, 1000, 1000);
    plan.rooms.front().noPipeAreas.push_back({island, "岛台"});
    if (divided)
        plan.rooms.front().dividers = {{{2000, -10}, {2000, 3610}}};
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.loops.size(), std::size_t(loops));
    // 15.12 − 1 m²; divided at x = 2 m: 2.2 × 3.6 − 0.5 and 2.0 × 3.6 − 0.5.
    double total = 0;
    for (const RoutedLoop& l : layout.loops)
        total += l.heatedArea;
    QVERIFY(std::abs(total - 14.12) < 1e-9);
    if (divided) {
        QVERIFY(std::abs(layout.loops[0].heatedArea - 7.42) < 1e-9);
        QVERIFY(std::abs(layout.loops[1].heatedArea - 6.7) < 1e-9);
        QVERIFY(closestApproach(heatedPipes(layout), 200) >= 199);
        QVERIFY(layout.violations.empty());
    }
    for (const Sample& s : samples(heatedPipes(layout), 10)) {
        QVERIFY(!contains(island, s.p));
        QVERIFY(distanceToEdges(island, s.p) >= 99);
    }
    QCOMPARE(crossings(heatedPipes(layout)), 0);
}

void LoopRoutingTest::largeRoomIsDividedIntoLoops() {
    // 108 m² at 200 mm is 540 m of pipe: at 120 m a loop, with 6 m of
    // leaders each, at least ⌈540 / 114⌉ = 5 loops.
    const Plan plan = onePlan(rectangle({0, 0}, 12000, 9000), {1000, 0}, Pattern::Spiral, 200, 100);
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.status, RoomStatus::Routed);
    QVERIFY(layout.loops.size() >= 5);
    QCOMPARE(layout.dividers.size(), layout.loops.size() - 1);
    double total = 0;
    for (const RoutedLoop& l : layout.loops) {
        QVERIFY2(l.routedLength <= 120, qPrintable(QString::number(l.routedLength)));
        QVERIFY(l.withinLengthLimit);
        QVERIFY(std::abs(l.heatedLength - l.heatedArea / 0.2) <= 0.05 * l.heatedArea / 0.2);
        total += l.heatedArea;
    }
    QVERIFY(std::abs(total - 108) < 1e-6);
    QVERIFY(closestApproach(heatedPipes(layout), 200) >= 199);
    QCOMPARE(crossings(heatedPipes(layout)), 0);
}

void LoopRoutingTest::dividingLineAsTheUserLeftIt() {
    Plan plan = onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, Pattern::Spiral, 200, 100);
    plan.rooms.front().dividers = {{{1500, -10}, {1500, 3610}}};
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.loops.size(), std::size_t(2));
    QCOMPARE(layout.dividers.size(), std::size_t(1));
    // The door lies in the larger part: 2.7 × 3.6 first, then 1.5 × 3.6.
    QVERIFY(std::abs(layout.loops[0].heatedArea - 9.72) < 1e-9);
    QVERIFY(std::abs(layout.loops[1].heatedArea - 5.4) < 1e-9);
    QCOMPARE(layout.loops[0].label, std::string("R-1"));
    QCOMPARE(layout.loops[1].label, std::string("R-2"));
    // Either side of the line the pipes keep half the spacing from it.
    for (const Sample& s : samples(heatedPipes(layout), 10))
        QVERIFY(std::abs(s.p.x - 1500) >= 99);
    QVERIFY(closestApproach(heatedPipes(layout), 200) >= 199);
}

// A room the design serves with n loops gets n loop areas, their dividers
// moved from equal areas to where the spiral lays close to A/T (a strip of
// 6 × 2.33 m at 200 mm, equal areas, lays some 10 % less), and n stays n
// even when a loop comes out over the limit.
void LoopRoutingTest::designedLoopCountIsKept_data() {
    QTest::addColumn<double>("height");
    QTest::addColumn<std::size_t>("loops");
    QTest::addColumn<double>("maxLength");
    QTest::newRow("6 × 4.67 m, two loops") << 4667.0 << std::size_t(2) << 120.0;
    QTest::newRow("6 × 7.9 m, three loops") << 7900.0 << std::size_t(3) << 120.0;
    QTest::newRow("two loops over a 40 m limit") << 4667.0 << std::size_t(2) << 40.0;
}

void LoopRoutingTest::designedLoopCountIsKept() {
    QFETCH(double, height);
    QFETCH(std::size_t, loops);
    QFETCH(double, maxLength);
    Plan plan = onePlan(rectangle({0, 0}, 6000, height), {3000, 0}, Pattern::Spiral, 200, 100);
    plan.rooms.front().loopCount = loops;
    plan.rooms.front().settings.maxLoopLength = maxLength;
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.loops.size(), loops);
    double heated = 0;
    for (const RoutedLoop& l : layout.loops)
        heated += l.heatedLength;
    const double ideal = 6.0 * height / 1000 / 0.2;
    QVERIFY2(std::abs(heated - ideal) <= 0.05 * ideal,
             qPrintable(QStringLiteral("%1 m laid, A/T %2 m").arg(heated).arg(ideal)));
    QVERIFY(closestApproach(heatedPipes(layout), 200) >= 199);
    QCOMPARE(crossings(heatedPipes(layout)), 0);
}

void LoopRoutingTest::leaderPathAsTheUserDrewIt() {
    Plan plan = onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, Pattern::Spiral, 200, 100);
    plan.manifolds.front().position = {6100, -3000};
    // Down 1 m, right 4 m, down 2 m: a left and a right turn, so each pipe
    // of the pair gains at one corner what it loses at the other.
    plan.rooms.front().leaderPath = {{2100, 0}, {2100, -1000}, {6100, -1000}, {6100, -3000}};
    const RoomLayout layout = routeRoom(plan, 0);
    QCOMPARE(layout.leaderPath, plan.rooms.front().leaderPath);
    const RoutedLoop& loop = layout.loops.front();
    QVERIFY(std::abs(loop.supplyLeaderLength - 7.0) < 1e-9);
    QVERIFY(std::abs(loop.returnLeaderLength - 7.0) < 1e-9);
    // The supply leaves the manifold, the return comes back to it.
    QVERIFY(distance(loop.supplyLeader.front(), {6100, -3000}) <= 25 + 1e-9);
    QVERIFY(distance(loop.returnLeader.back(), {6100, -3000}) <= 25 + 1e-9);
    QVERIFY(distance(loop.supplyLeader.back(), {2100, 0}) <= 25 + 1e-9);
    // The pipe is one piece from the manifold back to it.
    const Polyline whole = wholePipe(loop);
    QVERIFY(std::abs(length(whole) / 1000 - loop.routedLength) < 1e-9);
}

void LoopRoutingTest::reroutingOneRoomGivesThePlansResult() {
    Plan plan = onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, Pattern::Spiral, 200, 100);
    Room second = plan.rooms.front();
    second.name = "B";
    second.outline = lShape(4800, 2400);
    for (Point& p : second.outline)
        p.x += 4200;
    second.doors = {{{5400, 0}, 900}};
    second.settings.pattern = Pattern::Serpentine;
    plan.rooms.push_back(second);
    const std::vector<RoomLayout> all = routePlan(plan);
    const RoomLayout one = routeRoom(plan, 1);
    QCOMPARE(all.size(), std::size_t(2));
    QCOMPARE(one.loops.size(), all[1].loops.size());
    for (std::size_t i = 0; i < one.loops.size(); ++i) {
        QCOMPARE(one.loops[i].heated, all[1].loops[i].heated);
        QCOMPARE(one.loops[i].routedLength, all[1].loops[i].routedLength);
    }
}

void LoopRoutingTest::badInputIsRefused_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<RoomStatus>("status");
    QTest::newRow("NaN corner") << 0 << RoomStatus::BadOutline;
    QTest::newRow("bow tie") << 1 << RoomStatus::BadOutline;
    QTest::newRow("spacing 0") << 2 << RoomStatus::BadSettings;
    QTest::newRow("spacing NaN") << 3 << RoomStatus::BadSettings;
    QTest::newRow("negative clearance") << 4 << RoomStatus::BadSettings;
    QTest::newRow("spacing below the pipe") << 5 << RoomStatus::BadSettings;
    QTest::newRow("10 mm in a 100 m hall") << 6 << RoomStatus::BadSettings;
    QTest::newRow("no such manifold") << 7 << RoomStatus::NoManifold;
    QTest::newRow("manifold at infinity") << 8 << RoomStatus::NoManifold;
    QTest::newRow("0.3 × 0.3 m cupboard") << 9 << RoomStatus::NothingToLay;
    QTest::newRow("no such room") << 10 << RoomStatus::BadOutline;
    QTest::newRow("divider through NaN is ignored") << 11 << RoomStatus::Routed;
    QTest::newRow("no door") << 12 << RoomStatus::Routed;
    QTest::newRow("zero peripheral spacing") << 13 << RoomStatus::BadSettings;
}

void LoopRoutingTest::badInputIsRefused() {
    QFETCH(int, fault);
    QFETCH(RoomStatus, status);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Plan plan = onePlan(rectangle({0, 0}, 4200, 3600), {2100, 0}, Pattern::Spiral, 200, 100);
    Room& room = plan.rooms.front();
    std::size_t index = 0;
    switch (fault) {
    case 0:
        room.outline[2].x = nan;
        break;
    case 1:
        room.outline = {{0, 0}, {4000, 4000}, {4000, 0}, {0, 4000}};
        break;
    case 2:
        room.settings.spacing = 0;
        break;
    case 3:
        room.settings.spacing = nan;
        break;
    case 4:
        room.settings.wallClearance = -50;
        break;
    case 5:
        room.settings.spacing = 15;
        break;
    case 6:
        room.outline = rectangle({0, 0}, 100000, 60000);
        room.settings.spacing = 20;
        room.settings.pipeDiameter = 16;
        break;
    case 7:
        room.manifold = 3;
        break;
    case 8:
        plan.manifolds.front().position.y = std::numeric_limits<double>::infinity();
        break;
    case 9:
        room.outline = rectangle({0, 0}, 300, 300);
        room.doors.front().position = {150, 0};
        break;
    case 10:
        index = 5;
        break;
    case 11:
        room.dividers = {{{nan, 0}, {1000, 1000}}};
        break;
    case 12:
        room.doors.clear();
        break;
    case 13:
        room.settings.peripheralWidth = 800;
        room.settings.peripheralSpacing = 0;
        break;
    }
    const RoomLayout layout = routeRoom(plan, index);
    QCOMPARE(layout.status, status);
    if (status == RoomStatus::Routed) {
        QCOMPARE(layout.loops.size(), std::size_t(1));
        QVERIFY(std::isfinite(layout.loops.front().routedLength));
        if (fault == 12)
            QVERIFY(!layout.notes.empty());
    } else {
        QVERIFY(layout.loops.empty());
        QVERIFY(!layout.reason.empty());
    }
}

QTEST_APPLESS_MAIN(LoopRoutingTest)
#include "tst_looprouting.moc"
