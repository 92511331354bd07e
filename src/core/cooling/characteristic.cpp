// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/characteristic.h"

#include <algorithm>
#include <cmath>

namespace zorva::cooling {

namespace {

// The flags of a heating run that describe the construction rather than the
// covering of that run or the limit curve, which cooling does not use.
constexpr unsigned kConstructionFlags =
    SpacingBelowTables | SpacingWide | DiameterOutsideRange | ScreedThin;

// One heating run with the covering replaced. K_H does not depend on the
// water, so any valid heating temperatures serve; a floor limit at the room
// temperature leaves the limit curve without its powers.
En1264Result heatingRun(const En1264Inputs& construction, double covering) {
    En1264Inputs in = construction;
    in.coveringResistance = covering;
    // Equal supply and return take the log mean's limit, without a logarithm.
    in.supplyTemp = 21;
    in.returnTemp = 21;
    in.roomTemp = 20;
    in.floorLimit = in.roomTemp;
    in.downwardResistance.reset();
    in.belowTemp.reset();
    return en1264TypeA(in);
}

} // namespace

double convertToCooling(double bareHeating, double coveredHeating, double coveringResistance,
                        double extraResistance) {
    const double x = (extraResistance + coveringResistance) / kSecondRunCovering;
    return bareHeating / (1 + x * (bareHeating / coveredHeating - 1));
}

Characteristic coolingCharacteristic(const En1264Inputs& construction) {
    Characteristic c;
    c.coveringResistance = construction.coveringResistance;
    if (!std::isfinite(c.coveringResistance) || !(c.coveringResistance >= 0))
        return c; // InvalidConstruction
    const En1264Result bare = heatingRun(construction, 0);
    c.heating = bare.applicability;
    if (!bare.applicable())
        return c;
    const En1264Result covered = heatingRun(construction, kSecondRunCovering);
    c.heating = covered.applicability;
    if (!covered.applicable())
        return c;
    c.heatingFlags = (bare.flags | covered.flags) & kConstructionFlags;
    c.bareHeating = bare.characteristic;
    c.coveredHeating = covered.characteristic;
    c.coveringRatio = (kExtraSurfaceResistance + c.coveringResistance) / kSecondRunCovering;
    c.extrapolated = c.coveringRatio > 1;
    c.cooling = convertToCooling(c.bareHeating, c.coveredHeating, c.coveringResistance);
    if (!std::isfinite(c.cooling) || !(c.cooling > 0))
        c.heating = En1264Applicability::OutsideMethodNumbers;
    return c;
}

const Characteristic& CharacteristicCache::get(const En1264Inputs& c) {
    const std::array<double, 7> key{c.spacing,           c.diameter,    c.wallThickness,
                                    c.wallConductivity,  c.screedAbove, c.screedConductivity,
                                    c.coveringResistance};
    for (std::size_t i = 0; i < used_; ++i)
        if (entries_[i].key == key)
            return entries_[i].value;
    Entry& entry = entries_[next_];
    entry.key = key;
    entry.value = coolingCharacteristic(c);
    next_ = (next_ + 1) % kSize;
    used_ = std::max(used_, next_ == 0 ? kSize : next_);
    return entry.value;
}

} // namespace zorva::cooling
