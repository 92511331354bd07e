// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The water side of a cooled floor: the log-mean under-temperature of the
// water against the room and its exact inverse, the supply temperature that
// gives a wanted under-temperature at a fixed rise (docs/cooling.md,
// "Log-mean under-temperature" and "What a load needs").

#include <optional>

namespace zorva::cooling {

// Δθ_C = (θ_R − θ_V)/ln((θ_i − θ_V)/(θ_i − θ_R)) (EN 1264-3 in its cooling
// form), K; for a rise below 1e-9 K its limit θ_i − (θ_V + θ_R)/2. Empty
// unless θ_V ≤ θ_R < θ_i, all finite.
std::optional<double> logMeanUnderTemp(double supplyTemp, double returnTemp, double roomTemp);

// θ_V = θ_i − σ/(1 − exp(−σ/Δθ_C)), the supply at which the water, rising
// by σ, has the under-temperature Δθ_C (> 0); for σ below 1e-9 K the limit
// θ_i − Δθ_C − σ/2.
double supplyForUnderTemp(double underTemp, double rise, double roomTemp);

} // namespace zorva::cooling
