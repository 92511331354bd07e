// SPDX-License-Identifier: GPL-3.0-or-later
// The loop layout in the project pipeline: rooms with an outline are laid
// at their design's spacing, the routed lengths replace the estimates and
// the pressure drops follow; rooms without one, or that cannot be laid,
// keep the estimate (docs/project.md, "The floor plan").

#include "core/project/compute.h"
#include "core/project/planedits.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

using namespace zorva;
using namespace zorva::project;

Q_DECLARE_METATYPE(zorva::project::PlanState)

namespace {

using Points = std::vector<PlanPoint>;

Points rect(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// One room of typed load on one manifold at (0, -1) m, the door in the
// middle of the outline's first edge.
Project oneRoom(const Points& outline, double area, double spacing, double load = 1200) {
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.manifolds[0].plan.position = PlanPoint{0, -1};
    Room r;
    r.name = "房间";
    r.category = RoomCategory::Residential;
    r.floorArea = r.heatedArea = area;
    r.typedLoad = load;
    r.leaderLength = 2;
    r.overrides.spacing = spacing;
    r.plan.outline = outline;
    if (!outline.empty())
        r.plan.doors.push_back({(outline[0] + outline[1]) * 0.5, 0.9});
    p.rooms.push_back(r);
    return p;
}

} // namespace

class ProjectPlanTest : public QObject {
    Q_OBJECT

private slots:
    void routedLengthNearAreaOverSpacing_data();
    void routedLengthNearAreaOverSpacing();
    void pressureDropFollowsRoutedLength();
    void estimateKept_data();
    void estimateKept();
    void parallelGivesTheSameBits();
    void drawnOutlineGivesTheAreas_data();
    void drawnOutlineGivesTheAreas();
    void movedDividerChangesLoopAreas_data();
    void movedDividerChangesLoopAreas();
    void untouchedRoomsKeepTheirLayout_data();
    void untouchedRoomsKeepTheirLayout();
};

// Heated area and perimeter by hand from the outline; the routed length
// within 5 % of A'/T plus the leader pipe outside the heated area, where
// A' = A − P·d + 4·d² is the part the rings can lay for a right-angled
// outline: the outermost ring keeps the clearance c from the walls,
// d = c − T/2 more than the share A/T gives it (d > 0).
void ProjectPlanTest::routedLengthNearAreaOverSpacing_data() {
    QTest::addColumn<Points>("outline");
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("perimeter");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<int>("loops");
    QTest::newRow("4.2 × 3.6 at 0.15") << rect(0, 0, 4.2, 3.6) << 15.12 << 15.6 << 0.15 << 1;
    QTest::newRow("3.6 × 3.0 at 0.25") << rect(-1.8, 0, 1.8, 3.0) << 10.8 << 13.2 << 0.25 << 1;
    QTest::newRow("3.0 × 2.4 at 0.20") << rect(-1.5, 0, 1.5, 2.4) << 7.2 << 10.8 << 0.20 << 1;
    QTest::newRow("6.0 × 5.0 at 0.20, two loops") << rect(-3, 0, 3, 5) << 30.0 << 22.0 << 0.20 << 2;
    QTest::newRow("L of 16.2 m² at 0.15")
        << Points{{-2.1, 0}, {2.1, 0}, {2.1, 3.0}, {0.3, 3.0}, {0.3, 4.5}, {-2.1, 4.5}} << 16.2
        << 17.4 << 0.15 << 1;
    QTest::newRow("L of 32.4 m² at 0.20, two loops")
        << Points{{-3, 0}, {3, 0}, {3, 4.5}, {-0.6, 4.5}, {-0.6, 6.75}, {-3, 6.75}} << 32.4 << 25.5
        << 0.20 << 2;
}

void ProjectPlanTest::routedLengthNearAreaOverSpacing() {
    QFETCH(Points, outline);
    QFETCH(double, area);
    QFETCH(double, perimeter);
    QFETCH(double, spacing);
    QFETCH(int, loops);
    const Project p = oneRoom(outline, area, spacing);
    const ProjectResult r = computeProject(p);
    const RoomResult& room = r.rooms[0];
    QVERIFY(room.designed());
    QCOMPARE(int(room.design.loops.size()), loops);
    QCOMPARE(room.plan.state, PlanState::Routed);
    QVERIFY(room.plan.lengthsUsed);
    const layout::RoomLayout& laid = *room.plan.layout;
    QCOMPARE(int(laid.loops.size()), loops);
    double routed = 0, leaders = 0;
    for (std::size_t n = 0; n < laid.loops.size(); ++n) {
        const layout::RoutedLoop& l = laid.loops[n];
        routed += l.routedLength;
        // Leader pipe: to the door and on from it to the heated pipe.
        leaders += (layout::length(l.supplyLeader) + layout::length(l.returnLeader) +
                    layout::length(l.supplyConnection) + layout::length(l.returnConnection)) /
                   1000;
        // The loop tables carry the routed length.
        const ProjectLoop& loop = r.manifolds[0].loops[room.loops[n]];
        QCOMPARE(loop.input.lengthM, l.routedLength);
        QCOMPARE(loop.figures.length, l.routedLength);
        QCOMPARE(routedLength(r, loop), std::optional<double>(l.routedLength));
        QCOMPARE(room.plan.estimates[n], area / spacing / loops + 2 * 2.0);
    }
    const double d = std::max(0.0, 0.1 - spacing / 2);
    const double expected = (area - perimeter * d + 4 * d * d) / spacing + leaders;
    QVERIFY2(
        std::fabs(routed - expected) <= 0.05 * expected,
        qPrintable(QStringLiteral("routed %1 m, A/T + leaders %2 m").arg(routed).arg(expected)));
}

// The same loop with the routed length typed as the measured one gives the
// same pressure drop to the bit: the routed length is what the drop uses.
void ProjectPlanTest::pressureDropFollowsRoutedLength() {
    const Project laid = oneRoom(rect(0, 0, 4.2, 3.6), 15.12, 0.15);
    const ProjectResult a = computeProject(laid);
    const ProjectLoop& routed = a.manifolds[0].loops.at(0);
    QVERIFY(routedLength(a, routed));

    Project typed = laid;
    typed.rooms[0].plan = {};
    typed.rooms[0].overrides.loopLengths = {*routedLength(a, routed)};
    const ProjectResult b = computeProject(typed);
    const ProjectLoop& measured = b.manifolds[0].loops.at(0);
    QVERIFY(!routedLength(b, measured));
    QVERIFY(routed.computed && measured.computed);
    QCOMPARE(routed.figures.pressureDrop, measured.figures.pressureDrop);
    QCOMPARE(a.manifolds[0].totals.maxPressureDrop, b.manifolds[0].totals.maxPressureDrop);
    // And not the estimate's.
    const ProjectResult c = computeProject(oneRoom({}, 15.12, 0.15));
    QVERIFY(c.manifolds[0].loops.at(0).figures.pressureDrop != routed.figures.pressureDrop);
}

void ProjectPlanTest::estimateKept_data() {
    QTest::addColumn<Project>("project");
    QTest::addColumn<PlanState>("state");
    const double area = 15.12;
    Project none = oneRoom({}, area, 0.15);
    QTest::newRow("no outline") << none << PlanState::NoOutline;
    Project unplaced = oneRoom(rect(0, 0, 4.2, 3.6), area, 0.15);
    unplaced.manifolds[0].plan.position.reset();
    QTest::newRow("manifold not placed") << unplaced << PlanState::NotPlaced;
    Project bowTie = oneRoom({{0, 0}, {4.2, 3.6}, {4.2, 0}, {0, 3.6}}, area, 0.15);
    QTest::newRow("self-crossing outline") << bowTie << PlanState::NotRouted;
    Project unloaded = oneRoom(rect(0, 0, 4.2, 3.6), area, 0.15);
    unloaded.rooms[0].typedLoad.reset();
    QTest::newRow("room without load") << unloaded << PlanState::NotDesigned;
}

void ProjectPlanTest::estimateKept() {
    QFETCH(Project, project);
    QFETCH(PlanState, state);
    const ProjectResult r = computeProject(project);
    const RoomResult& room = r.rooms[0];
    QCOMPARE(room.plan.state, state);
    QVERIFY(!room.plan.lengthsUsed);
    QCOMPARE(room.plan.note.empty(), state == PlanState::NoOutline);
    if (!room.designed())
        return;
    const ProjectLoop& loop = r.manifolds[0].loops.at(0);
    QVERIFY(!routedLength(r, loop));
    QCOMPARE(loop.input.lengthM, 15.12 / 0.15 + 2 * 2.0);
}

void ProjectPlanTest::parallelGivesTheSameBits() {
    Project p = oneRoom(rect(0, 0, 4.2, 3.6), 15.12, 0.15);
    Room second = p.rooms[0];
    second.name = "二";
    second.plan.outline = rect(4.2, 0, 9.2, 4);
    second.plan.doors = {{{6.7, 0}, 0.9}};
    second.floorArea = second.heatedArea = 20;
    second.overrides.spacing = 0.1;
    p.rooms.push_back(second);
    const ProjectResult one = computeProject(p);
    ComputeOptions options;
    options.parallel = [](std::size_t count, const std::function<void(std::size_t)>& job) {
        std::vector<std::thread> threads;
        for (std::size_t i = count; i-- > 0;)
            threads.emplace_back(job, i);
        for (std::thread& t : threads)
            t.join();
    };
    const ProjectResult many = computeProject(p, options);
    QCOMPARE(many.manifolds[0].loops.size(), one.manifolds[0].loops.size());
    QVERIFY(one.manifolds[0].loops.size() >= 3);
    for (std::size_t i = 0; i < one.manifolds[0].loops.size(); ++i) {
        QVERIFY(routedLength(one, one.manifolds[0].loops[i]));
        QCOMPARE(many.manifolds[0].loops[i].figures.length,
                 one.manifolds[0].loops[i].figures.length);
        QCOMPARE(many.manifolds[0].loops[i].figures.pressureDrop,
                 one.manifolds[0].loops[i].figures.pressureDrop);
    }
}

// A rectangle typed as width × depth at a corner: the room's floor area
// and perimeter are the rectangle's by hand, the heated area follows unless
// the user gave a smaller one that still fits, and the room is laid.
void ProjectPlanTest::drawnOutlineGivesTheAreas_data() {
    QTest::addColumn<PlanPoint>("corner");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("depth");
    QTest::addColumn<double>("heatedBefore"); // floor area before: 20 m²
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("perimeter");
    QTest::addColumn<double>("heated");
    QTest::newRow("4.2 × 3.6 at the origin")
        << PlanPoint{0, 0} << 4.2 << 3.6 << 20.0 << 15.12 << 15.6 << 15.12;
    QTest::newRow("4.2 × 3.6 at (1.3, 0.7)")
        << PlanPoint{1.3, 0.7} << 4.2 << 3.6 << 20.0 << 15.12 << 15.6 << 15.12;
    QTest::newRow("drawn leftwards and down")
        << PlanPoint{0, 0} << -4.2 << -3.6 << 20.0 << 15.12 << 15.6 << 15.12;
    QTest::newRow("own heated area kept")
        << PlanPoint{0, 0} << 4.2 << 3.6 << 12.5 << 15.12 << 15.6 << 12.5;
    QTest::newRow("own heated area larger than the room")
        << PlanPoint{0, 0} << 3.0 << 2.4 << 12.5 << 7.2 << 10.8 << 7.2;
}

void ProjectPlanTest::drawnOutlineGivesTheAreas() {
    QFETCH(PlanPoint, corner);
    QFETCH(double, width);
    QFETCH(double, depth);
    QFETCH(double, heatedBefore);
    QFETCH(double, area);
    QFETCH(double, perimeter);
    QFETCH(double, heated);
    Project p = oneRoom({}, 20, 0.15);
    Room& room = p.rooms[0];
    room.heatedArea = heatedBefore;
    const Points outline = planRectangle(corner, width, depth);
    setRoomOutline(room, outline);
    QCOMPARE(room.floorArea, area);
    QCOMPARE(room.heatedArea, heated);
    QCOMPARE(room.materials.perimeter, std::optional<double>(perimeter));
    QCOMPARE(planPerimeter(room.plan.outline), perimeter);
    QCOMPARE(room.plan.outline.size(), std::size_t(4));
    room.plan.doors.push_back({(room.plan.outline[0] + room.plan.outline[1]) * 0.5, 0.9});
    p.manifolds[0].plan.position = PlanPoint{corner.x, corner.y - 1};
    const ProjectResult r = computeProject(p);
    QCOMPARE(r.rooms[0].plan.state, PlanState::Routed);
    QVERIFY(r.rooms[0].plan.lengthsUsed);
    // Taken off the plan, the room keeps its areas and its estimate.
    setRoomOutline(room, {});
    QVERIFY(room.plan.empty());
    QCOMPARE(room.floorArea, area);
    QCOMPARE(computeProject(p).rooms[0].plan.state, PlanState::NoOutline);
}

// A 6 × 5 m room of two loops divided by the user's line x = c instead of
// the equal halves: the loop areas are (c + 3)·5 and (3 − c)·5 m² less the
// 1 mm nothing takes, and each loop stays within the length limit.
void ProjectPlanTest::movedDividerChangesLoopAreas_data() {
    QTest::addColumn<double>("c");
    QTest::newRow("middle") << 0.0;
    QTest::newRow("0.6 m right") << 0.6;
    QTest::newRow("0.9 m left") << -0.9;
}

void ProjectPlanTest::movedDividerChangesLoopAreas() {
    QFETCH(double, c);
    Project p = oneRoom(rect(-3, 0, 3, 5), 30, 0.20);
    p.rooms[0].plan.dividers = {{{c, -1}, {c, 6}}};
    const ProjectResult r = computeProject(p);
    const RoomResult& room = r.rooms[0];
    QCOMPARE(room.design.loops.size(), std::size_t(2));
    QCOMPARE(room.plan.state, PlanState::Routed);
    const layout::RoomLayout& laid = *room.plan.layout;
    QCOMPARE(laid.loops.size(), std::size_t(2));
    std::vector<double> areas{laid.loops[0].heatedArea, laid.loops[1].heatedArea};
    std::sort(areas.begin(), areas.end());
    const double left = (c + 3) * 5, right = (3 - c) * 5;
    QVERIFY2(std::fabs(areas[0] - std::min(left, right)) < 0.01,
             qPrintable(QString::number(areas[0])));
    QVERIFY2(std::fabs(areas[1] - std::max(left, right)) < 0.01,
             qPrintable(QString::number(areas[1])));
    for (const layout::RoutedLoop& loop : laid.loops) {
        QVERIFY(loop.withinLengthLimit);
        QVERIFY(loop.routedLength <= p.settings.conditions.maxLoopLength);
    }
    QCOMPARE(laid.dividers.size(), std::size_t(1));
    QCOMPARE(laid.dividers[0].a.x, c * 1000);
}

// Given the result before an edit, only the rooms the edit touched are laid
// again; the others keep the very layout, and every routed length is the
// bits a calculation from scratch gives.
void ProjectPlanTest::untouchedRoomsKeepTheirLayout_data() {
    QTest::addColumn<int>("edit");
    QTest::addColumn<bool>("firstKept");
    QTest::addColumn<bool>("secondKept");
    QTest::newRow("nothing") << 0 << true << true;
    QTest::newRow("second room's vertex moved") << 1 << true << false;
    QTest::newRow("first room's clearance") << 2 << false << true;
    QTest::newRow("manifold moved") << 3 << false << false;
    QTest::newRow("first room's typed load: another spacing") << 4 << false << true;
}

void ProjectPlanTest::untouchedRoomsKeepTheirLayout() {
    QFETCH(int, edit);
    QFETCH(bool, firstKept);
    QFETCH(bool, secondKept);
    Project p = oneRoom(rect(0, 0, 4.2, 3.6), 15.12, 0.15);
    p.rooms[0].overrides.spacing.reset();
    Room second = p.rooms[0];
    second.name = "二";
    setRoomOutline(second, rect(4.2, 0, 9.2, 4));
    second.plan.doors = {{{6.7, 0}, 0.9}};
    p.rooms.push_back(second);
    const auto before = std::make_shared<const ProjectResult>(computeProject(p));
    if (edit == 1)
        setRoomOutline(p.rooms[1], *movedVertex(p.rooms[1].plan.outline, 2, {9.6, 4}));
    else if (edit == 2)
        p.rooms[0].plan.wallClearance = 0.15;
    else if (edit == 3)
        p.manifolds[0].plan.position = PlanPoint{1, -1};
    else if (edit == 4)
        p.rooms[0].typedLoad = 400;
    ComputeOptions options;
    options.previous = before;
    const ProjectResult after = computeProject(p, options);
    const ProjectResult fresh = computeProject(p);
    const bool kept[] = {firstKept, secondKept};
    for (std::size_t i = 0; i < 2; ++i) {
        QVERIFY(after.rooms[i].plan.routed());
        QCOMPARE(after.rooms[i].plan.input == before->rooms[i].plan.input, kept[i]);
        const auto& laid = after.rooms[i].plan.layout->loops;
        const auto& scratch = fresh.rooms[i].plan.layout->loops;
        QCOMPARE(laid.size(), scratch.size());
        for (std::size_t n = 0; n < laid.size(); ++n)
            QCOMPARE(laid[n].routedLength, scratch[n].routedLength);
    }
    for (std::size_t n = 0; n < fresh.manifolds[0].loops.size(); ++n)
        QCOMPARE(after.manifolds[0].loops[n].figures.pressureDrop,
                 fresh.manifolds[0].loops[n].figures.pressureDrop);
}

QTEST_GUILESS_MAIN(ProjectPlanTest)
#include "tst_projectplan.moc"
