// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the installer sets and checks on one manifold, in one call
// (docs/hydraulics.md §3–§5): valve presetting, flow-meter targets, totals
// and the mixed return, an optional mixing station, the pump's duty point
// and, with a pump curve, its operating point. Inputs are each loop's flow,
// pressure drop and temperatures from the loop design and hydraulics.

#include "core/hydraulics/mixing.h"
#include "core/hydraulics/pipeflow.h"
#include "core/hydraulics/presetting.h"
#include "core/hydraulics/pump.h"

#include <optional>
#include <vector>

namespace zorva::hydraulics {

struct ManifoldLoop {
    double flowKgh = 0;         // ṁ_loop, kg/h
    double pressureDropKpa = 0; // Δp_loop, kPa
    double density = 0;         // ρ(θ_m,j), kg/m³
    double returnTemp = 0;      // θ_R,j, ℃
};

struct MixingStationSetup {
    double primarySupplyTemp = 70;     // θ_prim, ℃
    double primaryDensity = 0;         // ρ(θ_prim), kg/m³
    double targetAuthority = 0.5;      // a
    double primaryVariableDropKpa = 5; // Δp_prim,var, kPa
    bool valveInPumpCircuit = true;    // Δp_v adds to the floor pump's head
    std::vector<double> kvsSeries = standardKvsSeries();
};

// The supply and return pipes between the heat source or mixing station and
// the manifold, both of this length and bore, carrying the total flow: the
// supply pipe at θ_V, the return pipe at the mixed return temperature, each
// by the loop hydraulics' Darcy–Weisbach law (pipeflow.h).
struct ConnectionPipes {
    double lengthOneWay = 0;     // m
    double innerDiameter = 0;    // m
    double lossCoefficients = 0; // Σζ of each pipe: bends, fittings, valves
    FrictionLaw law = FrictionLaw::Blasius;
    double roughness = 0; // m, for Colebrook and Swamee–Jain
};

// The range printed on the flow meters, l/min.
struct MeterRange {
    double min = 0;
    double max = 0;
};

struct ManifoldHydraulicsInput {
    std::vector<ManifoldLoop> loops;
    double supplyTemp = 0;    // θ_V, ℃
    double supplyDensity = 0; // ρ(θ_V), kg/m³: flow meters, body, pump
    ValveCharacteristic valve = genericValveCharacteristic();
    PresettingOptions presetting;
    ManifoldBody body;
    // The connection pipes' drop at the total flow: typed, kPa, or computed
    // from the pipes when they are given.
    double connectionPressureDropKpa = 0;
    std::optional<ConnectionPipes> connectionPipes;
    SystemDifferenceRange systemDifference;
    std::optional<MeterRange> meterRange;
    std::optional<MixingStationSetup> mixing;
    std::vector<PumpCurvePoint> pumpCurve; // empty: no operating point
    // Above this branch pressure a loop left alone at part load would see
    // too much across its valve: a Δp-controlled pump or a differential
    // bypass valve is advised, kPa.
    double pressureControlAdviceKpa = 20;
};

struct ManifoldHydraulics {
    Presetting presetting;
    std::vector<double> flowMeterLpm;  // per loop: ṁ/ρ(θ_V), l/min; 0 for a faulty loop
    std::vector<bool> meterOutOfRange; // per loop, when a meter range is given
    MixedReturn mixedReturn;           // over the loops without a fault
    std::optional<MixingStation> mixing;
    double connectionDropKpa = 0;             // as it enters the pump head
    std::optional<PipeFlow> connectionSupply; // when the pipes are given
    std::optional<PipeFlow> connectionReturn;
    PumpDuty pump;
    std::optional<OperatingPoint> operating;
    bool pressureControlAdvised = false;
};

ManifoldHydraulics manifoldHydraulics(const ManifoldHydraulicsInput& in);

} // namespace zorva::hydraulics
