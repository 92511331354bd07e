// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Properties of liquid water at a temperature, for the hydraulics of a loop
// and of a manifold (docs/en1264-design.md, "Water properties"). Each
// function is a plain formula of one temperature in ℃; none of them rounds.

namespace zorva::hydraulics {

// Temperatures for which the formulas below describe liquid water at
// ordinary pressure, ℃. Outside this range the functions still return the
// formula's value where it has one; callers flag such a temperature.
inline constexpr double kWaterTempMin = 0;
inline constexpr double kWaterTempMax = 100;
bool waterTempInRange(double temp);

// Heat capacity used by EN 1264-3 for the design flow, J/(kg·K).
// Real water varies by less than 0.3 % between 20 and 60 ℃; the design
// value is taken at every temperature so that flow and heat stay exact
// inverses of each other.
inline constexpr double kHeatCapacity = 4190;

// Density, kg/m³, by the Thiesen–Scheel–Diesselhorst form.
double waterDensity(double temp);

// Dynamic viscosity, Pa·s, by the Vogel equation
// μ = 2.414·10⁻⁵ · 10^(247.8 / (T − 140)) with T in K. Not a number where
// T ≤ 140 K, far below the freezing point.
double waterViscosity(double temp);

struct WaterProperties {
    double temp = 0;               // ℃
    double density = 0;            // ρ, kg/m³
    double viscosity = 0;          // μ, Pa·s
    double kinematicViscosity = 0; // ν = μ/ρ, m²/s
    double heatCapacity = 0;       // c_W, J/(kg·K)
    bool inRange = false;          // waterTempInRange(temp)
};

WaterProperties waterAt(double temp);

} // namespace zorva::hydraulics
