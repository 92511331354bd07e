// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/admissible.h"

#include "core/cooling/limits.h"
#include "core/cooling/watertemp.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva::cooling {

namespace {

// Δθ_C at a supply and rise, 0 where the return is not below the room.
double underTempAt(double supply, double rise, double roomTemp) {
    return logMeanUnderTemp(supply, supply + rise, roomTemp).value_or(0);
}

// The floor's mean and inlet-strip temperatures at `supply` keep their
// lower bounds.
bool floorHolds(double cooling, double supply, double rise, double roomTemp, double floorLowest,
                double minSupplyTemp) {
    const double mean = coolingFloorTemp(cooling * underTempAt(supply, rise, roomTemp), roomTemp);
    const double inlet = coolingFloorTemp(cooling * (roomTemp - supply), roomTemp);
    return mean >= floorLowest && inlet >= minSupplyTemp;
}

// The inverse, and the inlet bound, may land a few bits on the cold side of
// a limit, and where the return lies within a hair of the room the water's
// digits are too few for the inverse at all; a proposal must pass the checks
// as they are evaluated. So: a few bits up, else bisection between `supply`
// and `upper` (the return at the room temperature) on the doubles.
template <typename Holds>
std::optional<double> holdingSupply(double supply, double upper, const Holds& holds) {
    const double up = std::numeric_limits<double>::infinity();
    for (int step = 0; step < 4; ++step) {
        if (holds(supply))
            return supply;
        supply = std::nextafter(supply, up);
    }
    double lo = supply;
    double hi = upper;
    if (!(hi > lo) || !holds(hi))
        return std::nullopt;
    for (int step = 0; step < 128; ++step) {
        const double mid = lo + (hi - lo) / 2;
        if (!(mid > lo && mid < hi))
            break;
        (holds(mid) ? hi : lo) = mid;
    }
    return hi;
}

} // namespace

double coolingFloorTemp(double coolingOutput, double roomTemp) {
    return roomTemp - coolingOutput / kBasicCoolingCoeff;
}

AdmissibleWater admissibleWater(double cooling, double rise, double roomTemp, double minSupplyTemp,
                                std::optional<double> floorMin) {
    AdmissibleWater a;
    // The inlet strip θ_i − K_C·(θ_i − θ_V)/7 reaches θ_d + Δθ_s at this
    // supply; below the water's own bound whenever K_C ≤ 7.
    const double inletBound = roomTemp - kBasicCoolingCoeff * (roomTemp - minSupplyTemp) / cooling;
    a.dewSupplyTemp = std::max(minSupplyTemp, inletBound);
    a.dewUnderTemp = underTempAt(a.dewSupplyTemp, rise, roomTemp);
    a.floorLowest = floorMin ? std::max(*floorMin, minSupplyTemp) : minSupplyTemp;
    a.floorLimitedOutput = std::max(0.0, kBasicCoolingCoeff * (roomTemp - a.floorLowest));
    a.floorUnderTemp = a.floorLimitedOutput / cooling;

    a.limit = a.dewUnderTemp <= a.floorUnderTemp ? Limit::DewPoint : Limit::FloorTemp;
    a.underTemp = std::min(a.dewUnderTemp, a.floorUnderTemp);
    if (!(a.underTemp > 0))
        return a;
    double supply = a.dewSupplyTemp;
    if (a.limit == Limit::FloorTemp)
        supply = std::max(a.dewSupplyTemp, supplyForUnderTemp(a.underTemp, rise, roomTemp));
    const auto holds = [&](double s) {
        return floorHolds(cooling, s, rise, roomTemp, a.floorLowest, minSupplyTemp);
    };
    const auto holding = holdingSupply(supply, roomTemp - rise, holds);
    if (!holding) {
        a.underTemp = 0;
        return a;
    }
    supply = *holding;
    if (supply < kLowestProposedSupplyTemp) {
        supply = kLowestProposedSupplyTemp;
        a.limit = Limit::LowestWater;
    }
    a.underTemp = underTempAt(supply, rise, roomTemp);
    if (a.underTemp > 0)
        a.supplyTemp = supply;
    return a;
}

} // namespace zorva::cooling
