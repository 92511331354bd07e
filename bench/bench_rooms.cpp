// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_rooms.h"

#include "core/heatload/gb50736.h"
#include "core/rooms/roomdesign.h"
#include "core/rooms/standardmethods.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace zorva;

namespace {

struct BenchRoom {
    heatload::RoomEnvelope envelope;
    rooms::Room room;
};

// Rooms of 8 … 40 m² with one or two outer walls, windows, a door to the
// outside in every tenth and a roof in every fifth, in turn on every side.
std::vector<BenchRoom> makeRooms(int count) {
    using namespace heatload;
    constexpr Orientation sides[] = {Orientation::N, Orientation::E,  Orientation::S,
                                     Orientation::W, Orientation::NE, Orientation::SW};
    std::vector<BenchRoom> rooms;
    for (int i = 0; i < count; ++i) {
        const double width = 3 + (i % 7) * 0.5;
        const double depth = 2.6 + (i % 11) * 0.4;
        BenchRoom b;
        RoomEnvelope& e = b.envelope;
        e.name = "房间" + std::to_string(i + 1);
        e.indoorTemp = i % 9 == 0 ? 25 : 18;
        e.floorArea = width * depth;
        e.height = 2.8;
        const Orientation side = sides[i % 6];
        EnvelopeElement window{.name = "外窗", .kind = ElementKind::Window, .area = 2.25, .u = 2.0};
        window.orientation = side;
        EnvelopeElement wall{.name = "外墙", .area = width * 2.8 - 2.25, .u = 0.45};
        wall.orientation = side;
        e.elements = {wall, window};
        if (i % 3 == 0) {
            EnvelopeElement second{.name = "外墙2", .area = depth * 2.8, .u = 0.45};
            second.orientation = sides[(i + 1) % 6];
            e.elements.push_back(second);
        }
        if (i % 10 == 0) {
            EnvelopeElement door{.name = "外门", .kind = ElementKind::Door, .area = 2.1, .u = 2.5};
            door.orientation = side;
            door.entrance = DoorEntrance::OneDoor;
            e.elements.push_back(door);
        }
        if (i % 5 == 0)
            e.elements.push_back(
                {.name = "屋顶", .kind = ElementKind::Roof, .area = e.floorArea, .u = 0.35});
        EnvelopeElement floor{
            .name = "地面", .kind = ElementKind::Floor, .area = e.floorArea, .u = 0.5};
        floor.heatedFloor = true;
        e.elements.push_back(floor);

        rooms::Room& r = b.room;
        r.name = e.name;
        r.indoorTemp = e.indoorTemp;
        r.floorArea = e.floorArea;
        r.heatedArea = e.floorArea * 0.85;
        r.leaderLength = 2 + (i % 13);
        rooms.push_back(std::move(b));
    }
    return rooms;
}

} // namespace

void runRoomsBench() {
    const std::vector<BenchRoom> project = makeRooms(1000);
    heatload::Gb50736Options options;
    options.outdoorTemp = -7.6;
    options.winterSunshine = 64;
    options.storeys = 6;
    // The floor of EN 1264-2 example (a) and 20 × 2 mm loops at 40 ℃, σ 5 K.
    rooms::DesignConditions conditions;
    conditions.supplyTemp = 40;
    const rooms::ThermalMethod floor = rooms::en1264Floor(en1264::Floor{}, 5);
    const rooms::PressureMethod loopDrop =
        rooms::loopPressureDrop({0.016, 2}, conditions.supplyTemp, 5);

    double best = 1e300;
    volatile double sink = 0;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        double supplementary = 0;
        for (const BenchRoom& b : project) {
            const heatload::HeatLoadResult load = heatload::computeGb50736(b.envelope, options);
            rooms::Room room = b.room;
            room.heatLoad = load.loadForLoops;
            room.loadSource = rooms::LoadSource::Gb50736;
            const rooms::RoomDesign d = rooms::designRoom(room, conditions, floor, loopDrop);
            supplementary += d.supplementaryHeat + double(d.loops.size());
        }
        sink = supplementary;
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
    }
    (void)sink;
    std::printf("rooms %.1f ms (1000 rooms)\n", best);
}
