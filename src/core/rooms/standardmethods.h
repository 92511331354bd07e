// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two methods of the loop design as the program computes them
// elsewhere, ready to pass to designRoom() (docs/heat-load.md §6):
//  - the floor by EN 1264-2 type A (core/en1264/floor.h): q and the limit
//    flux min(q_G, q_G,max) at a spacing, the room's covering and its
//    surface limit (35 ℃ in the peripheral zone), supply θ_V and return
//    θ_V − σ;
//  - the loop's pressure drop by Darcy–Weisbach with the local losses of the
//    connections and bends (core/hydraulics/pipeflow.h), the flow
//    ṁ = Q/(c_W·σ) at the mean water temperature θ_V − σ/2.

#include "core/en1264/floor.h"
#include "core/rooms/room.h"

namespace zorva::rooms {

// `floor` gives the pipe and screed; the spacing and covering come from the
// query and its room. σ in K.
ThermalMethod en1264Floor(const en1264::Floor& floor, double temperatureDrop);

struct LoopPipe {
    double innerDiameter = 0.016; // d_i, m
    double bends = 2;             // 90° bends per loop
};

// Pressure drop in kPa at the manifold's supply temperature θ_V (℃) and the
// loop's temperature drop σ (K).
PressureMethod loopPressureDrop(const LoopPipe& pipe, double supplyTemp, double temperatureDrop);

} // namespace zorva::rooms
