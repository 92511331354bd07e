// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One loop of a cooled floor by EN 1264-5 / ISO 11855-2: the cooling output
// per m², the floor surface temperatures, the dew point of the room and the
// checks that keep floor and pipes dry, what the floor may give at most
// without breaking a limit, the heat the water takes up from below, the
// upward share and the water flow. Closed form throughout; where the method
// does not apply the result says why. docs/cooling.md.

#include "core/cooling/admissible.h"
#include "core/cooling/characteristic.h"
#include "core/cooling/limits.h"
#include "core/en1264/below.h"
#include "core/en1264/floor.h"

#include <array>
#include <optional>
#include <string_view>

namespace zorva::cooling {

// The room a loop cools, with its design state and limits.
struct RoomConditions {
    double temp = kDefaultRoomTemp;            // θ_i, ℃
    double humidity = kDefaultHumidity;        // φ, a fraction (0.5 for 50 %)
    double dewMargin = kDefaultDewMargin;      // Δθ_s, K, at least 1
    Occupancy occupancy = Occupancy::Standing; // sets θ_F,min
};

struct LoopInputs {
    // The construction as the heating method takes it: T, D, s_R, λ_R, s_u,
    // λ_E, R_λ,B, and the space below (R_u, θ_u) when known. Its water and
    // room temperatures and its floor limit are not read.
    En1264Inputs construction;
    double supplyTemp = 0; // θ_V, ℃, the colder one
    double returnTemp = 0; // θ_R, ℃
    RoomConditions room;
    double length = 0; // L, m; the loop's area is L·T
};

// A loop on a floor as the heating method's interface holds it, with the
// space below when known: R_u and θ_u by en1264::Below at the cooling room
// temperature. A space whose temperature is needed and not given leaves the
// heat from below out (belowCounted false).
LoopInputs loopInputs(const en1264::Floor& floor, double supplyTemp, double returnTemp,
                      const RoomConditions& room, double length,
                      const std::optional<en1264::Below>& below = std::nullopt);

// Why a loop has no cooling numbers.
enum class Applicability {
    Applicable,
    Construction,     // the heating runs give no K_H (characteristic.heating says why)
    RoomAir,          // θ_i outside −45 … 60 ℃ or φ not in (0, 1]
    DewMargin,        // Δθ_s below 1 K or not a number
    TemperatureOrder, // not θ_V ≤ θ_R < θ_i
    SupplyTooCold,    // θ_V ≤ 4 ℃, outside any floor-cooling practice
    Length,           // L negative or not a number
    SpaceBelow,       // R_u not above 0, or θ_u not a number, where given
};

// The checks of a cooled floor, by their codes D1, D2, D3, F1, R1, L1.
enum class CheckId {
    SupplyDew,    // D1: θ_V ≥ θ_d + Δθ_s
    FloorDew,     // D2: θ_F,m ≥ θ_d + Δθ_s
    InletDew,     // D3: θ_F,V ≥ θ_d + Δθ_s
    FloorComfort, // F1: θ_F,m ≥ θ_F,min
    Rise,         // R1: 2 K ≤ σ ≤ 5 K
    Load,         // L1: Q_adm ≥ Q_s (a room's check)
};

enum class CheckKind {
    Required, // 不合格 when it fails
    Advice,   // a range the clause recommends
    Warning,  // the load: says how much is missing
};

struct Check {
    CheckId id = CheckId::SupplyDew;
    bool checked = true; // F1 where the occupancy has no comfort limit: false
    bool passed = false; // on unrounded values; a value at its limit passes
    double value = 0;
    double limit = 0;      // the lower limit (for L1, the load Q_s)
    double upperLimit = 0; // R1 only
    // D1 only: the supply lies below the dew point itself, so the water
    // condenses on every exposed pipe.
    bool belowDewPoint = false;
};

std::string_view checkCode(CheckId id); // "D1" …
CheckKind checkKind(CheckId id);
std::string_view checkClause(CheckId id, Occupancy occupancy);

struct LoopResult {
    std::string_view method = clause::kMethod;
    Applicability applicability = Applicability::Construction;
    Characteristic characteristic; // K_H,0, K_H,0.15, x, K_C

    // Inputs as used.
    double supplyTemp = 0, returnTemp = 0;
    RoomConditions room;

    double rise = 0;           // σ = θ_R − θ_V, K
    double underTemp = 0;      // Δθ_C, K
    double coolingOutput = 0;  // q_C = K_C·Δθ_C, W/m²
    double floorTempMean = 0;  // θ_F,m = θ_i − q_C/7, ℃
    double inletOutput = 0;    // K_C·(θ_i − θ_V), W/m², where the water is coldest
    double floorTempInlet = 0; // θ_F,V, ℃

    double dewPoint = 0;                // θ_d, ℃
    double minSupplyTemp = 0;           // θ_V,min = θ_d + Δθ_s, ℃
    std::optional<double> floorTempMin; // θ_F,min by occupancy
    double floorTempLowest = 0;         // θ_F,lower = max(θ_F,min, θ_d + Δθ_s)

    // The most this floor may give at the same rise without breaking a
    // limit: q_dew at θ_V,min, q_F,lim = 7·(θ_i − θ_F,lower), their minimum,
    // which of them binds, and the supply for it.
    double dewLimitedOutput = 0;
    double floorLimitedOutput = 0;
    double maxAdmissibleOutput = 0;
    AdmissibleWater admissible;

    double area = 0;       // A = L·T, m²
    double loopOutput = 0; // Q_j = q_C·A, W

    double upwardResistance = 0;          // R_o,C = 1/α_C + R_λ,B + s_u/λ_E, m²·K/W
    bool belowCounted = false;            // R_u and θ_u known; else 未计下层传热
    std::optional<double> downwardOutput; // q_u,C, W/m², heat from below into the water
    std::optional<double> upwardShare;    // q_C/(q_C + q_u,C)
    double waterLoad = 0;                 // (q_C + q_u,C)·A, W
    std::optional<double> flow;           // G, kg/h; empty for a rise below 1e-9 K
    std::optional<double> velocity;       // v, m/s

    // D1, D2, D3, F1, R1 in this order.
    std::array<Check, 5> checks{};
    bool admissibleDesign = false; // D1, D2, D3 and F1 pass

    bool applicable() const { return applicability == Applicability::Applicable; }
};

// The loop's characteristic is computed from in.construction.
LoopResult coolingLoop(const LoopInputs& in);

// The same with the characteristic of in.construction already computed (a
// room's loops of one construction share it).
LoopResult coolingLoop(const LoopInputs& in, const Characteristic& characteristic);

} // namespace zorva::cooling
