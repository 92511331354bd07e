// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_layout.h"

#include "core/layout/routing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace zorva::layout;

namespace {

using Clock = std::chrono::steady_clock;

Room room(const char* name, Point origin, double w, double d, std::size_t manifold) {
    Room r;
    r.name = name;
    r.outline = rectangle(origin, w, d);
    r.doors.push_back({{origin.x + 0.25 * w, origin.y}, 900});
    r.manifold = manifold;
    return r;
}

// 15 m × 10 m in two rows of rooms, the manifold below the front row.
Plan flat() {
    Plan plan;
    plan.manifolds.push_back({"M1", {7500, -600}});
    plan.rooms = {
        room("客厅", {0, 0}, 6000, 5000, 0),         room("主卧", {6000, 0}, 4500, 5000, 0),
        room("次卧", {10500, 0}, 4500, 5000, 0),     room("厨房", {0, 5000}, 3500, 5000, 0),
        room("卫生间", {3500, 5000}, 2500, 5000, 0), room("儿童房", {6000, 5000}, 4000, 5000, 0),
        room("书房", {10000, 5000}, 2500, 5000, 0),  room("餐厅", {12500, 5000}, 2500, 5000, 0)};
    plan.rooms[4].settings.spacing = 150;
    plan.rooms[7].settings.pattern = Pattern::Serpentine;
    return plan;
}

// 20 × 20 rooms of 5 m × 5 m, a manifold for each block of 2 × 4 rooms in
// the corridor line below the block.
Plan floor() {
    Plan plan;
    for (int by = 0; by < 10; ++by)
        for (int bx = 0; bx < 5; ++bx)
            plan.manifolds.push_back({"M", {bx * 20000.0 + 10000, by * 10000.0 - 300}});
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const std::size_t m = static_cast<std::size_t>((y / 2) * 5 + x / 4);
            Room r = room("R", {x * 5000.0, y * 5000.0}, 5000, 5000, m);
            if ((x + y) % 3 == 0)
                r.settings.pattern = Pattern::Serpentine;
            plan.rooms.push_back(std::move(r));
        }
    }
    return plan;
}

double pipeMetres(const std::vector<RoomLayout>& layouts) {
    double sum = 0;
    for (const RoomLayout& l : layouts)
        for (const RoutedLoop& loop : l.loops)
            sum += loop.routedLength;
    return sum;
}

template <typename Work> double bestMs(int rounds, Work work) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

} // namespace

void runLayoutBench() {
    const Plan small = flat();
    std::vector<RoomLayout> layouts;
    const double flatMs = bestMs(7, [&] { layouts = routePlan(small); });
    std::printf("layout %.0f ms (%zu rooms, %.0f m of pipe)\n", flatMs, small.rooms.size(),
                pipeMetres(layouts));

    const Plan large = floor();
    const double floorMs = bestMs(3, [&] { layouts = routePlan(large); });
    std::printf("layout %.0f ms (%zu rooms, %.0f m of pipe)\n", floorMs, large.rooms.size(),
                pipeMetres(layouts));

    // The 30 m² living room of the flat, its outline just moved.
    Plan edited = small;
    edited.rooms[0].outline[2].x += 10;
    RoomLayout one;
    const double rerouteMs = bestMs(7, [&] { one = routeRoom(edited, 0); });
    std::printf("layout reroute %.1f ms (1 rooms, %.0f m of pipe)\n", rerouteMs, pipeMetres({one}));
}
