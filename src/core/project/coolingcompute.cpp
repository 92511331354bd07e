// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/coolingcompute.h"

#include "core/cooling/characteristic.h"
#include "core/cooling/dewpoint.h"
#include "core/project/construction.h"

#include <algorithm>

namespace zorva::project {

namespace {

cooling::RoomConditions conditionsOf(const RoomCooling& room, double dewMargin) {
    cooling::RoomConditions c;
    c.temp = room.roomTemp;
    c.humidity = room.humidity;
    c.dewMargin = dewMargin;
    c.occupancy = room.occupancy;
    return c;
}

// The space below as cooling reads it: a heated room is at the room's own
// temperature in summer too; the winter temperature of any other space says
// nothing about summer, so its heat is left out (未计下层传热).
std::optional<en1264::Below> summerBelow(const en1264::Below& below) {
    if (below.kind != en1264::BelowKind::HeatedRoom)
        return std::nullopt;
    return below;
}

cooling::LoopResult loopOf(const ManifoldInput& construction, const ProjectLoop& loop,
                           const ManifoldCooling& water, const RoomCooling& room, double dewMargin,
                           const en1264::Below& below, cooling::CharacteristicCache& cache) {
    const en1264::Floor floor = floorAt(construction, loop.input.spacingMm / 1000);
    const cooling::LoopInputs in =
        cooling::loopInputs(floor, water.supplyTemp, water.returnTemp,
                            conditionsOf(room, dewMargin), loop.input.lengthM, summerBelow(below));
    return cooling::coolingLoop(in, cache.get(in.construction));
}

CoolingManifoldResult manifoldOf(const Project& p, std::size_t index, const ManifoldResult& heating,
                                 double dewMargin, cooling::CharacteristicCache& cache) {
    const Manifold& m = p.manifolds[index];
    CoolingManifoldResult out;
    out.water = m.cooling;
    out.loops.reserve(heating.loops.size());
    const RoomCooling manualRoom;
    for (const ProjectLoop& loop : heating.loops) {
        if (loop.origin == LoopOrigin::Manual) {
            out.loops.push_back(
                loopOf(m.input, loop, m.cooling, manualRoom, dewMargin, m.manualBelow, cache));
            continue;
        }
        const Room& room = p.rooms[loop.source];
        out.loops.push_back(loopOf(withCovering(m.input, room.coveringResistance), loop, m.cooling,
                                   room.cooling, dewMargin, room.below, cache));
    }
    out.sums = cooling::sumLoops(out.loops);
    out.coolingFlowKgh = out.sums.flow;
    out.heatingFlowKgh = heating.totals.flowKgh;
    const bool coolingOnly = p.settings.cooling.season == Season::Cooling;
    out.sizing = coolingOnly || out.coolingFlowKgh.value_or(0) > out.heatingFlowKgh
                     ? SizingSeason::Cooling
                     : SizingSeason::Heating;
    out.failedLoops = int(std::count_if(out.loops.begin(), out.loops.end(), [](const auto& l) {
        return l.applicable() && !l.admissibleDesign;
    }));
    return out;
}

CoolingRoomResult roomOf(const Project& p, std::size_t index, const RoomResult& heating,
                         const std::vector<CoolingManifoldResult>& manifolds, double dewMargin) {
    const Room& room = p.rooms[index];
    CoolingRoomResult out;
    out.input = room.cooling;
    out.loadGiven = room.cooling.sensibleLoad.has_value();
    out.dewPoint = cooling::dewPoint(room.cooling.roomTemp, room.cooling.humidity);
    out.minSupplyTemp =
        cooling::lowestSupplyTemp(room.cooling.roomTemp, room.cooling.humidity, dewMargin);
    if (!heating.designed() || heating.loops.empty() || heating.manifold >= manifolds.size()) {
        out.problem = CoolingRoomProblem::NotLaid;
        return out;
    }
    const CoolingManifoldResult& manifold = manifolds[heating.manifold];
    std::vector<cooling::LoopResult> loops;
    loops.reserve(heating.loops.size());
    for (std::size_t position : heating.loops)
        loops.push_back(manifold.loops[position]);
    out.room = cooling::coolingRoom(loops, room.cooling.sensibleLoad.value_or(0));
    out.problem = out.room.applicable() ? CoolingRoomProblem::None : CoolingRoomProblem::NoNumbers;
    return out;
}

CoolingTotals totalsOf(const CoolingResult& r) {
    CoolingTotals t;
    for (const CoolingRoomResult& room : r.rooms) {
        if (!room.computed())
            continue;
        ++t.rooms;
        t.admissibleOutput += room.room.admissibleOutput;
        if (!room.loadGiven)
            continue;
        t.sensibleLoad += room.room.sensibleLoad;
        t.shortfall += room.room.shortfall;
        if (!room.room.loadMet)
            ++t.roomsNotMet;
    }
    for (const CoolingManifoldResult& m : r.manifolds) {
        t.output += m.sums.output;
        t.waterLoad += m.sums.waterLoad;
        for (const cooling::LoopResult& l : m.loops)
            if (l.applicable() && l.flow)
                t.flowKgh += *l.flow;
    }
    return t;
}

} // namespace

CoolingResult computeCooling(const Project& project, const ProjectResult& heating) {
    CoolingResult out;
    out.season = project.settings.cooling.season;
    out.dewMargin = project.settings.cooling.dewMargin;
    out.computed = coolsIn(out.season) && !heating.cancelled;
    if (!out.computed)
        return out;
    cooling::CharacteristicCache cache;
    out.manifolds.reserve(heating.manifolds.size());
    for (std::size_t i = 0; i < heating.manifolds.size() && i < project.manifolds.size(); ++i)
        out.manifolds.push_back(manifoldOf(project, i, heating.manifolds[i], out.dewMargin, cache));
    out.rooms.reserve(heating.rooms.size());
    for (std::size_t i = 0; i < heating.rooms.size() && i < project.rooms.size(); ++i)
        out.rooms.push_back(roomOf(project, i, heating.rooms[i], out.manifolds, out.dewMargin));
    out.totals = totalsOf(out);
    return out;
}

} // namespace zorva::project
