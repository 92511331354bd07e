// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the EN 1264-3 design of one manifold reads: the rooms it serves (each
// with its load, heated area, floor and what lies below), the loops (each in
// one room, with its leaders), and the design settings
// (docs/en1264-design.md, "Inputs"). Plain values a project model can hold.

#include "core/en1264/below.h"
#include "core/en1264/floor.h"
#include "core/engine/designcheck.h"
#include "core/hydraulics/pipeflow.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zorva::en1264 {

enum class DesignMode {
    // EN 1264-3: the neediest room sets the supply temperature at the design
    // drop σ_des; every other room gets its own σ.
    DesignRoom,
    // 固定供回水温度: one supply/return pair for every loop, the spacing of
    // each room chosen from the candidates (JGJ 142 practice).
    FixedPair,
};

struct DesignSettings {
    DesignMode mode = DesignMode::DesignRoom;
    double designDrop = 5;  // σ_des, K (above 5 K a warning)
    double minimumDrop = 2; // σ_min, K, for rooms the supply cannot cover
    // FixedPair only: the pair (℃) and the candidate spacings (m).
    double supplyTemp = 45;
    double returnTemp = 35;
    std::vector<double> candidateSpacings{0.10, 0.15, 0.20, 0.25, 0.30};
    // Loop hydraulics.
    hydraulics::FrictionLaw friction = hydraulics::FrictionLaw::Blasius;
    double roughness = 0.007e-3;                         // ε, m, for Colebrook and Swamee–Jain
    double connectionLoss = hydraulics::kConnectionLoss; // ζ_conn per loop
    double bendLoss = hydraulics::kBendLoss;             // ζ_90 per bend
    // Credit the leader heat to a crossed room that has its own loops: the
    // design is made once, that heat taken off the room's load, and made a
    // second time (two passes, no further iteration).
    bool creditLeaderHeat = false;
};

struct DesignRoom {
    std::string name;     // UTF-8
    double roomTemp = 20; // θ_i, ℃
    double heatLoad = 0;  // Q_N, W
    double otherHeat = 0; // Q_out,plan: planned from other emitters, W
    double area = 0;      // A_F, heated floor area covered by pipes, m²
    RoomCategory category = RoomCategory::Residential; // bathrooms never set the supply
    std::optional<double> surfaceLimit;                // θ_F,max, ℃; empty: by the category
    std::optional<double> meanFloorLimit; // JGJ 142 mean limit, ℃; empty: floorTempLimit(category)
    Floor floor;
    Below below;
};

struct DesignLoop {
    std::string name;        // UTF-8
    std::size_t room = 0;    // index into the rooms; the room's area is shared equally by its loops
    double leaderLength = 0; // l_A, one way, manifold to the heated area, m
    double bends = 2;        // n_90
    std::optional<double> measuredLength; // L, m; empty: A/T + 2·l_A
    // The leader pair crosses another room over this length (m).
    std::optional<std::size_t> crossedRoom;
    double crossedLength = 0;
};

struct ManifoldDesignInput {
    DesignSettings settings;
    std::vector<DesignRoom> rooms;
    std::vector<DesignLoop> loops;
};

} // namespace zorva::en1264
