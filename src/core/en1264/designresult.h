// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the EN 1264-3 design of a manifold gives: the design supply
// temperature, per room its characteristic, limit, output, σ, flow and
// downward loss, per loop its share with temperatures, flow and pressure
// drop, the manifold's totals and the notes a designer has to read
// (docs/en1264-design.md, "Results and JSON keys").

#include "core/en1264/below.h"
#include "core/en1264/designinput.h"
#include "core/en1264/supplyformulas.h"
#include "core/engine/en1264.h"
#include "core/hydraulics/leaderheat.h"
#include "core/hydraulics/pipeflow.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace zorva::en1264 {

// Why a room has no design.
enum class RoomProblem {
    None,
    NotServed,          // no loop in the room: only its leader heat is shown
    InvalidInput,       // a value not finite, an area not above 0, a negative
                        // planned heat
    FloorNotApplicable, // EN 1264-2 gives no numbers for the floor (see `floor`)
    NoHeatLoad,         // Q_N − Q_out,plan not above 0
    BelowUnknown,       // θ_u needed and not given, or R_u not above 0
    LimitNotAboveRoom,  // θ_F,max not above θ_i: the floor may give nothing
    TooColdSupply,      // even σ_min leaves no positive Δθ_H, or σ_min/Δθ_H > 0.5
    HeatFromBelow,      // q + q_u not above 0: the space below heats the room
    NoCandidate,        // FixedPair: no candidate spacing the method applies to
    ReturnNotAboveRoom, // FixedPair: θ_R not above θ_i
};

enum class NoteLevel { Info, Warning, Error };

enum class NoteCode {
    SupplyMax,       // error: θ_V above 60 ℃
    SupplyRange,     // info: θ_V outside 35–45 ℃
    SystemDrop,      // warning: θ_V − mixed return outside 5–10 K
    LoopsMax,        // warning: more than 8 loops
    DesignDropHigh,  // warning: σ_des above 5 K
    DesignPick,      // info: EN's highest-q room is not the room that sets θ_V
    Limit,           // warning: load above the limit curve, supplementary heat
    NotCovered,      // warning: σ_min rule used
    DropHigh,        // info: σ above 10 K
    MeanFloorTemp,   // warning: JGJ mean floor temperature above its limit
    Insulation,      // warning: R_λ,ins below EN 1264-4's minimum
    InsulationTable, // warning: outdoor air below −15 ℃, no minimum in the table
    OutsideValidity, // warning: EN 1264-2 tables held or rule extended (value: flags)
    VelocityLow,     // warning: v below 0.25 m/s
    VelocityHigh,    // info: v above 0.5 m/s
    LengthMax,       // warning: L above 120 m
    PressureDrop,    // warning: Δp_loop above 30 kPa
    Laminar,         // info: Re below 2300
    Transition,      // info: 2300 ≤ Re < 4000
    WaterTemp,       // warning: water properties outside 0–100 ℃
    LeaderShare,     // info: leader heat above 10 % of the loop's water heat
    LeaderRoom,      // warning: leader heat into a room without loops above its load
    RoomNotDesigned, // error: a room with loops has no design (value: RoomProblem)
    LoopNotDesigned, // error: a loop names no room, or its room has no design
};

NoteLevel noteLevel(NoteCode code);

struct Note {
    NoteCode code = NoteCode::SupplyRange;
    std::optional<std::size_t> room; // the room it concerns
    std::optional<std::size_t> loop; // the loop it concerns
    double value = 0;                // the number that raised it
    double limit = 0;                // the limit it was compared with
};

