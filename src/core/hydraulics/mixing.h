// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manifold's mixed return temperature and an optional mixing station
// between a hotter primary circuit and the floor circuit
// (docs/hydraulics.md §5): primary, secondary and bypass flows by the heat
// balance on the mixing point, and the mixing valve's kvs for a target
// authority.

#include "core/hydraulics/water.h"

#include <cstddef>
#include <span>
#include <vector>

namespace zorva::hydraulics {

struct LoopReturn {
    double flowKgh = 0;    // ṁ_loop, kg/h
    double returnTemp = 0; // θ_R,j at the loop's design, ℃
};

enum class MixFault { None, NoFlow, NotFinite, NegativeFlow, ReturnAboveSupply };

struct MixedReturn {
    const char* method = "docs/hydraulics.md §5: flow-weighted return; 5–10 K by "
                         "GB 50736-2012 §5.4.1";
    MixFault fault = MixFault::None;
    double totalFlowKgh = 0;     // ṁ_s
    double mixedReturnTemp = 0;  // θ_R,mix = Σ ṁ·θ_R / ṁ_s, ℃
    double systemDifference = 0; // Δt_sys = θ_V − θ_R,mix, K
    // Δt_sys outside 5–10 K (GB 50736-2012 §5.4.1, JGJ 142-2012 §3.1).
    bool differenceOutsideRange = false;
    double heatW = 0; // Q_tot = ṁ_s·c_W·Δt_sys with c_W = kHeatCapacity, W
    bool ok() const { return fault == MixFault::None; }
};

struct SystemDifferenceRange {
    double min = 5;  // K
    double max = 10; // K
};

// Loops with no flow add nothing; a negative flow or a return above the
// supply is a fault.
MixedReturn mixedReturn(std::span<const LoopReturn> loops, double supplyTemp,
                        SystemDifferenceRange range = {});

// The usual kvs series of mixing valves, m³/h.
std::vector<double> standardKvsSeries();

struct MixingStationInput {
    double primarySupplyTemp = 0;      // θ_prim, ℃
    double supplyTemp = 0;             // θ_V of the floor circuit, ℃
    double mixedReturnTemp = 0;        // θ_R,mix, ℃
    double totalFlowKgh = 0;           // ṁ_s of the floor circuit, kg/h
    double supplyDensity = 0;          // ρ(θ_V), kg/m³: the valve's mixed port
    double primaryDensity = 0;         // ρ(θ_prim), kg/m³
    double targetAuthority = 0.5;      // a, 0 < a < 1
    double primaryVariableDropKpa = 0; // Δp_prim,var: the path whose flow the valve varies
    std::vector<double> kvsSeries = standardKvsSeries(); // increasing, m³/h
};

enum class MixingFault {
    None,
    NotFinite,
    FlowNotPositive,
    DensityNotPositive,
    TemperatureOrder, // not θ_prim > θ_V > θ_R,mix
    AuthorityOutside, // not 0 < a < 1
    DropNotPositive,  // Δp_prim,var ≤ 0
    SeriesInvalid     // empty, not positive or not increasing
};

struct MixingStation {
    const char* method = "docs/hydraulics.md §5: heat balance on the mixing point; kvs for "
                         "the target authority";
    MixingFault fault = MixingFault::None;
    double primaryFlowKgh = 0;     // ṁ_p = ṁ_s·(θ_V − θ_R,mix)/(θ_prim − θ_R,mix)
    double primaryFlowM3h = 0;     // at ρ(θ_prim)
    double secondaryFlowKgh = 0;   // ṁ_s
    double bypassFlowKgh = 0;      // ṁ_b = ṁ_s − ṁ_p
    double heatW = 0;              // ṁ_p·c_W·(θ_prim − θ_R,mix)
    double valveTargetDropKpa = 0; // Δp_v,target = a/(1 − a)·Δp_prim,var
    double kvsCalc = 0;            // V̇_s/√(Δp_v,target/1 bar), m³/h
    double kvs = 0;                // largest series value not above kvsCalc
    bool kvsBelowSeries = false;   // kvsCalc under the smallest value: the smallest is taken
    double valveDropKpa = 0;       // Δp_v = (V̇_s/kvs)²·1 bar
    double authority = 0;          // Δp_v/(Δp_v + Δp_prim,var)
    bool authorityBelowTarget = false;
    bool poorAuthority = false; // below 0.25
    bool ok() const { return fault == MixingFault::None; }
};

MixingStation mixingStation(const MixingStationInput& in);

} // namespace zorva::hydraulics
