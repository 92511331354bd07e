// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loops that serve a room (docs/heat-load.md §6):
//  1. the spacing: the widest allowed spacing at which the floor gives the
//     room's load at the manifold's supply temperature without passing its
//     surface limit, q_need = (Q − Q_zone)/A_occupied ≤ min(q, q_G); where
//     none does, the spacing that gives the most, and the rest of the load
//     as supplementary heat;
//  2. the loops: the fewest n for which every loop, of length
//     L = P/n + 2·l_A with P the pipe in the heated area, stays within the
//     loop-length and pressure-drop limits;
//  3. the user's overrides of spacing, loop count and lengths, kept and
//     marked, with the limits they break.

#include "core/rooms/room.h"

#include <string>
#include <vector>

namespace zorva::rooms {

enum class RoomStatus {
    Designed,    // the loops give the load within every limit
    Shortfall,   // the loops stay within the limits; supplementaryHeat is missing
    NotDesigned, // no loops: see fault
};

enum class RoomFault {
    None,
    NotFinite, // a number that is not finite
    FloorAreaNotPositive,
    HeatedAreaNotPositive,
    HeatedAreaAboveFloor, // more heated area than floor area
    LoadNegative,
    LeaderNegative,
    NoSpacing,           // no allowed spacing above 0
    NoValidSpacing,      // the thermal method applies at none of them
    PeripheralInvalid,   // the zone: sizes, more area than the heated area, or no output
    LeadersTooLong,      // 2·l_A alone reaches the loop-length limit
    PressureUnreachable, // no loop count up to the guard meets the pressure-drop limit
    PressureInvalid,     // the pressure method gives no number
    TooManyLoops,        // more than kMaxLoopsPerRoom loops would be needed or were asked for
    OverrideInvalid,     // an overriding spacing ≤ 0 or loop count < 1
};

// No room is split into more loops than this; more means a wrong input.
constexpr int kMaxLoopsPerRoom = 10000;

// Marks on the result (bit flags).
enum RoomMark : unsigned {
    SpacingOverridden = 1u << 0,
    LoopCountOverridden = 1u << 1,
    LengthOverridden = 1u << 2, // at least one loop
    BreaksLimits = 1u << 3,     // an override makes a loop pass a limit
};

// One allowed spacing as the choice saw it.
struct SpacingTrial {
    double spacing = 0;
    FloorOutput output;
    double deliverable = 0; // min(q, q_G), W/m²; 0 when not valid
    bool meetsLoad = false;
};

struct RoomLoop {
    std::string name;                                  // "客厅-1"
    double length = 0;                                 // m, as used
    double pipeInArea = 0;                             // m
    double leaders = 0;                                // 2·l_A, m
    double area = 0;                                   // m² of heated floor it serves
    double heat = 0;                                   // W it carries
    std::optional<double> pressureDrop = std::nullopt; // kPa
    bool lengthOverridden = false;
    bool overLength = false;
    bool overPressure = false;
};

struct RoomDesign {
    std::string name;
    RoomStatus status = RoomStatus::NotDesigned;
    RoomFault fault = RoomFault::None;
    unsigned marks = 0; // RoomMark bits

    double heatLoad = 0;     // W
    double heatedArea = 0;   // m²
    double requiredFlux = 0; // q_need over the occupied part, W/m²

    double spacing = 0;       // m
    FloorOutput output;       // at the spacing
    double deliveredFlux = 0; // W/m² of the occupied part
    std::vector<SpacingTrial> trials;

    double peripheralArea = 0; // m²
    double peripheralSpacing = 0;
    double peripheralHeat = 0; // W

    double deliveredHeat = 0;     // W
    double supplementaryHeat = 0; // W, missing from the loops
    double pipeInArea = 0;        // m, over the whole heated area
    std::vector<RoomLoop> loops;

    std::string clauses;
};

// The spacing step alone, on the room's load and heated area (exposed for
// the tests and the design check).
struct SpacingChoice {
    RoomFault fault = RoomFault::None;
    std::vector<SpacingTrial> trials;
    int chosen = -1; // index into trials
    bool meets = false;
    double requiredFlux = 0;
    double peripheralArea = 0;
    double peripheralHeat = 0;
};
SpacingChoice chooseSpacing(const Room& room, const DesignConditions& conditions,
                            const ThermalMethod& thermal);

// The fewest equal loops for `pipe` metres of pipe in the area plus
// 2·leader each, within the length limit and, when `pressure` is given, the
// pressure-drop limit; `heat` is shared equally. 0 with `fault` set when
// no count up to the guard (4·n_length + 16) does.
struct LoopCount {
    int count = 0;
    RoomFault fault = RoomFault::None;
};
LoopCount fewestLoops(const Room& room, double pipe, double heat, double spacing,
                      const DesignConditions& conditions, const PressureMethod& pressure);

RoomDesign designRoom(const Room& room, const DesignConditions& conditions,
                      const ThermalMethod& thermal, const PressureMethod& pressure = {});

// A length above the limit by more than rounding: 16.5 m² at 0.15 m is 110 m
// of pipe, not 110.00000000000001.
inline bool lengthOverLimit(double length, double limit) {
    return length > limit * (1 + 1e-12);
}

// "客厅-2": the room's name and the loop's number from 1.
std::string loopName(const std::string& room, int index);

const char* roomFaultText(RoomFault fault);

} // namespace zorva::rooms
