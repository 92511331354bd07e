// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What lies under a heated floor: the layers from the pipe plane down, the
// kind of space and its temperature; the downward resistance R_u, the
// downward loss q_u and EN 1264-4's minimum insulation
// (docs/en1264-design.md, "Downward loss and insulation").

#include <optional>

namespace zorva::en1264 {

enum class BelowKind {
    HeatedRoom,   // a heated room under a ceiling
    UnheatedRoom, // an unheated or intermittently heated room under a ceiling
    Ground,       // directly on the ground
    OutdoorAir,   // outdoor air, at the design outdoor temperature
};

// Resistances in m²·K/W, temperatures in ℃.
struct Below {
    BelowKind kind = BelowKind::HeatedRoom;
    double insulation = 0.75; // R_λ,ins, the insulation layer alone
    double slab = 0;          // R_λ,slab
    double plaster = 0;       // R_λ,plaster
    // θ_u. Empty for a heated room: the room's own temperature. For outdoor
    // air this is the design outdoor temperature θ_e, which also picks the
    // insulation minimum. The other kinds need it.
    std::optional<double> temp;
};

// R_α at the underside: 0.17 under a ceiling, 0.04 over outdoor air, 0 on
// the ground.
double undersideResistance(BelowKind kind);

// R_u = R_λ,ins + R_λ,slab + R_λ,plaster + R_α.
double downwardResistance(const Below& below);

// θ_u for a room at `roomTemp`; empty when it is needed and not given.
std::optional<double> belowTemp(const Below& below, double roomTemp);

// q_u = (R_o·q + θ_i − θ_u)/R_u, W/m² (EN 1264-2 downward loss).
double downwardLoss(double upwardResistance, double heatFlux, double roomTemp, double belowTemp,
                    double downwardResistance);

// EN 1264-4's minimum thermal resistance of the insulation under the pipes:
// 0.75 over a heated room; 1.25 over an unheated room, on the ground, or over
// outdoor air at θ_e ≥ 0 ℃; 1.50 at 0 > θ_e ≥ −5 ℃; 2.00 at −5 > θ_e ≥
// −15 ℃. Colder outdoor air has no value in the table.
struct InsulationCheck {
    bool inTable = false; // a minimum exists for this space
    double minimum = 0;   // m²·K/W, when inTable
    bool meets = false;   // R_λ,ins ≥ minimum
};

InsulationCheck checkInsulation(const Below& below);

} // namespace zorva::en1264
