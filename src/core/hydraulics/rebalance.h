// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Thermal re-balancing after commissioning (docs/hydraulics.md §7): from the
// supply and return temperatures measured on each loop (and its flow where
// a flow meter shows it) the loop's actual output, its ratio to the design,
// and the valve setting that would bring it to its design output. Each loop
// is estimated on its own at the branch pressure it sees now; after the
// settings are changed, measure again.

#include "core/hydraulics/valve.h"

#include <optional>
#include <span>
#include <vector>

namespace zorva::hydraulics {

struct RebalanceLoopInput {
    // The design.
    double designFlowKgh = 0;       // ṁ_d, kg/h
    double designSupplyTemp = 0;    // θ_V, ℃
    double designReturnTemp = 0;    // θ_R,j, ℃
    double roomTemp = 0;            // θ_i, ℃
    double loopPressureDropKpa = 0; // Δp_loop at ṁ_d, kPa
    double density = 0;             // ρ(θ_m), kg/m³
    // Δp_loop ∝ ṁ^n: 1.75 in smooth turbulent flow (Blasius), 1 in laminar.
    double pressureExponent = 1.75;
    double currentSetting = 0; // the setting dialled now
    // Measured.
    double measuredSupplyTemp = 0; // ℃, at the loop's supply
    double measuredReturnTemp = 0; // ℃, at the loop's return
    std::optional<double> measuredRoomTemp;
    std::optional<double> measuredFlowKgh; // from the loop's flow meter
};

// kg/h of a flow-meter reading in l/min on the supply bar.
double meterFlowKgh(double litresPerMinute, double supplyDensity);

struct RebalanceOptions {
    // Loops within this share of their design output keep their setting:
    // the temperatures measured on a manifold are rarely better.
    double tolerance = 0.05;
};

enum class RebalanceFault {
    None,
    NotFinite,
    FlowNotPositive,    // design or measured flow
    DensityNotPositive, //
    DesignOrder,        // not θ_V > θ_R,j > θ_i
    MeasuredOrder,      // not supply > return > room: the loop gives no heat to measure
    ExponentOutside,    // n outside 0.5 … 3
    ValveInvalid        // the characteristic fails its check
};

enum RebalanceFlag : unsigned {
    // Even an endless flow would not bring the design output at the design
    // supply temperature: the supply or the loop must change.
    RebalanceSupplyTooLow = 1u << 0,
    // The branch pressure cannot drive the flow even through a fully open valve.
    RebalanceFullyOpenShort = 1u << 1,
    // The required kv is below the table: the valve cannot throttle enough.
    RebalanceBelowTable = 1u << 2,
};

struct LoopRebalance {
    const char* method = "docs/hydraulics.md §7: measured conductance, q = K_H·Δθ_H as in "
                         "EN 1264-2";
    RebalanceFault fault = RebalanceFault::None;
    unsigned flags = 0; // RebalanceFlag bits
    bool flowMeasured = false;
    double actualFlowKgh = 0; // measured, else the design flow
    double actualOutputW = 0; // ṁ·c_W·(θ_S − θ_R) measured
    double designOutputW = 0; // ṁ_d·c_W·(θ_V − θ_R,j)
    double outputRatio = 0;   // actual/design
    bool withinTolerance = false;
    double conductance = 0;     // UA = Q_actual/Δθ_ln measured, W/K
    double requiredFlowKgh = 0; // the flow that gives the design output
    double proposedKv = 0;      // m³/h
    double proposedSetting = 0; // unrounded
    SettingRange range = SettingRange::Inside;
    double proposedDial = 0; // the setting to dial; the current one when unchanged
    bool change = false;     // the proposal differs from the current setting
    bool ok() const { return fault == RebalanceFault::None; }
};

// One proposal per loop, in order.
std::vector<LoopRebalance> rebalanceLoops(std::span<const RebalanceLoopInput> loops,
                                          const ValveCharacteristic& valve,
                                          const RebalanceOptions& options = {});

} // namespace zorva::hydraulics
