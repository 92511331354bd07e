// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two methods a room's loop design is given (rooms::designRoom), for the
// project's calculation method (docs/project.md, "Loops of a room"):
//  - EN 1264-2: the floor's q and min(q_G, q_G,max) at the laying
//    temperatures, and the loop's pressure drop by Darcy–Weisbach for the
//    EN 1264-3 flow with the downward loss;
//  - the program's method: one whole Calculate run of the loop the room
//    would get at that spacing, its output against the output the room
//    category's mean floor temperature allows, and the run's resistance.

#include "core/method/looprunner.h"
#include "core/project/project.h"
#include "core/rooms/roomdesign.h"

namespace zorva::project {

// The supply temperature and drop a room's loops are laid for: the
// manifold's supply and, in EN 1264-3's design-room mode, σ_des, otherwise
// the manifold's difference.
struct LayingTemps {
    double supply = 0; // ℃
    double drop = 0;   // K
};
LayingTemps layingTemps(method::Method method, const Settings& settings,
                        const ManifoldInput& manifold);

rooms::DesignConditions designConditions(const RoomConditions& conditions, double supplyTemp);

// The room as the loop design reads it, with the load its loops must give.
rooms::Room designRoomOf(const Room& room, double loadForLoops);

// What the methods of one room read; it must outlive them.
struct RoomMethodContext {
    method::Method method = method::Method::En1264;
    const Settings* settings = nullptr;
    const Room* room = nullptr;
    ManifoldInput construction; // the manifold's with the room's covering
    LayingTemps temps;
    double maxLoopLength = 120;
    method::LoopMethodRunner* runner = nullptr; // the program's runs
};

rooms::ThermalMethod thermalMethod(const RoomMethodContext& context);
rooms::PressureMethod pressureMethod(const RoomMethodContext& context);

} // namespace zorva::project
