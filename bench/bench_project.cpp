// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_project.h"

#include "core/project/compute.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

using namespace zorva;

constexpr int kRooms = 1000;

namespace {

constexpr int kRoomsPerManifold = 8;

} // namespace

// Rooms of 8 … 40 m² with one or two outer walls, a window, a roof in every
// fifth; eight to a manifold, whose supply runs from 40 to 50 ℃.
project::Project makeRoomsBenchProject() {
    using namespace heatload;
    constexpr Orientation sides[] = {Orientation::N, Orientation::E,  Orientation::S,
                                     Orientation::W, Orientation::NE, Orientation::SW};
    project::Project p = project::newProject();
    p.settings.heatLoad.climate.outdoorTemp = -7.6;
    p.settings.heatLoad.gb.storeys = 6;
    p.manifolds.clear();
    for (int i = 0; i < kRooms / kRoomsPerManifold; ++i) {
        project::Manifold m;
        m.name = "分集水器" + std::to_string(i + 1);
        m.input.supplyTemp = 40 + i % 11;
        m.input.thickness = {10, 20, 45, 2};
        m.input.conductivity = {0.1, 1.2, 1.2, 0.35};
        p.manifolds.push_back(m);
    }
    for (int i = 0; i < kRooms; ++i) {
        const double width = 3 + (i % 7) * 0.5;
        const double depth = 2.6 + (i % 11) * 0.4;
        project::Room r;
        r.name = "房间" + std::to_string(i + 1);
        r.indoorTemp = i % 9 == 0 ? 25 : 18;
        r.category = i % 9 == 0 ? RoomCategory::Bathroom : RoomCategory::LongStay;
        r.floorArea = width * depth;
        r.heatedArea = r.floorArea * 0.85;
        r.leaderLength = 2 + (i % 13);
        r.manifold = std::size_t(i / kRoomsPerManifold);
        RoomEnvelope e;
        e.height = 2.8;
        const Orientation side = sides[i % 6];
        EnvelopeElement window{.name = "外窗", .kind = ElementKind::Window, .area = 2.25, .u = 2.0};
        window.orientation = side;
        EnvelopeElement wall{.name = "外墙", .area = width * 2.8 - 2.25, .u = 0.8};
        wall.orientation = side;
        e.elements = {wall, window};
        if (i % 3 == 0) {
            EnvelopeElement second{.name = "外墙2", .area = depth * 2.8, .u = 0.8};
            second.orientation = sides[(i + 1) % 6];
            e.elements.push_back(second);
        }
        if (i % 5 == 0)
            e.elements.push_back(
                {.name = "屋顶", .kind = ElementKind::Roof, .area = r.floorArea, .u = 0.5});
        r.envelope = e;
        p.rooms.push_back(std::move(r));
    }
    return p;
}

void runProjectBench() {
    const project::Project p = makeRoomsBenchProject();
    double best = 1e300;
    volatile double sink = 0;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const project::ProjectResult r = project::computeProject(p);
        sink = r.totals.waterOutput + double(r.totals.computed);
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
    }
    (void)sink;
    std::printf("project %.1f ms (%d rooms, %zu manifolds)\n", best, kRooms, p.manifolds.size());
}
