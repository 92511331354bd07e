// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/field.h"

#include "core/cooling/dewpoint.h"
#include "core/cooling/watertemp.h"
#include "core/engine/curves.h"

#include <algorithm>
#include <cmath>

namespace zorva::cooling {

namespace {

FieldLine line(const LoopInputs& design, double spacing, double covering, bool current,
               const CoolingField& f, std::optional<double> floorMin) {
    FieldLine l;
    l.spacing = spacing;
    l.coveringResistance = covering;
    l.current = current;
    En1264Inputs construction = design.construction;
    construction.spacing = spacing;
    construction.coveringResistance = covering;
    l.characteristic = coolingCharacteristic(construction);
    if (!l.hasLine())
        return l;
    const double k = l.characteristic.cooling;
    const AdmissibleWater a = admissibleWater(k, f.rise, f.roomTemp, f.minSupplyTemp, floorMin);
    l.axisUnderTemp = f.axisUnderTemp;
    l.axisOutput = k * f.axisUnderTemp;
    l.admissibleUnderTemp = std::min(a.underTemp, f.axisUnderTemp);
    l.admissibleOutput = k * l.admissibleUnderTemp;
    return l;
}

} // namespace

CoolingField coolingField(const LoopInputs& design) {
    CoolingField f;
    const RoomConditions& room = design.room;
    const auto minSupply = lowestSupplyTemp(room.temp, room.humidity, room.dewMargin);
    const double rise = design.returnTemp - design.supplyTemp;
    if (!minSupply || !std::isfinite(rise) || !(rise >= 0))
        return f;
    const auto axis =
        logMeanUnderTemp(kLowestProposedSupplyTemp, kLowestProposedSupplyTemp + rise, room.temp);
    if (!axis)
        return f;
    f.valid = true;
    f.roomTemp = room.temp;
    f.rise = rise;
    f.axisUnderTemp = *axis;
    f.dewPoint = *dewPoint(room.temp, room.humidity);
    f.minSupplyTemp = *minSupply;
    f.dewLimitUnderTemp = logMeanUnderTemp(f.minSupplyTemp, f.minSupplyTemp + rise, room.temp);
    const auto floorMin = lowestFloorTemp(room.occupancy);
    const double floorLowest = floorMin ? std::max(*floorMin, f.minSupplyTemp) : f.minSupplyTemp;
    f.floorLimitedOutput = std::max(0.0, kBasicCoolingCoeff * (room.temp - floorLowest));

    const double spacing = design.construction.spacing;
    const double covering = design.construction.coveringResistance;
    bool spacingListed = false;
    for (const double mm : kFamilySpacings) {
        const bool current = mm / 1000 == spacing;
        spacingListed = spacingListed || current;
        f.spacing.push_back(line(design, mm / 1000, covering, current, f, floorMin));
    }
    if (!spacingListed)
        f.spacing.push_back(line(design, spacing, covering, true, f, floorMin));
    bool coveringListed = false;
    for (const double r : kFamilyCoverings) {
        const bool current = r == covering;
        coveringListed = coveringListed || current;
        f.covering.push_back(line(design, spacing, r, current, f, floorMin));
    }
    if (!coveringListed)
        f.covering.push_back(line(design, spacing, covering, true, f, floorMin));

    const auto own = std::find_if(f.spacing.begin(), f.spacing.end(),
                                  [](const FieldLine& l) { return l.current; });
    LoopInputs point = design;
    point.length = 0; // the design point is per m²
    const LoopResult loop = coolingLoop(point, own->characteristic);
    if (loop.applicable()) {
        f.designUnderTemp = loop.underTemp;
        f.designOutput = loop.coolingOutput;
    }
    return f;
}

} // namespace zorva::cooling