struct RoomDesign {
    RoomProblem problem = RoomProblem::NotServed;
    std::size_t loops = 0;        // n
    double designFlux = 0;        // q_des = (Q_N − Q_out,plan)/A_F, W/m²
    double spacing = 0;           // T used, m (FixedPair: the chosen candidate)
    En1264Result floor;           // characteristic, flags and limit curve at T
    double surfaceLimit = 0;      // θ_F,max, ℃
    double limitOutput = 0;       // q_G, W/m²
    double limitOutputMax = 0;    // q_G,max, W/m²
    double limitExcess = 0;       // Δθ_H,G, K
    double usableLimit = 0;       // q_lim = min(q_G, q_G,max), W/m²
    bool limited = false;         // q_des above q_lim: capped at q_lim
    double availableOutput = 0;   // FixedPair: K_H·Δθ_H at the pair, W/m²
    double heatOutput = 0;        // q, W/m²
    double excess = 0;            // Δθ_H, K
    double supplementaryHeat = 0; // Q_out, W
    double requiredSupply = 0;    // θ_V needed at σ_des (DesignRoom mode), ℃
    bool candidate = false;       // may set the supply temperature
    double drop = 0;              // σ, K
    DropRule dropRule = DropRule::DesignRoom;
    double returnTemp = 0;         // θ_R = θ_V − σ, ℃
    double meanWaterTemp = 0;      // θ_V − σ/2, ℃
    double upwardResistance = 0;   // R_o, m²·K/W
    double downwardResistance = 0; // R_u, m²·K/W
    double belowTemp = 0;          // θ_u, ℃
    double downwardOutput = 0;     // q_u, W/m²
    double flowFactor = 0;         // 1 + R_o/R_u + (θ_i − θ_u)/(q·R_u)
    double massFlow = 0;           // ṁ_H of the room, kg/s
    double roomOutput = 0;         // Q_room = q·A_F, W
    double waterOutput = 0;        // Q_water = (q + q_u)·A_F, W
    double floorTempMean = 0;      // θ_F,m by EN 1264-2's basic characteristic, ℃
    double floorTempMeanJgj = 0;   // θ_F,m by JGJ 142, ℃
    double meanFloorLimit = 0;     // the JGJ limit it is checked against, ℃
    InsulationCheck insulation;
    double leaderHeatIn = 0;       // Σ Q_L of leaders crossing the room, W
    double creditedLeaderHeat = 0; // taken off Q_N in the second pass, W

    bool designed() const { return problem == RoomProblem::None; }
};

// Why a loop has no design.
enum class LoopProblem {
    None,
    NoRoom,       // its room index names no room
    RoomProblem,  // its room has no design
    InvalidInput, // a leader length, bend count or measured length not a
                  // finite number ≥ 0 (a measured length above 0), a pipe
                  // without a bore
};

struct LoopDesign {
    LoopProblem problem = LoopProblem::NoRoom;
    std::size_t room = 0;
    double area = 0;              // A_F/n, m²
    double drop = 0;              // σ, K
    double returnTemp = 0;        // ℃
    double meanWaterTemp = 0;     // ℃
    double massFlow = 0;          // kg/s
    double flowKgh = 0;           // kg/h
    double flowLpm = 0;           // l/min at ρ(θ_V), the flow meter on the supply bar
    double heatOutput = 0;        // q, W/m²
    double downwardOutput = 0;    // q_u, W/m²
    double floorTempMean = 0;     // ℃, EN 1264-2
    double limitOutput = 0;       // q_G, W/m²
    double supplementaryHeat = 0; // the room's Q_out / n, W
    double length = 0;            // L, m
    double innerDiameter = 0;     // d_i, m
    double lossCoefficients = 0;  // Σζ
    hydraulics::PipeFlow hydraulics;
    double pressureDrop = 0; // Δp_loop, kPa
    // Leader heat into the crossed room, when the loop crosses one.
    std::optional<hydraulics::LeaderHeat> leader;
    double leaderConductance = 0;    // K', W/(m·K)
    double leaderCharacteristic = 0; // K_H at 0.375 m in the crossed floor, W/(m²·K)

    bool designed() const { return problem == LoopProblem::None; }
};

struct ManifoldTotals {
    std::size_t loops = 0;        // designed loops
    double massFlow = 0;          // ṁ_s, kg/s
    double flowKgh = 0;           // kg/h
    double flowLpm = 0;           // l/min at ρ(θ_V)
    double mixedReturnTemp = 0;   // Σ ṁ·θ_R / ṁ_s, ℃
    double systemDrop = 0;        // θ_V − mixed return, K
    double roomOutput = 0;        // Σ Q_room, W
    double waterOutput = 0;       // Σ Q_water = Q_tot, W
    double supplementaryHeat = 0; // Σ Q_out, W
};

enum class DesignProblem {
    None,
    NoRoom,          // no room with loops has a design
    InvalidSettings, // σ_des or σ_min not above 0, a pair not θ_V > θ_R, no candidate spacing
};

struct ManifoldDesign {
    // The method and where it comes from, for every table, report and
    // output that shows these numbers.
    const char* method = "EN 1264-3";
    const char* clause = "";
    DesignMode mode = DesignMode::DesignRoom;
    DesignProblem problem = DesignProblem::NoRoom;
    double designSupplyTemp = 0;   // θ_V, ℃
    double designSupplyExcess = 0; // Δθ_V,des, K
    SupplyForm supplyForm = SupplyForm::Linear;
    std::optional<std::size_t> designRoom;      // the room that sets θ_V
    std::optional<std::size_t> highestFluxRoom; // EN 1264-3's pick: highest q, no bathroom
    std::vector<RoomDesign> rooms;              // in input order
    std::vector<LoopDesign> loops;              // in input order
    ManifoldTotals totals;
    std::vector<Note> notes;

    bool designed() const { return problem == DesignProblem::None; }
};

} // namespace zorva::en1264
