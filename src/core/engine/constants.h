// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The constants of the heat calculation, with exactly the values the method
// uses (π and e are not the full-precision ones).

namespace zorva::constants {

constexpr double pi = 3.14159;
constexpr double twoPi = 6.28318; // a constant of its own, not 2 × pi
constexpr double e = 2.7182818;

constexpr double estimateCoefficient = 9.4654;
constexpr double estimateExponent = 1.032;
constexpr double emissionCoefficient = 9.82;
constexpr double emissionDivisor = 100;
constexpr double emissionExponent = 0.969;
constexpr double convectiveCoefficient = 2.13;
constexpr double convectiveExponent = 1.31;

constexpr double specificHeat = 4.1868;    // kJ/(kg·℃)
constexpr double flowConversion = 3.6;     // W / (kJ/kg) -> kg/h
constexpr double secondsPerHour = 3600;    // s/h
constexpr double waterDensity = 1000;      // kg/m³
constexpr double viscosity = 0.556 * 1e-6; // kinematic, m²/s

constexpr double filmCoefficient = 200; // water-side coefficient law
constexpr double filmExponent = 0.8;
constexpr double frictionCoefficient = 0.3164;
constexpr double frictionExponent = 0.25;
constexpr double loopLossCoefficient = 1.5;
constexpr double elbowLossCoefficient = 0.4;

constexpr float tolerance = 0.1f;       // W/m²
constexpr float markerResidual = 10000; // W/m²

} // namespace zorva::constants
