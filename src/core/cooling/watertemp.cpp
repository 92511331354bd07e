// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/watertemp.h"

#include "core/cooling/limits.h"

#include <cmath>

namespace zorva::cooling {

std::optional<double> logMeanUnderTemp(double supplyTemp, double returnTemp, double roomTemp) {
    if (!std::isfinite(supplyTemp) || !std::isfinite(returnTemp) || !std::isfinite(roomTemp) ||
        !(supplyTemp <= returnTemp && returnTemp < roomTemp))
        return std::nullopt;
    const double rise = returnTemp - supplyTemp;
    if (rise < kTinyRise)
        return roomTemp - (supplyTemp + returnTemp) / 2;
    // ln((θ_i − θ_V)/(θ_i − θ_R)) as log1p of σ/(θ_i − θ_R): the same value,
    // without the digits a ratio near 1 loses for small rises.
    return rise / std::log1p(rise / (roomTemp - returnTemp));
}

double supplyForUnderTemp(double underTemp, double rise, double roomTemp) {
    if (rise < kTinyRise)
        return roomTemp - underTemp - rise / 2;
    return roomTemp - rise / -std::expm1(-rise / underTemp);
}

} // namespace zorva::cooling
