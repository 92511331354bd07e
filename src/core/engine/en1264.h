// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The heat output of a type A floor (pipes in the screed) by EN 1264-2: the
// characteristic K_H, the heat flux, the mean floor temperature by the basic
// characteristic, the limit curve for a floor temperature limit and, when
// the space below is known, the downward loss. Plain double arithmetic, no
// rounding; where the method does not apply the result says why, and where
// a quantity lies outside the method's tables the result is computed and
// flagged.

#include "core/engine/inputs.h"

#include <optional>

namespace zorva {

struct En1264Inputs {
    double spacing = 0;            // T, m
    double diameter = 0;           // D, outside, m
    double wallThickness = 0;      // s_R, m
    double wallConductivity = 0;   // λ_R, W/(m·K)
    double screedAbove = 0;        // s_u, screed above the pipe top, m
    double screedConductivity = 0; // λ_E, W/(m·K)
    double coveringResistance = 0; // R_λ,B, m²·K/W
    double supplyTemp = 0;         // θ_V, ℃
    double returnTemp = 0;         // θ_R, ℃
    double roomTemp = 0;           // θ_i, ℃
    double floorLimit = 29;        // θ_F,max, ℃
    // Downward loss, only when both are known: resistance from the pipe
    // plane down to the space below (m²·K/W) and that space's temperature.
    std::optional<double> downwardResistance;
    std::optional<double> belowTemp;
};

// Why the method gives no numbers.
enum class En1264Applicability {
    Applicable,
    NoScreedAbovePipe,    // s_u ≤ 0
    TemperatureOrder,     // not θ_V ≥ θ_R > θ_i
    InvalidConstruction,  // a size or conductivity not positive, a wall not
                          // thinner than the pipe radius, a negative covering
    OutsideMethodNumbers, // a pipe not wider than the reference pipe's two
                          // walls (4 mm), or a characteristic that is not a
                          // positive number
};

// Quantities outside the ranges the method covers (bit flags).
enum En1264Flag : unsigned {
    SpacingBelowTables = 1u << 0,     // T < 0.050 m: tables held at 0.050
    SpacingWide = 1u << 1,            // T > 0.375 m: the wide-spacing rule
    DiameterOutsideRange = 1u << 2,   // D outside 0.008 … 0.030 m
    ScreedThin = 1u << 3,             // 0 < s_u < 0.010 m
    CoveringOutsideTables = 1u << 4,  // R_λ,B above 0.15: tables held
    ScreedRatioBelowTables = 1u << 5, // s_u/λ_E < 0.010: limit table held
};

struct En1264Result {
    En1264Applicability applicability = En1264Applicability::InvalidConstruction;
    unsigned flags = 0; // En1264Flag bits

    // Inputs as used.
    double coveringResistance = 0; // R_λ,B
    double screedAbove = 0;        // s_u, m
    double screedConductivity = 0; // λ_E
    double screedResistance = 0;   // s_u/λ_E, m²·K/W

    // The characteristic at the tabulated spacing T' = min(T, 0.375 m) and
    // the real s_u.
    double coveringFactor = 0; // a_B
    double aT = 0, aU = 0, aD = 0;
    double mT = 0, mU = 0, mD = 0;
    double product = 0;     // Π = a_B·a_T^m_T·a_U^m_U·a_D^m_D
    double wallBracket = 0; // bracket of the pipe-wall term, m·K/W
    double systemCoeff = 0; // B, W/(m²·K)

    // Thick screed: s_u* and, when s_u > s_u*, the characteristic at s_u*.
    double thickScreedLimit = 0; // s_u*, m
    bool thickScreedRule = false;
    double thickProduct = 0;        // Π*
    double thickSystemCoeff = 0;    // B*
    double thickCharacteristic = 0; // K_H*

    bool wideSpacingRule = false;
    double characteristicAtTable = 0; // K_H' at T'
    double characteristic = 0;        // K_H, W/(m²·K)
    double logMeanExcess = 0;         // ΔθH, K
    double heatFlux = 0;              // q, W/m²
    double meanFloorTemp = 0;         // θ_F,m, ℃

    // Limit curve for floorLimit.
    double floorLimit = 0;            // θ_F,max
    bool limitBySpacingRatio = false; // coefficients by s_u/T' (s_u/λ_E > 0.0792)
    double limitB = 0;                // B_G, W/m²
    double limitN = 0;                // n_G
    double limitPhi = 0;              // φ
    double limitWideFactor = 1;       // f_G (wide spacing only)
    double limitExcess = 0;           // ΔθH,G, K
    double limitFlux = 0;             // q_G, W/m²
    double limitFluxMax = 0;          // q_G,max, W/m²
    bool withinLimit = false;         // q ≤ q_G and q ≤ q_G,max

    double upwardResistance = 0;        // R_o, m²·K/W
    std::optional<double> downwardLoss; // q_u, W/m²

    bool applicable() const { return applicability == En1264Applicability::Applicable; }
};

En1264Result en1264TypeA(const En1264Inputs& in);

// Our construction as the method's inputs: the surface layer as covering,
// the levelling layer and the filling layer above the pipe top as one screed
// of series conductivity, after the filling layer has been raised to at
// least the pipe diameter as the calculation does; the temperatures as
// typed. Lengths read in mm and turned into m.
En1264Inputs en1264Inputs(const FieldRecord& fields, double floorLimit);

// The mean floor temperature by the basic characteristic q = 8.92·Δθ^1.1.
double en1264FloorTemp(double heatFlux, double roomTemp);

} // namespace zorva
