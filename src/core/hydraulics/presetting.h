// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Balancing the loops of one manifold by presetting their return valves
// (docs/hydraulics.md §3): every loop is a branch between the supply and the
// return bar, so every branch must see the same pressure difference, that
// of the index loop (最不利环路) with its valve fully open. The other valves
// take up the difference; the valve characteristic turns each valve's
// required kv into a setting to dial. The loops' own pressure drops (pipe
// friction and local losses) and flows are inputs: the loop hydraulics
// compute them.

#include "core/hydraulics/valve.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace zorva::hydraulics {

// One loop as a branch of the manifold.
struct LoopBranch {
    double flowKgh = 0;         // ṁ, kg/h
    double pressureDropKpa = 0; // Δp_loop of the pipe at ṁ (friction + local), kPa
    double density = 0;         // ρ at the loop's mean water temperature, kg/m³
};

// How the loop valves are driven.
enum class ActuatorKind {
    OnOff,     // thermal actuators open or shut: authority does not matter
    Modulating // the valve controls the flow: its authority counts
};

struct PresettingOptions {
    // Valve drops above this are likely to be heard (thermostatic and small
    // regulating valves start to be noisy at 20–30 kPa), kPa.
    double noiseLimitKpa = 20;
    ActuatorKind actuator = ActuatorKind::OnOff;
    // A modulating loop valve whose authority Δp_valve/Δp_branch is below
    // this controls poorly.
    double poorAuthority = 0.25;
};

// Why a loop takes no part in balancing.
enum class BranchFault {
    None,
    NotFinite,           // a value that is not a number
    FlowNotPositive,     // no flow: a shut loop has no setting
    DensityNotPositive,  //
    PressureDropNegative //
};

// Warnings on one loop (bit flags).
enum PresetFlag : unsigned {
    PresetNoise = 1u << 0,        // Δp_valve above the noise limit
    PresetBelowTable = 1u << 1,   // kv below the first point: the valve cannot
                                  // throttle enough, the loop gets too much water
    PresetPoorAuthority = 1u << 2 // modulating valve with authority below the limit
};

struct LoopPresetting {
    BranchFault fault = BranchFault::None;
    bool indexLoop = false;
    unsigned flags = 0; // PresetFlag bits

    double flowM3h = 0;              // V̇ at the loop's density
    double openValveDropKpa = 0;     // Δp_open, the valve fully open at V̇
    double extraPressureDropKpa = 0; // Δp_extra, what the setting must add
    double valveDropKpa = 0;         // Δp_valve = Δp_open + Δp_extra
    double kv = 0;                   // required kv, m³/h
    double setting = 0;              // the setting for kv, unrounded
    SettingRange range = SettingRange::Inside;
    double dialSetting = 0;       // the setting to dial
    double dialKv = 0;            // kv at the dialled setting
    double dialFlowM3h = 0;       // V̇ through dialKv at the same Δp_valve
    double dialFlowDeviation = 0; // dialFlowM3h/flowM3h − 1
    double authority = 0;         // Δp_valve/Δp_branch

    bool ok() const { return fault == BranchFault::None; }
};

struct Presetting {
    // Where the numbers come from, for the user to look up.
    const char* method = "docs/hydraulics.md §3: parallel branches balanced to the index loop; "
                         "kv by IEC 60534-1";
    // The characteristic's first fault; when not ok, the loops only carry
    // their own faults and nothing is computed.
    CharacteristicCheck characteristic;
    std::vector<LoopPresetting> loops; // one per input loop, in order
    std::optional<std::size_t> indexLoop;
    double branchPressureKpa = 0; // Δp_branch = Δp_loop + Δp_open of the index loop
    double largestValveDropKpa = 0;
    std::size_t noisyLoops = 0;
    std::size_t belowTableLoops = 0;
    std::size_t poorAuthorityLoops = 0;
};

// Index loop, extra pressure drops, kv and settings of every loop. The index
// loop is the loop with the largest Δp_loop + Δp_open (the first of equals);
// its valve stays fully open. Pure: callers may preset many manifolds on as
// many threads.
Presetting presetLoops(std::span<const LoopBranch> loops, const ValveCharacteristic& valve,
                       const PresettingOptions& options = {});

} // namespace zorva::hydraulics
