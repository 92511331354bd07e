// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/dewpoint.h"

#include "core/cooling/limits.h"

#include <cmath>

namespace zorva::cooling {

bool validRoomAir(double roomTemp, double humidity) {
    return std::isfinite(roomTemp) && roomTemp >= kMagnusLowest && roomTemp <= kMagnusHighest &&
           std::isfinite(humidity) && humidity > 0 && humidity <= 1;
}

std::optional<double> dewPoint(double roomTemp, double humidity) {
    if (!validRoomAir(roomTemp, humidity))
        return std::nullopt;
    const double gamma = std::log(humidity) + kMagnusB * roomTemp / (kMagnusC + roomTemp);
    return kMagnusC * gamma / (kMagnusB - gamma);
}

std::optional<double> lowestSupplyTemp(double roomTemp, double humidity, double dewMargin) {
    if (!std::isfinite(dewMargin) || !(dewMargin >= kLowestDewMargin))
        return std::nullopt;
    const auto dew = dewPoint(roomTemp, humidity);
    if (!dew)
        return std::nullopt;
    return *dew + dewMargin;
}

double roundUpToTenth(double temp) {
    // The tenth is built the way a typed "16.8" reads, and stepped up once
    // where the product temp·10 rounded down onto a whole number.
    double tenths = std::ceil(temp * 10);
    if (tenths / 10 < temp)
        tenths += 1;
    return tenths / 10;
}

std::optional<DesignWater> designWater(double roomTemp, double humidity, double dewMargin,
                                       double rise) {
    const auto lowest = lowestSupplyTemp(roomTemp, humidity, dewMargin);
    if (!lowest || !std::isfinite(rise) || rise < 0)
        return std::nullopt;
    DesignWater water;
    water.supplyTemp = kTypicalSupplyLow;
    if (*lowest > water.supplyTemp) {
        water.supplyTemp = roundUpToTenth(*lowest);
        water.raisedByDewPoint = true;
    }
    water.returnTemp = water.supplyTemp + rise;
    if (!(water.returnTemp < roomTemp))
        return std::nullopt;
    return water;
}

} // namespace zorva::cooling
