// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_planedit.h"

#include "core/layout/routing.h"
#include "core/project/compute.h"
#include "core/project/plancompute.h"
#include "core/project/planedits.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace zorva;

void runPlanEditBench() {
    project::Project p = project::newProject();
    p.settings.heatLoad.method = project::LoadMethod::Typed;
    p.manifolds[0].plan.position = project::PlanPoint{3, -1};
    project::Room room;
    room.name = "客厅";
    room.typedLoad = 1800;
    room.overrides.spacing = 0.2;
    project::setRoomOutline(room, project::planRectangle({0, 0}, 6, 5));
    room.plan.doors.push_back({{3, 0}, 0.9});
    p.rooms.push_back(room);
    const project::ProjectResult before = project::computeProject(p);
    std::vector<project::RoomResult> rooms = before.rooms;
    double best = 1e300;
    std::size_t loops = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        // The upper right corner dragged 0.1 m further out and back.
        project::Room& edited = p.rooms[0];
        const project::PlanPoint corner{round % 2 == 0 ? 6.1 : 6.0, 5};
        project::setRoomOutline(edited, *project::movedVertex(edited.plan.outline, 2, corner));
        const layout::Plan plan = project::projectPlan(p, &rooms, nullptr);
        const layout::RoomLayout laid = layout::routeRoom(plan, 0);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        loops = laid.loops.size();
    }
    std::printf("layout edit %.0f ms (30 m² room, %zu loops)\n", best, loops);
}
