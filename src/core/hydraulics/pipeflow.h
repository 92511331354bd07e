// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pressure drop of water in one plastic loop: Darcy–Weisbach friction
// with the laminar law below Re 2300 and Blasius (or, as options,
// Colebrook–White or Swamee–Jain) from there on, plus local losses of the
// manifold connections and the bends (docs/en1264-design.md, "Loop
// hydraulics"). Water properties are those of water.h at the loop's mean
// temperature. Pure functions of their arguments.

#include "core/hydraulics/water.h"

namespace zorva::hydraulics {

enum class FrictionLaw {
    Blasius,    // λ = 0.3164·Re^−0.25, hydraulically smooth pipe
    Colebrook,  // Colebrook–White with the roughness, solved by iteration
    SwameeJain, // the explicit approximation of Colebrook–White
};

enum class FlowRegime {
    None,       // no flow
    Laminar,    // Re < 2300: λ = 64/Re
    Transition, // 2300 ≤ Re < 4000: the turbulent law, no law is reliable here
    Turbulent,  // Re ≥ 4000
};

inline constexpr double kLaminarBelow = 2300;
inline constexpr double kTurbulentFrom = 4000;

// Local loss coefficients per loop: the two manifold connections with entry
// and exit, and one 90° bend of plastic pipe bent at r ≥ 5·d.
inline constexpr double kConnectionLoss = 1.5;
inline constexpr double kBendLoss = 0.4;

// Pipe in the heated area plus the supply and return leaders, m:
// L = A/T + 2·l_A with the loop's floor area A (m²), spacing T (m) and the
// one-way leader length l_A (m).
double loopLength(double loopArea, double spacing, double leaderOneWay);

// Σζ = ζ_conn + n_90·ζ_90.
double localLossSum(double bends, double connection = kConnectionLoss, double perBend = kBendLoss);

// The Darcy friction factor for a Reynolds number. Below 2300 the laminar
// law whatever `law` says; `relativeRoughness` = ε/d_i is read by Colebrook
// and Swamee–Jain only. Not a number for Re ≤ 0.
double frictionFactor(double reynolds, FrictionLaw law = FrictionLaw::Blasius,
                      double relativeRoughness = 0);

struct PipeFlowInput {
    double massFlow = 0;         // kg/s
    double meanTemp = 40;        // ℃, for the water properties
    double innerDiameter = 0;    // d_i, m
    double length = 0;           // L, m
    double lossCoefficients = 0; // Σζ
    FrictionLaw law = FrictionLaw::Blasius;
    double roughness = 0; // ε, m (Colebrook and Swamee–Jain)
};

enum class PipeFlowProblem {
    None,
    InvalidInput, // a value not finite, a negative flow, length or Σζ, a
                  // diameter or density not positive
};

struct PipeFlow {
    PipeFlowProblem problem = PipeFlowProblem::InvalidInput;
    WaterProperties water;    // at meanTemp
    double volumeFlow = 0;    // V̇, m³/s
    double volumeFlowM3h = 0; // V̇, m³/h
    double velocity = 0;      // v, m/s
    double reynolds = 0;      // Re = v·d_i/ν
    FlowRegime regime = FlowRegime::None;
    double friction = 0;        // λ
    double dynamicPressure = 0; // ρv²/2, Pa
    double frictionLoss = 0;    // Δp_R = λ·(L/d_i)·ρv²/2, Pa
    double localLoss = 0;       // Δp_Z = Σζ·ρv²/2, Pa
    double pressureDrop = 0;    // Δp_R + Δp_Z, Pa

    bool computed() const { return problem == PipeFlowProblem::None; }
};

PipeFlow pipeFlow(const PipeFlowInput& in);

} // namespace zorva::hydraulics
