// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/loop.h"

#include "core/cooling/dewpoint.h"
#include "core/cooling/watertemp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorva::cooling {

namespace {

Applicability applicability(const LoopInputs& in, const Characteristic& c) {
    using A = Applicability;
    if (!c.applicable())
        return A::Construction;
    if (!validRoomAir(in.room.temp, in.room.humidity))
        return A::RoomAir;
    if (!std::isfinite(in.room.dewMargin) || !(in.room.dewMargin >= kLowestDewMargin))
        return A::DewMargin;
    if (!logMeanUnderTemp(in.supplyTemp, in.returnTemp, in.room.temp))
        return A::TemperatureOrder;
    if (!(in.supplyTemp > kRefusedSupplyTemp))
        return A::SupplyTooCold;
    if (!std::isfinite(in.length) || !(in.length >= 0))
        return A::Length;
    const auto& below = in.construction;
    if (below.downwardResistance.has_value() != below.belowTemp.has_value())
        return A::SpaceBelow;
    if (below.downwardResistance &&
        (!std::isfinite(*below.downwardResistance) || !(*below.downwardResistance > 0) ||
         !std::isfinite(*below.belowTemp)))
        return A::SpaceBelow;
    return A::Applicable;
}

Check lowerBound(CheckId id, double value, double limit) {
    Check c;
    c.id = id;
    c.value = value;
    c.limit = limit;
    c.passed = value >= limit;
    return c;
}

void runChecks(LoopResult& r) {
    Check supply = lowerBound(CheckId::SupplyDew, r.supplyTemp, r.minSupplyTemp);
    supply.belowDewPoint = r.supplyTemp < r.dewPoint;
    r.checks[0] = supply;
    r.checks[1] = lowerBound(CheckId::FloorDew, r.floorTempMean, r.minSupplyTemp);
    r.checks[2] = lowerBound(CheckId::InletDew, r.floorTempInlet, r.minSupplyTemp);
    if (r.floorTempMin) {
        r.checks[3] = lowerBound(CheckId::FloorComfort, r.floorTempMean, *r.floorTempMin);
    } else {
        Check comfort;
        comfort.id = CheckId::FloorComfort;
        comfort.checked = false;
        comfort.passed = true;
        comfort.value = r.floorTempMean;
        r.checks[3] = comfort;
    }
    Check rise = lowerBound(CheckId::Rise, r.rise, kLowestRise);
    rise.upperLimit = kHighestRise;
    rise.passed = r.rise >= kLowestRise && r.rise <= kHighestRise;
    r.checks[4] = rise;
    r.admissibleDesign = std::all_of(r.checks.begin(), r.checks.begin() + 4,
                                     [](const Check& c) { return c.passed; });
}

// Heat from below, the upward share, the water load, flow and velocity.
void waterSide(const LoopInputs& in, LoopResult& r) {
    const En1264Inputs& con = in.construction;
    r.upwardResistance = 1 / kCoolingSurfaceCoeff + con.coveringResistance +
                         con.screedAbove / con.screedConductivity;
    double below = 0;
    if (con.downwardResistance) {
        r.belowCounted = true;
        below = (r.upwardResistance * r.coolingOutput + *con.belowTemp - r.room.temp) /
                *con.downwardResistance;
        r.downwardOutput = below;
        const double total = r.coolingOutput + below;
        if (total > 0)
            r.upwardShare = r.coolingOutput / total;
    }
    r.waterLoad = (r.coolingOutput + below) * r.area;
    // The water must warm by σ while taking up the load; with no rise, or a
    // load that would cool the water, no flow carries the design.
    if (r.rise < kTinyRise || r.waterLoad < 0)
        return;
    r.flow = r.waterLoad / kWaterHeatCapacity / r.rise * 3.6;
    const double inner = con.diameter - 2 * con.wallThickness;
    r.velocity = (*r.flow / 3600 / 1000) / (std::numbers::pi / 4 * inner * inner);
}

LoopResult refused(const LoopResult& computed, Applicability why) {
    LoopResult r;
    r.characteristic = computed.characteristic;
    r.supplyTemp = computed.supplyTemp;
    r.returnTemp = computed.returnTemp;
    r.room = computed.room;
    r.applicability = why;
    return r;
}

} // namespace

