// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dew point of the room air and what it allows the water: the lowest
// supply temperature and a design water pair for a new cooling loop
// (docs/cooling.md, "Dew point" and "Design water temperatures").

#include <optional>

namespace zorva::cooling {

// True when θ_i lies in the range of the Magnus coefficients (−45 … 60 ℃)
// and 0 < φ ≤ 1.
bool validRoomAir(double roomTemp, double humidity);

// Dew point θ_d of air at `roomTemp` (℃) and relative humidity `humidity`
// (a fraction, 0.5 for 50 %) by the Magnus formula with b = 17.62 and
// c = 243.12 ℃: γ = ln φ + b·θ_i/(c + θ_i), θ_d = c·γ/(b − γ). Empty when
// the air is not valid (validRoomAir).
std::optional<double> dewPoint(double roomTemp, double humidity);

// θ_V,min = θ_d + Δθ_s, the lowest supply the dew point allows (JGJ 142-2012
// §3.1). Empty when the air is not valid or the margin is not a number of at
// least kLowestDewMargin.
std::optional<double> lowestSupplyTemp(double roomTemp, double humidity, double dewMargin);

struct DesignWater {
    double supplyTemp = 0;         // ℃
    double returnTemp = 0;         // ℃
    bool raisedByDewPoint = false; // the supply is above the typical 16 ℃
};

// A design water pair for a new cooling loop: the lower typical supply of
// 16 ℃, raised to the lowest supply the dew point allows rounded up to the
// next 0.1 ℃, and the return `rise` above it. Empty when that return would
// not stay below the room temperature (no cooling possible at this humidity),
// or the inputs are not valid.
std::optional<DesignWater> designWater(double roomTemp, double humidity, double dewMargin,
                                       double rise);

// The smallest multiple of 0.1 ℃ (as the decimal text of one decimal reads
// back) that is not below `temp`.
double roundUpToTenth(double temp);

} // namespace zorva::cooling
