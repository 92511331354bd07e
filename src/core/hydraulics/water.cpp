// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/water.h"

#include <cmath>

namespace zorva::hydraulics {

bool waterTempInRange(double temp) {
    return temp >= kWaterTempMin && temp <= kWaterTempMax;
}

double waterDensity(double temp) {
    const double fromMaximum = temp - 3.9863; // water is densest near 4 ℃
    return 1000 *
           (1 - (temp + 288.9414) / (508929.2 * (temp + 68.12963)) * fromMaximum * fromMaximum);
}

double waterViscosity(double temp) {
    const double kelvin = temp + 273.15;
    if (!(kelvin > 140))
        return std::nan("");
    constexpr double ln10 = 2.302585092994045684;
    return 2.414e-5 * std::exp(ln10 * (247.8 / (kelvin - 140))); // 10^x
}

WaterProperties waterAt(double temp) {
    WaterProperties w;
    w.temp = temp;
    w.density = waterDensity(temp);
    w.viscosity = waterViscosity(temp);
    w.kinematicViscosity = w.viscosity / w.density;
    w.heatCapacity = kHeatCapacity;
    w.inRange = waterTempInRange(temp);
    return w;
}

} // namespace zorva::hydraulics
