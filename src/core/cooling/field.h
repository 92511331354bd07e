// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cooling characteristic field of a design as plain data for a curve
// window: the cooling output q_C = K_C·Δθ_C against the water's
// under-temperature, a straight line through the origin for each pipe
// spacing (at the design's covering) and each covering (at the design's
// spacing), the dew-point limit as a vertical line, the floor limit as a
// horizontal one, the admissible end of every line and the design point
// (docs/cooling.md, "Characteristic field").

#include "core/cooling/loop.h"

#include <array>
#include <optional>
#include <vector>

namespace zorva::cooling {

// The covering family's resistances R_λ,B, m²·K/W: the columns of the
// EN 1264-2 tables. The spacing family is the heating curves' one.
inline constexpr std::array<double, 4> kFamilyCoverings{0, 0.05, 0.10, 0.15};

struct FieldLine {
    double spacing = 0;            // T, m
    double coveringResistance = 0; // R_λ,B, m²·K/W
    bool current = false;          // the design's own construction
    Characteristic characteristic; // no line where it is not applicable
    // The end of the admissible part (left of the dew-point limit, below
    // the floor limit) and the end at the axis: Δθ_C in K, q_C in W/m².
    double admissibleUnderTemp = 0;
    double admissibleOutput = 0;
    double axisUnderTemp = 0;
    double axisOutput = 0;

    bool hasLine() const { return characteristic.applicable(); }
};

struct CoolingField {
    bool valid = false;  // false: the room's air or limits give no field
    double roomTemp = 0; // θ_i, ℃
    double rise = 0;     // σ of the design water, K
    // The axis runs from Δθ_C = 0 (water at the room temperature) to the
    // water at the lowest proposed supply, 5 ℃.
    double axisUnderTemp = 0;
    double dewPoint = 0;      // θ_d, ℃
    double minSupplyTemp = 0; // θ_d + Δθ_s, ℃
    // Vertical limit: Δθ_C with the supply at θ_d + Δθ_s; empty when such
    // water no longer cools (its return not below the room).
    std::optional<double> dewLimitUnderTemp;
    // Horizontal limit: q_F,lim = 7·(θ_i − max(θ_F,min, θ_d + Δθ_s)).
    double floorLimitedOutput = 0;
    std::vector<FieldLine> spacing;  // kFamilySpacings, then the design's if extra
    std::vector<FieldLine> covering; // kFamilyCoverings, then the design's if extra
    // The design water on the design's line; empty when the loop has no
    // numbers.
    std::optional<double> designUnderTemp;
    std::optional<double> designOutput;
};

// The field for the construction, water and room of `design` (its length
// is not read).
CoolingField coolingField(const LoopInputs& design);

} // namespace zorva::cooling
