// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A room as the loop design sees it, the manifold's conditions, and the two
// methods the design is given as parameters: the floor's heat output for a
// spacing (EN 1264-2 where it applies) and a loop's pressure drop
// (docs/heat-load.md §6).

#include "core/engine/designcheck.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorva::rooms {

// What is below the heated floor, for the downward loss (system design §2).
enum class SpaceBelow { HeatedRoom, UnheatedOrGround, Outdoors };

// Where the room's heat load comes from; the load itself is Room::heatLoad.
enum class LoadSource { Typed, Gb50736, En12831 };

// A strip along the outer walls laid closer, with its own surface limit.
struct PeripheralZone {
    double width = 0;   // m, at most 1 m by EN 1264
    double length = 0;  // m, along the outer walls
    double spacing = 0; // m
};

// The user's choices that replace the design's; kept and marked.
struct RoomOverrides {
    std::optional<double> spacing = std::nullopt; // m
    std::optional<int> loopCount = std::nullopt;
    // A measured length per loop, m, by loop index; missing or empty entries
    // keep the computed length.
    std::vector<std::optional<double>> loopLengths;
};

struct Room {
    std::string name;
    RoomCategory category = RoomCategory::LongStay;
    double indoorTemp = 18;           // ℃
    double floorArea = 0;             // m²
    double heatedArea = 0;            // m², free of fixed furniture
    double coveringResistance = 0.10; // R_λ,B, m²·K/W
    SpaceBelow below = SpaceBelow::HeatedRoom;
    double belowTemp = 18;   // ℃
    double leaderLength = 0; // one way, the room's door to the manifold, m
    std::optional<PeripheralZone> peripheral = std::nullopt;
    double heatLoad = 0; // W, the load the loops must give
    LoadSource loadSource = LoadSource::Typed;
    RoomOverrides overrides;
};

// The floor's output at one spacing, W/m² of heated floor, at the
// manifold's supply temperature: what it gives there, what its surface
// limit allows, and whether the method applies to the combination.
struct FloorQuery {
    const Room* room = nullptr;
    double spacing = 0;      // m
    bool peripheral = false; // the peripheral zone (its own limit)
    double supplyTemp = 0;   // ℃
};
struct FloorOutput {
    double heatFlux = 0;  // q, W/m²
    double limitFlux = 0; // q_G, W/m²
    bool valid = false;
};
using ThermalMethod = std::function<FloorOutput(const FloorQuery&)>;

// A loop's pressure drop for its length and the heat it carries.
struct LoopQuery {
    const Room* room = nullptr;
    double length = 0;  // m
    double heat = 0;    // W
    double spacing = 0; // m
};
struct PressureOutput {
    double pressureDrop = 0; // kPa
    bool valid = false;
};
using PressureMethod = std::function<PressureOutput(const LoopQuery&)>;

struct DesignConditions {
    double supplyTemp = 45; // ℃, the manifold's
    // The allowed spacings, m: 100 … 300 mm in 50 mm steps unless the user
    // gives others.
    std::vector<double> spacings{0.10, 0.15, 0.20, 0.25, 0.30};
    double maxLoopLength = 120;  // m, JGJ 142 §3.5
    double maxPressureDrop = 30; // kPa, the program's guidance
};

} // namespace zorva::rooms
