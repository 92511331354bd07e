// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The EN 1264-3 design of one manifold of a project (docs/project.md,
// "EN 1264-3 design of a manifold"): en1264::designManifold on its manual
// loops (each its own room) and its rooms, in the fixed-pair mode once per
// spacing so that every room keeps the spacing its loop design chose, and
// the water of a room's peripheral zone added to the flow of its loops.

#include "core/en1264/designresult.h"

#include <cstddef>
#include <vector>

namespace zorva::project {

// A room's peripheral zone: its heat is the design room's planned heat from
// another emitter (Q_out,plan), and its water heat A·(q + q_u) at the room's
// σ is added to the room's loops.
struct StandardZone {
    std::size_t room = 0;        // index into the design's rooms
    double area = 0;             // m²
    double heat = 0;             // W the zone gives
    double upwardResistance = 0; // R_o of the zone's floor, m²·K/W
};

struct StandardManifold {
    en1264::ManifoldDesignInput input;
    std::vector<StandardZone> zones;
};

en1264::ManifoldDesign designStandardManifold(const StandardManifold& manifold);

} // namespace zorva::project
