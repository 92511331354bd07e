// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manifold of the worked examples of EN 1264-3 design: a living room
// with two loops, two bedrooms and a bathroom over heated rooms at 20 ℃, and
// a corridor without loops that three leader pairs cross.

#include "core/en1264/designinput.h"

namespace examples {

using namespace zorva;
using namespace zorva::en1264;

inline DesignRoom exampleRoom(const char* name, double roomTemp, double load, double area,
                              double spacing) {
    DesignRoom r;
    r.name = name;
    r.roomTemp = roomTemp;
    r.heatLoad = load;
    r.area = area;
    r.category = RoomCategory::Residential;
    r.floor = Floor{spacing, 0.020, 0.002, 0.35, 0.045, 1.2, 0.10};
    r.below = Below{BelowKind::HeatedRoom, 0.75, 0.08, 0.02, 20.0};
    return r;
}

inline DesignLoop exampleLoop(const char* name, std::size_t room, double leader, double bends,
                              std::optional<std::size_t> crossed = std::nullopt) {
    DesignLoop l;
    l.name = name;
    l.room = room;
    l.leaderLength = leader;
    l.bends = bends;
    l.crossedRoom = crossed;
    l.crossedLength = crossed ? leader : 0;
    return l;
}

inline constexpr std::size_t kLiving = 0, kBed1 = 1, kBed2 = 2, kBath = 3, kCorridor = 4;

inline ManifoldDesignInput exampleManifold() {
    ManifoldDesignInput in;
    in.rooms = {exampleRoom("客厅", 20, 2100, 30, 0.15), exampleRoom("主卧", 20, 960, 16, 0.20),
                exampleRoom("次卧", 18, 660, 12, 0.25), exampleRoom("卫生间", 24, 600, 5, 0.10),
                exampleRoom("走廊", 18, 300, 0, 0.15)};
    DesignRoom& bath = in.rooms[kBath];
    bath.category = RoomCategory::Bathroom;
    bath.floor.pipeDiameter = 0.016;
    bath.floor.coveringResistance = 0;
    in.loops = {exampleLoop("客厅-1", kLiving, 2, 2), exampleLoop("客厅-2", kLiving, 4, 2),
                exampleLoop("主卧", kBed1, 6, 2, kCorridor),
                exampleLoop("次卧", kBed2, 9, 2, kCorridor),
                exampleLoop("卫生间", kBath, 3, 4, kCorridor)};
    return in;
}

} // namespace examples
