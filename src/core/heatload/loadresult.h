// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design heat load of one room as either method computes it: a row per
// envelope element, the totals per kind, the method and its clauses, the
// faults that stop the calculation and the warnings that qualify it
// (docs/heat-load.md §5 for the JSON keys).

#include "core/heatload/envelope.h"

#include <string>
#include <vector>

namespace zorva::heatload {

enum class Method { Gb50736, En12831 };

// Inputs the calculation refuses; no numbers are given then.
enum class Fault {
    NotFinite,             // a number that is not a finite value
    IndoorNotAboveOutdoor, // t_n ≤ t_wn
    OutdoorImpossible,     // t_wn at or below absolute zero
    FloorAreaNotPositive,
    HeightNotPositive, // the volume is needed and no height is given
    VolumeNegative,
    AreaNegative,      // element
    UNotPositive,      // element
    AlphaOutsideRange, // element: α not within 0 … 1
    FxNegative,        // element
    AirChangesNegative,
    AirFlowNegative,
    RateNegative,       // wind, intermittent or other rate below 0
    StoreysNotPositive, // an outer door needs the storey count
    ShareOutsideRange,  // option B share or heated share not within 0 … 1
    ThermalBridgeNegative,
    HeatingUpNegative,
};

// What qualifies the numbers; they are computed all the same.
enum class Warning {
    OrientationRateOutsideRange, // element: typed rate outside its range
    OrientationMissing,          // element: vertical outer element without a direction
    WindRateOutsideRange,        // not 0 and not within 5 … 10 %
    ShareOutsideRange,           // option B share not within 0.90 … 0.95
    OutdoorOutsideTable,         // t_wn outside −50 … +25 ℃
    NeighbourWarmer,             // element: a warmer neighbour; no gain counted
    InterDwellingCapped,         // the allowance was held at its cap
};

struct Issue {
    int element = -1; // index into the room's elements, -1 for the room
    Fault fault = Fault::NotFinite;
};

struct Notice {
    int element = -1;
    Warning warning = Warning::OrientationRateOutsideRange;
};

// One envelope element's share of the load.
struct ElementLoad {
    std::string name;
    ElementKind kind = ElementKind::OuterWall;
    bool counted = true;    // false: the heated floor, or a neighbour under 5.2.5
    double area = 0;        // F / A, m²
    double u = 0;           // K, or U + ΔU_TB for EN
    double factor = 1;      // α (GB) or f_x (EN); 1 for the t_c form
    double deltaT = 0;      // temperature difference used, K
    double conductance = 0; // EN H = A·(U + ΔU_TB)·f_x, W/K
    double basic = 0;       // Q_j (GB) or Φ_T,k (EN), W
    double orientationRate = 0;
    double windRate = 0;
    double doorRate = 0;
    double otherRate = 0;
    double heightRate = 0;
    double total = 0; // Q_e (GB); Φ_T,k (EN), W
};

struct HeatLoadResult {
    Method method = Method::Gb50736;
    std::vector<Issue> faults; // not empty: no numbers
    std::vector<Notice> warnings;

    std::vector<ElementLoad> elements;
    double indoorTemp = 0; // temperature the terms were computed with, ℃
    double outdoorTemp = 0;
    double deltaT = 0; // indoorTemp − outdoorTemp, K

    // Breakdown of the design load; transmission + additions + infiltration
    // equals heatLoad exactly as computed.
    double transmission = 0; // basic transmission Σ Q_j, or Φ_T
    double additions = 0;    // GB additions; EN heating-up Φ_hu
    double infiltration = 0; // GB infiltration, EN ventilation Φ_V
    double heatLoad = 0;     // W
    double perArea = 0;      // heatLoad / floor area, W/m²

    // GB: the load a radiator system would need, at t_n, and how the
    // floor-heating allowance turned it into heatLoad.
    double convectiveLoad = 0;
    FloorAllowance allowance = FloorAllowance::None;
    double allowanceShare = 1; // option B share, else 1
    double partialFactor = 1;  // partial-area heating factor
    double airDensity = 0;     // ρ_wn, kg/m³
    double airFlow = 0;        // L, m³/h
    double heightRate = 0;     // β_h
    // Inter-dwelling allowance: for the room's loops only, not for totals.
    double interDwelling = 0;
    double loadForLoops = 0; // heatLoad + interDwelling

    // EN: conductances, W/K.
    double transmissionConductance = 0; // H_T
    double ventilationConductance = 0;  // H_V

    std::string clauses; // the method and clauses the numbers come from

    bool ok() const { return faults.empty(); }
};

} // namespace zorva::heatload
