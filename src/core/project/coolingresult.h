// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cooling results of a project (docs/project.md, "Cooling"): each loop
// of each manifold computed with the manifold's chilled water by
// EN 1264-5 / ISO 11855-2, each room's capacity against its sensible load
// with the dew point and the verdicts, and per manifold the sums and the
// flows of both seasons. Empty for a project designed for heating only.

#include "core/cooling/room.h"
#include "core/project/coolinginputs.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace zorva::project {

// Why a room has no cooling result.
enum class CoolingRoomProblem {
    None,
    NotLaid,   // the room has no loops (see the room's heating problem)
    NoNumbers, // its loops have no cooling numbers (cooling::RoomApplicability says why)
};

struct CoolingRoomResult {
    CoolingRoomProblem problem = CoolingRoomProblem::NotLaid;
    RoomCooling input;                   // as computed (with the dew margin of the settings)
    bool loadGiven = false;              // a sensible load was typed; else no L1
    cooling::RoomResult room;            // capacity, dew point limit, shortfall, L1
    std::optional<double> dewPoint;      // θ_d, ℃, when the room air is valid
    std::optional<double> minSupplyTemp; // θ_d + Δθ_s, ℃
    bool computed() const { return problem == CoolingRoomProblem::None; }
};

// Which season's flow is the larger and so sizes the pump and the valves.
enum class SizingSeason { Heating, Cooling };

struct CoolingManifoldResult {
    ManifoldCooling water; // as computed
    // One per loop of ManifoldResult::loops, in the same order. Manual loops
    // are computed at the default room state (26 ℃, 50 %).
    std::vector<cooling::LoopResult> loops;
    cooling::LoopSums sums;
    double heatingFlowKgh = 0;                   // the heating totals' flow
    std::optional<double> coolingFlowKgh;        // Σ G; empty when a loop has none
    SizingSeason sizing = SizingSeason::Heating; // the larger flow's season
    int failedLoops = 0;                         // loops with numbers where D1, D2, D3 or F1 fails
};

struct CoolingTotals {
    std::size_t rooms = 0;       // rooms with a cooling result
    std::size_t roomsNotMet = 0; // of those, with a load not met
    double sensibleLoad = 0;     // W, Σ Q_s of the rooms with one
    double output = 0;           // W, Σ Q_j of every loop with numbers
    double admissibleOutput = 0; // W, Σ Q_adm of the rooms with a result
    double shortfall = 0;        // W, Σ of the rooms' shortfalls
    double waterLoad = 0;        // W
    double flowKgh = 0;          // kg/h, Σ G of the loops that have one
};

struct CoolingResult {
    Season season = Season::Heating;
    bool computed = false; // the season includes cooling
    double dewMargin = cooling::kDefaultDewMargin;
    std::vector<CoolingRoomResult> rooms;         // one per project room
    std::vector<CoolingManifoldResult> manifolds; // one per manifold
    CoolingTotals totals;
};

} // namespace zorva::project
