// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A room's sensible cooling load against what its loops give and what they
// may give without breaking a limit: the capacity, the admissible capacity,
// whether the load is met, the shortfall and its reason, and the supply
// temperature that would carry the load (docs/cooling.md, "What a load
// needs"). Also the sums of a manifold's loops.

#include "core/cooling/loop.h"

#include <optional>
#include <span>

namespace zorva::cooling {

enum class RoomApplicability {
    Applicable,
    NoLoops,           // no loop, or no loop area
    LoopNotApplicable, // a loop has no cooling numbers
    MixedConditions,   // the loops differ in water or room conditions
    Load,              // Q_s negative or not a number
};

// Why a load is not met, in the order they are tried.
enum class Shortfall {
    None,
    SupplyTooWarm, // 供水温度偏高: colder, admissible water meets the load
    DewPoint,      // 露点限制: no admissible water meets it, the dew point binds
    FloorTemp,     // 地面温度下限: the floor's lower limit binds
    LowestWater,   // the lowest proposed supply binds
};

struct RoomResult {
    RoomApplicability applicability = RoomApplicability::NoLoops;
    double area = 0;            // A = Σ A_j, m²
    double roomOutput = 0;      // Q_room = Σ q_C·A_j at the design water, W
    double sensibleLoad = 0;    // Q_s, W
    double fluxNeeded = 0;      // q_need = Q_s/A, W/m²
    double underTempNeeded = 0; // Δθ_C,need = Q_s/Σ K_C·A_j, K
    double supplyForLoad = 0;   // θ_V,need at the design rise, ℃ (may be inadmissible)
    double minSupplyTemp = 0;   // θ_V,min = θ_d + Δθ_s, ℃

    // At the same rise, the most the floor gives at the dew point's lowest
    // supply, at the floor's lower limit, and the smaller of the two (W);
    // the water for it, by the loop with the highest K_C.
    double dewLimitedOutput = 0;
    double floorLimitedOutput = 0;
    double maxAdmissibleOutput = 0;
    AdmissibleWater admissible;

    bool admissibleDesign = false; // every loop passes D1, D2, D3 and F1
    // Q_adm: Q_room for an admissible design, else the most at the
    // admissible water.
    double admissibleOutput = 0;
    bool loadMet = false;
    double shortfall = 0; // Q_s − Q_adm when not met, W
    Shortfall reason = Shortfall::None;
    // The warmest supply that carries the load within every limit, or the
    // coldest admissible one where none does; never below θ_V,min. Empty
    // without a load or where no water cools the room admissibly.
    std::optional<double> proposedSupplyTemp;
    Check load; // L1

    bool applicable() const { return applicability == RoomApplicability::Applicable; }
};

// The room served by `loops`, all computed with the same water and room
// conditions, against its sensible cooling load `sensibleLoad` (W).
RoomResult coolingRoom(std::span<const LoopResult> loops, double sensibleLoad);

// The sums of a manifold's loops that have numbers.
struct LoopSums {
    int loops = 0;              // loops summed
    int notApplicable = 0;      // loops left out: no cooling numbers
    double area = 0;            // m²
    double output = 0;          // Σ Q_j, W
    double waterLoad = 0;       // Σ (q_C + q_u,C)·A_j, W
    std::optional<double> flow; // Σ G, kg/h; empty when a summed loop has none
    bool belowCounted = true;   // every summed loop counts the heat from below
};
LoopSums sumLoops(std::span<const LoopResult> loops);

} // namespace zorva::cooling
