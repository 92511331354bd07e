// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/room.h"

#include "core/cooling/watertemp.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva::cooling {

namespace {

bool sameConditions(const LoopResult& a, const LoopResult& b) {
    return a.supplyTemp == b.supplyTemp && a.returnTemp == b.returnTemp &&
           a.room.temp == b.room.temp && a.room.humidity == b.room.humidity &&
           a.room.dewMargin == b.room.dewMargin && a.room.occupancy == b.room.occupancy;
}

RoomApplicability applicability(std::span<const LoopResult> loops, double sensibleLoad) {
    using A = RoomApplicability;
    if (loops.empty())
        return A::NoLoops;
    for (const LoopResult& loop : loops) {
        if (!loop.applicable())
            return A::LoopNotApplicable;
        if (!sameConditions(loop, loops.front()))
            return A::MixedConditions;
    }
    if (!std::isfinite(sensibleLoad) || !(sensibleLoad >= 0))
        return A::Load;
    return A::Applicable;
}

void loadCheck(RoomResult& r) {
    r.load.id = CheckId::Load;
    r.load.value = r.admissibleOutput;
    r.load.limit = r.sensibleLoad;
    r.load.passed = r.loadMet;
}

} // namespace

RoomResult coolingRoom(std::span<const LoopResult> loops, double sensibleLoad) {
    RoomResult r;
    r.sensibleLoad = sensibleLoad;
    r.applicability = applicability(loops, sensibleLoad);
    if (!r.applicable())
        return r;
    // The loops share the water, so one Δθ_C for all; they may differ in
    // construction, so the room's conductance is Σ K_C·A_j.
    const LoopResult& first = loops.front();
    double conductance = 0;
    double highest = 0;
    bool oneCharacteristic = true;
    r.admissibleDesign = true;
    for (const LoopResult& loop : loops) {
        r.area += loop.area;
        r.roomOutput += loop.loopOutput;
        conductance += loop.characteristic.cooling * loop.area;
        highest = std::max(highest, loop.characteristic.cooling);
        oneCharacteristic =
            oneCharacteristic && loop.characteristic.cooling == first.characteristic.cooling;
        r.admissibleDesign = r.admissibleDesign && loop.admissibleDesign;
    }
    if (!(r.area > 0)) {
        r.applicability = RoomApplicability::NoLoops;
        return r;
    }
    const double room = first.room.temp;
    r.fluxNeeded = sensibleLoad / r.area;
    r.underTempNeeded = sensibleLoad / conductance;
    r.supplyForLoad = supplyForUnderTemp(r.underTempNeeded, first.rise, room);
    // A small load leaves the return a rounding away from the room; the
    // supply steps down until its water is one the method computes.
    for (int step = 0;
         step < 64 && !logMeanUnderTemp(r.supplyForLoad, r.supplyForLoad + first.rise, room);
         ++step)
        r.supplyForLoad = std::nextafter(r.supplyForLoad, -std::numeric_limits<double>::infinity());
    if (!std::isfinite(r.fluxNeeded) || !std::isfinite(r.supplyForLoad)) {
        // A load no floor of this size could carry by many orders.
        r = RoomResult{};
        r.sensibleLoad = sensibleLoad;
        r.applicability = RoomApplicability::Load;
        return r;
    }
    r.minSupplyTemp = first.minSupplyTemp;

    r.admissible =
        admissibleWater(highest, first.rise, room, first.minSupplyTemp, first.floorTempMin);
    // One construction: q_dew·A and q_F,lim·A. Several: each loop's share at
    // the common admissible under-temperature.
    r.dewLimitedOutput = oneCharacteristic ? first.dewLimitedOutput * r.area
                                           : conductance * r.admissible.dewUnderTemp;
    r.floorLimitedOutput = oneCharacteristic ? r.admissible.floorLimitedOutput * r.area
                                             : conductance * r.admissible.floorUnderTemp;
    r.maxAdmissibleOutput = r.admissible.limit == Limit::LowestWater
                                ? conductance * r.admissible.underTemp
                                : std::min(r.dewLimitedOutput, r.floorLimitedOutput);

    r.admissibleOutput = r.admissibleDesign ? r.roomOutput : r.maxAdmissibleOutput;
    r.loadMet = r.admissibleOutput >= sensibleLoad;
    if (!r.loadMet) {
        r.shortfall = sensibleLoad - r.admissibleOutput;
        if (sensibleLoad <= r.maxAdmissibleOutput)
            r.reason = Shortfall::SupplyTooWarm;
        else if (r.admissible.limit == Limit::DewPoint)
            r.reason = Shortfall::DewPoint;
        else if (r.admissible.limit == Limit::FloorTemp)
            r.reason = Shortfall::FloorTemp;
        else
            r.reason = Shortfall::LowestWater;
    }
    if (sensibleLoad > 0 && r.admissible.supplyTemp) {
        double proposed = std::max(r.supplyForLoad, *r.admissible.supplyTemp);
        // A load so small that its water is not computable at this rise:
        // the admissible supply is the one to offer.
        if (!logMeanUnderTemp(proposed, proposed + first.rise, room))
            proposed = *r.admissible.supplyTemp;
        r.proposedSupplyTemp = proposed;
    }
    loadCheck(r);
    return r;
}

LoopSums sumLoops(std::span<const LoopResult> loops) {
    LoopSums s;
    double flow = 0;
    bool allFlows = true;
    for (const LoopResult& loop : loops) {
        if (!loop.applicable()) {
            ++s.notApplicable;
            continue;
        }
        ++s.loops;
        s.area += loop.area;
        s.output += loop.loopOutput;
        s.waterLoad += loop.waterLoad;
        s.belowCounted = s.belowCounted && loop.belowCounted;
        if (loop.flow)
            flow += *loop.flow;
        else
            allFlows = false;
    }
    if (allFlows)
        s.flow = flow;
    return s;
}

} // namespace zorva::cooling
