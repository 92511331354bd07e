// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the installer sets, checks and orders, from computeProject()
// (docs/project.md, "Hydraulics and materials"): per manifold the valve
// settings and flow-meter targets of its computed loops, the pump's duty
// point, the mixed return and the mixing station; per project the bill of
// materials with its cutting plan. Plain values.

#include "core/hydraulics/manifoldduty.h"
#include "core/materials/bill.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zorva::project {

enum class ValveProblem {
    None,
    FileNotRead,  // the valve file named by the manifold could not be read
    TableInvalid, // the table breaks a rule: see hydraulics.presetting.characteristic
};

// Warnings of one loop (bit flags).
enum LoopHydraulicsFlag : unsigned {
    LoopNoise = 1u << 0,         // Δp_valve above 20 kPa
    LoopBelowTable = 1u << 1,    // the valve cannot throttle enough
    LoopPoorAuthority = 1u << 2, // modulating valve below authority 0.25
    LoopMeterRange = 1u << 3,    // the flow-meter target outside the meters' range
};

struct ManifoldHydraulicsResult {
    bool computed = false; // at least one loop took part
    ValveProblem valveProblem = ValveProblem::None;
    std::string valveName;
    bool valveGeneric = false;
    hydraulics::ValveCharacteristic valve;
    // Per loop of the manifold: its index in hydraulics' loops, or empty
    // for a loop without a result.
    std::vector<std::optional<std::size_t>> branchOf;
    hydraulics::ManifoldHydraulics hydraulics;
    // The manifold's own manual loops and rooms' loops as the commissioning
    // sheet names them: per branch the loop and its room.
    std::vector<std::size_t> loopOfBranch;

    // The presetting of project loop `loop`, or null.
    const hydraulics::LoopPresetting* presetting(std::size_t loop) const;
    std::optional<double> flowMeterLpm(std::size_t loop) const;
    unsigned flags(std::size_t loop) const; // LoopHydraulicsFlag bits
};

struct MaterialsResult {
    bool computed = false;
    materials::Bill bill;
    std::vector<std::string> loopNames;   // per bill loop (bill.pipes[].loops index into these)
    std::vector<std::string> roomNames;   // per bill room
    std::vector<bool> perimeterEstimated; // per bill room: 4·√A instead of a typed perimeter
};

} // namespace zorva::project
