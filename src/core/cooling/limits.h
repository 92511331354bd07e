// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The constants of floor cooling and the limits that keep a cooled floor dry
// and comfortable: the surface coefficients of the conversion, the room
// design state, the dew-point margin, the lowest floor surface temperature
// by occupancy, the rise of the water, and the clause each one comes from
// (docs/cooling.md, sections "Constants" and "Limits").

#include <optional>
#include <string_view>

namespace zorva::cooling {

// Surface coefficients, W/(m²·K): floor heating as used inside the EN 1264-2
// method, and floor cooling as EN 1264-5 Table A.1 / ISO 11855-2 Table A.20
// give it for the conversion.
inline constexpr double kHeatingSurfaceCoeff = 10.8;
inline constexpr double kCoolingSurfaceCoeff = 6.5;
// ΔR_α = 1/α_C − 1/α_H, the weaker exchange of a cooled floor taken as an
// extra covering (ISO 11855-2 A.35), m²·K/W.
inline constexpr double kExtraSurfaceResistance =
    1 / kCoolingSurfaceCoeff - 1 / kHeatingSurfaceCoeff;
// R_λ,B* of the second heating run (ISO 11855-2 A.33), m²·K/W.
inline constexpr double kSecondRunCovering = 0.15;
// Basic cooling characteristic q = 7·(θ_i − θ_F,m), ISO 11855-2 function 4.
inline constexpr double kBasicCoolingCoeff = 7;

// Magnus coefficients over water (WMO), θ in ℃.
inline constexpr double kMagnusB = 17.62;
inline constexpr double kMagnusC = 243.12;
// The range the coefficients are fitted for, ℃.
inline constexpr double kMagnusLowest = -45;
inline constexpr double kMagnusHighest = 60;

// Specific heat of water, kJ/(kg·K): the constant of the program's heating
// flow, so the flows of both seasons compare.
inline constexpr double kWaterHeatCapacity = 4.1868;

// Room design state in cooling (GB 50736-2012 §3.0.2, long-stay zones).
inline constexpr double kDefaultRoomTemp = 26;        // ℃
inline constexpr double kDefaultHumidity = 0.50;      // φ, dehumidified air side
inline constexpr double kHumidDefaultHumidity = 0.60; // air side without good dehumidifying

// Dew-point safety margin Δθ_s, K (JGJ 142-2012 §3.1: 1–2 ℃).
inline constexpr double kDefaultDewMargin = 2;
inline constexpr double kLowestDewMargin = 1;

// Rise of the water σ = θ_R − θ_V, K (JGJ 142-2012 §3.1: 2–5 ℃).
inline constexpr double kLowestRise = 2;
inline constexpr double kHighestRise = 5;
inline constexpr double kDefaultRise = 3;

// Supply water temperatures, ℃. At or below kRefusedSupplyTemp no floor is
// cooled in practice and the method refuses; proposals stay at or above
// kLowestProposedSupplyTemp so that every proposed supply is one the method
// computes. The typical design supply lies between the two kTypical values.
inline constexpr double kRefusedSupplyTemp = 4;
inline constexpr double kLowestProposedSupplyTemp = 5;
inline constexpr double kTypicalSupplyLow = 16;
inline constexpr double kTypicalSupplyHigh = 19;

// Below this rise the log-mean formula is replaced by its limit, K.
inline constexpr double kTinyRise = 1e-9;

// Who uses the floor: sets the lowest acceptable mean floor surface
// temperature θ_F,min.
enum class Occupancy {
    Standing, // standing and walking, the default: 19 ℃
    Seated,   // mainly seated (offices, living rooms): 20 ℃
    Transit,  // entrance halls, atria, corridors: no comfort limit, the dew
              // point governs
};

// θ_F,min in ℃; empty for Transit.
std::optional<double> lowestFloorTemp(Occupancy occupancy);

// Where a figure or a limit comes from, as shown beside it.
namespace clause {
inline constexpr std::string_view kMethod = "EN 1264-5 / ISO 11855-2 附录 A (A.33–A.35)";
inline constexpr std::string_view kLogMean = "EN 1264-3（供冷对数平均温差）";
inline constexpr std::string_view kBasicCharacteristic = "ISO 11855-2 式 (4)";
inline constexpr std::string_view kDesignFlow = "EN 1264-3（供冷设计流量）";
inline constexpr std::string_view kDewPoint = "Magnus 公式 (WMO: b = 17.62, c = 243.12 ℃)";
inline constexpr std::string_view kRoomState = "GB 50736-2012 §3.0.2 表 3.0.2";
inline constexpr std::string_view kRoomTempAdvice = "GB 50736-2012 §3.0.5";
inline constexpr std::string_view kDewMargin = "JGJ 142-2012 §3.1";
inline constexpr std::string_view kRise = "JGJ 142-2012 §3.1";
inline constexpr std::string_view kFloorStanding = "EN 1264 / ISO 7730";
inline constexpr std::string_view kFloorSeated = "Olesen 2008";
inline constexpr std::string_view kSensibleLoad = "JGJ 142-2012 §3.3";
} // namespace clause

std::string_view floorTempClause(Occupancy occupancy);

} // namespace zorva::cooling
