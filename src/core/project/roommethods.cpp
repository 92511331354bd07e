// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/roommethods.h"

#include "core/en1264/below.h"
#include "core/engine/en1264.h"
#include "core/method/loopsetup.h"
#include "core/project/construction.h"

#include <algorithm>
#include <cmath>

namespace zorva::project {

LayingTemps layingTemps(method::Method method, const Settings& settings,
                        const ManifoldInput& manifold) {
    const bool designRoomMode = method == method::Method::En1264 &&
                                settings.standard.mode == en1264::DesignMode::DesignRoom;
    return {manifold.supplyTemp, designRoomMode ? settings.standard.designDrop : manifold.tempDiff};
}

rooms::DesignConditions designConditions(const RoomConditions& conditions, double supplyTemp) {
    rooms::DesignConditions c;
    c.supplyTemp = supplyTemp;
    c.spacings = conditions.spacings;
    c.maxLoopLength = conditions.maxLoopLength;
    c.maxPressureDrop = conditions.maxPressureDrop;
    return c;
}

rooms::Room designRoomOf(const Room& room, double loadForLoops) {
    rooms::Room r;
    r.name = room.name;
    r.category = room.category;
    r.indoorTemp = room.indoorTemp;
    r.floorArea = room.floorArea;
    r.heatedArea = room.heatedArea;
    r.coveringResistance = room.coveringResistance;
    switch (room.below.kind) {
    case en1264::BelowKind::HeatedRoom:
        r.below = rooms::SpaceBelow::HeatedRoom;
        break;
    case en1264::BelowKind::UnheatedRoom:
    case en1264::BelowKind::Ground:
        r.below = rooms::SpaceBelow::UnheatedOrGround;
        break;
    case en1264::BelowKind::OutdoorAir:
        r.below = rooms::SpaceBelow::Outdoors;
        break;
    }
    r.belowTemp = en1264::belowTemp(room.below, room.indoorTemp).value_or(room.indoorTemp);
    r.leaderLength = room.leaderLength;
    r.peripheral = room.peripheral;
    r.heatLoad = loadForLoops;
    r.overrides = room.overrides;
    return r;
}

namespace {

double zoneArea(const rooms::Room& room) {
    return room.peripheral ? room.peripheral->width * room.peripheral->length : 0;
}

// The loop the program's method runs for a spacing: the whole heated area
// laid at it, split into the fewest loops within the length limit (or the
// overriding count), each its share of the pipe plus the leaders.
double estimatedLoopLength(const RoomMethodContext& c, const rooms::Room& room, double spacing) {
    const double pipe = room.heatedArea / spacing;
    const double leaders = 2 * room.leaderLength;
    double count = 1;
    if (room.overrides.loopCount)
        count = std::max(1, *room.overrides.loopCount);
    else if (c.maxLoopLength > leaders)
        count = std::max(1.0, std::ceil(pipe / (c.maxLoopLength - leaders) * (1 - 1e-12)));
    return pipe / count + leaders;
}

method::LoopSetup programSetup(const RoomMethodContext& c, const rooms::Room& room, double spacing,
                               double length, bool peripheral) {
    method::LoopSetup s = method::loopSetup(c.construction, LoopInput{});
    s.supplyTemp = c.temps.supply;
    s.tempDiff = c.temps.drop;
    s.roomTemp = room.indoorTemp;
    s.spacingMm = spacing * 1000;
    s.lengthM = length;
    s.category = peripheral ? RoomCategory::Peripheral : room.category;
    return s;
}

rooms::FloorOutput programFloor(const RoomMethodContext& c, const rooms::FloorQuery& q) {
    const rooms::Room& room = *q.room;
    const double length = estimatedLoopLength(c, room, q.spacing);
    const method::MethodLoopResult r = c.runner->compute(
        method::Method::Program, programSetup(c, room, q.spacing, length, q.peripheral));
    if (!r.computed())
        return {};
    return {r.heatOutput, r.limitOutput, true};
}

rooms::FloorOutput standardFloor(const RoomMethodContext& c, const rooms::FloorQuery& q) {
    const rooms::Room& room = *q.room;
    const double limit = en1264::surfaceLimit(
        q.peripheral ? RoomCategory::Peripheral : room.category, room.indoorTemp);
    const En1264Result r =
        en1264TypeA(en1264::methodInputs(floorAt(c.construction, q.spacing), c.temps.supply,
                                         c.temps.supply - c.temps.drop, room.indoorTemp, limit));
    return {r.heatFlux, std::min(r.limitFlux, r.limitFluxMax), r.applicable()};
}

rooms::PressureOutput programDrop(const RoomMethodContext& c, const rooms::LoopQuery& q) {
    const method::MethodLoopResult r = c.runner->compute(
        method::Method::Program, programSetup(c, *q.room, q.spacing, q.length, false));
    if (!r.computed())
        return {};
    return {r.pressureDrop, true};
}

// The loop's flow by EN 1264-3, ṁ·c_W·σ = A·(q + q_u): the heat it gives
// the room and the downward loss of its share A of the heated area.
rooms::PressureOutput standardDrop(const RoomMethodContext& c, const rooms::LoopQuery& q) {
    const rooms::Room& room = *q.room;
    const Room& project = *c.room;
    const StandardDesign& s = c.settings->standard;
    const en1264::Floor floor = floorAt(c.construction, q.spacing);
    const double zone = zoneArea(room);
    const double pipe =
        (room.heatedArea - zone) / q.spacing + (zone > 0 ? zone / room.peripheral->spacing : 0);
    const double area = room.heatedArea * (q.length - 2 * room.leaderLength) / pipe;
    double waterHeat = q.heat;
    const std::optional<double> below = en1264::belowTemp(project.below, room.indoorTemp);
    const double downward = en1264::downwardResistance(project.below);
    if (below && area > 0 && q.heat > 0 && downward > 0) {
        const double loss = en1264::downwardLoss(en1264::upwardResistance(floor), q.heat / area,
                                                 room.indoorTemp, *below, downward);
        if (std::isfinite(loss))
            waterHeat += loss * area;
    }
    hydraulics::PipeFlowInput in;
    in.massFlow = std::max(0.0, waterHeat) / (hydraulics::kHeatCapacity * c.temps.drop);
    in.meanTemp = c.temps.supply - c.temps.drop / 2;
    in.innerDiameter = floor.innerDiameter();
    in.length = q.length;
    in.lossCoefficients =
        hydraulics::localLossSum(c.construction.elbows, s.connectionLoss, s.bendLoss);
    in.law = s.friction;
    in.roughness = s.roughness;
    const hydraulics::PipeFlow flow = hydraulics::pipeFlow(in);
    return {flow.pressureDrop / 1000, flow.computed() && std::isfinite(flow.pressureDrop)};
}

} // namespace

rooms::ThermalMethod thermalMethod(const RoomMethodContext& context) {
    const RoomMethodContext* c = &context;
    if (context.method == method::Method::Program)
        return [c](const rooms::FloorQuery& q) { return programFloor(*c, q); };
    return [c](const rooms::FloorQuery& q) { return standardFloor(*c, q); };
}

rooms::PressureMethod pressureMethod(const RoomMethodContext& context) {
    const RoomMethodContext* c = &context;
    if (context.method == method::Method::Program)
        return [c](const rooms::LoopQuery& q) { return programDrop(*c, q); };
    return [c](const rooms::LoopQuery& q) { return standardDrop(*c, q); };
}

} // namespace zorva::project