std::string_view checkCode(CheckId id) {
    switch (id) {
    case CheckId::SupplyDew:
        return "D1";
    case CheckId::FloorDew:
        return "D2";
    case CheckId::InletDew:
        return "D3";
    case CheckId::FloorComfort:
        return "F1";
    case CheckId::Rise:
        return "R1";
    case CheckId::Load:
        break;
    }
    return "L1";
}

CheckKind checkKind(CheckId id) {
    switch (id) {
    case CheckId::Rise:
        return CheckKind::Advice;
    case CheckId::Load:
        return CheckKind::Warning;
    default:
        return CheckKind::Required;
    }
}

std::string_view checkClause(CheckId id, Occupancy occupancy) {
    switch (id) {
    case CheckId::SupplyDew:
    case CheckId::FloorDew:
    case CheckId::InletDew:
        return clause::kDewMargin;
    case CheckId::FloorComfort:
        return floorTempClause(occupancy);
    case CheckId::Rise:
        return clause::kRise;
    case CheckId::Load:
        break;
    }
    return clause::kMethod;
}

LoopInputs loopInputs(const en1264::Floor& floor, double supplyTemp, double returnTemp,
                      const RoomConditions& room, double length,
                      const std::optional<en1264::Below>& below) {
    LoopInputs in;
    // The heating inputs' water and floor limit are not read in cooling.
    in.construction = en1264::methodInputs(floor, supplyTemp, returnTemp, room.temp, room.temp);
    in.supplyTemp = supplyTemp;
    in.returnTemp = returnTemp;
    in.room = room;
    in.length = length;
    if (below) {
        if (const auto temp = en1264::belowTemp(*below, room.temp)) {
            in.construction.downwardResistance = en1264::downwardResistance(*below);
            in.construction.belowTemp = *temp;
        }
    }
    return in;
}

LoopResult coolingLoop(const LoopInputs& in) {
    return coolingLoop(in, coolingCharacteristic(in.construction));
}

LoopResult coolingLoop(const LoopInputs& in, const Characteristic& characteristic) {
    LoopResult r;
    r.characteristic = characteristic;
    r.supplyTemp = in.supplyTemp;
    r.returnTemp = in.returnTemp;
    r.room = in.room;
    r.applicability = applicability(in, characteristic);
    if (!r.applicable())
        return r;
    const double k = characteristic.cooling;
    const double room = in.room.temp;

    r.rise = in.returnTemp - in.supplyTemp;
    r.underTemp = *logMeanUnderTemp(in.supplyTemp, in.returnTemp, room);
    r.coolingOutput = k * r.underTemp;
    r.floorTempMean = coolingFloorTemp(r.coolingOutput, room);
    r.inletOutput = k * (room - in.supplyTemp);
    r.floorTempInlet = coolingFloorTemp(r.inletOutput, room);

    r.dewPoint = *dewPoint(room, in.room.humidity);
    r.minSupplyTemp = r.dewPoint + in.room.dewMargin;
    r.floorTempMin = lowestFloorTemp(in.room.occupancy);
    r.admissible = admissibleWater(k, r.rise, room, r.minSupplyTemp, r.floorTempMin);
    r.floorTempLowest = r.admissible.floorLowest;
    r.dewLimitedOutput = k * r.admissible.dewUnderTemp;
    r.floorLimitedOutput = r.admissible.floorLimitedOutput;
    r.maxAdmissibleOutput = r.admissible.limit == Limit::LowestWater
                                ? k * r.admissible.underTemp
                                : std::min(r.dewLimitedOutput, r.floorLimitedOutput);

    r.area = in.length * in.construction.spacing;
    r.loopOutput = r.coolingOutput * r.area;
    waterSide(in, r);
    // Lengths and resistances that are numbers can still carry a product
    // beyond the doubles; such a loop has no numbers rather than infinite ones.
    if (r.downwardOutput && !std::isfinite(*r.downwardOutput))
        return refused(r, Applicability::SpaceBelow);
    if (!std::isfinite(r.loopOutput) || !std::isfinite(r.waterLoad) ||
        !std::isfinite(r.flow.value_or(0)) || !std::isfinite(r.velocity.value_or(0)))
        return refused(r, Applicability::Length);
    runChecks(r);
    return r;
}

} // namespace zorva::cooling
