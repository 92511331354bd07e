// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/en1264/atwater.h"

#include <cmath>

namespace zorva::en1264 {

namespace {

// A result that stops at the inputs, with what the method fills in by then.
En1264Result stopped(const En1264Inputs& in, En1264Applicability why) {
    En1264Result r;
    r.coveringResistance = in.coveringResistance;
    r.screedAbove = in.screedAbove;
    r.screedConductivity = in.screedConductivity;
    r.floorLimit = in.floorLimit;
    r.applicability = why;
    return r;
}

// The log-mean excess as en1264TypeA takes it, with its limit for equal
// supply and return.
double logMeanExcess(double supply, double ret, double room) {
    if (supply - ret < 1e-9)
        return (supply + ret) / 2 - room;
    return (supply - ret) / std::log((supply - room) / (ret - room));
}

} // namespace

En1264Result atWaterTemps(const En1264Result& floor, const En1264Inputs& in) {
    using A = En1264Applicability;
    // The method looks at every input's finiteness first, then the
    // construction, then the order of the temperatures, then the numbers
    // only the construction decides.
    if (!std::isfinite(in.supplyTemp) || !std::isfinite(in.returnTemp))
        return stopped(in, A::InvalidConstruction);
    if (floor.applicability == A::InvalidConstruction ||
        floor.applicability == A::NoScreedAbovePipe)
        return floor;
    if (!(in.supplyTemp >= in.returnTemp && in.returnTemp > in.roomTemp))
        return stopped(in, A::TemperatureOrder);
    // A floor without a characteristic stops here; one whose limit curve has
    // no value stops after the water's numbers, as the method does.
    const bool characteristic = std::isfinite(floor.characteristic) && floor.characteristic > 0;
    if (!floor.applicable() && !characteristic)
        return floor;
    En1264Result r = floor;
    r.applicability = A::Applicable;
    r.logMeanExcess = logMeanExcess(in.supplyTemp, in.returnTemp, in.roomTemp);
    r.heatFlux = r.characteristic * r.logMeanExcess;
    r.meanFloorTemp = en1264FloorTemp(r.heatFlux, in.roomTemp);
    r.withinLimit = r.heatFlux <= r.limitFlux && r.heatFlux <= r.limitFluxMax;
    r.downwardLoss.reset();
    if (in.downwardResistance && in.belowTemp)
        r.downwardLoss = (r.upwardResistance * r.heatFlux + in.roomTemp - *in.belowTemp) /
                         *in.downwardResistance;
    if (!std::isfinite(r.heatFlux) || !std::isfinite(r.meanFloorTemp) ||
        !std::isfinite(r.limitExcess) || !std::isfinite(r.limitFlux))
        r.applicability = A::OutsideMethodNumbers;
    return r;
}

} // namespace zorva::en1264
