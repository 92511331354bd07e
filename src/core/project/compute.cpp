// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/compute.h"

#include "core/project/construction.h"
#include "core/project/coolingcompute.h"
#include "core/project/hydraulicscompute.h"
#include "core/project/manifoldcompute.h"
#include "core/project/rebalancecompute.h"
#include "core/project/roomload.h"
#include "core/project/roommethods.h"

#include <algorithm>

namespace zorva::project {

namespace {

RoomResult designProjectRoom(const Project& p, const Room& room, const ClimateValues& climate,
                             method::Method method, method::LoopMethodRunner& runner) {
    RoomResult r;
    r.manifold = room.manifold;
    r.load = roomLoad(p, room, climate);
    r.design.name = room.name;
    if (!r.load.ok()) {
        r.problem = RoomProblem::Load;
        return r;
    }
    if (room.manifold >= p.manifolds.size()) {
        r.problem = RoomProblem::NoManifold;
        return r;
    }
    const ManifoldInput& manifold = p.manifolds[room.manifold].input;
    RoomMethodContext context;
    context.method = method;
    context.settings = &p.settings;
    context.room = &room;
    context.construction = withCovering(manifold, room.coveringResistance);
    context.temps = layingTemps(method, p.settings, manifold);
    context.maxLoopLength = p.settings.conditions.maxLoopLength;
    context.runner = &runner;
    r.design = rooms::designRoom(designRoomOf(room, r.load.loadForLoops),
                                 designConditions(p.settings.conditions, context.temps.supply),
                                 thermalMethod(context), pressureMethod(context));
    r.problem =
        r.design.status == rooms::RoomStatus::NotDesigned ? RoomProblem::Design : RoomProblem::None;
    r.supplementaryHeat = r.design.supplementaryHeat;
    return r;
}

ProjectTotals totalsOf(const ProjectResult& result) {
    ProjectTotals t;
    t.rooms = result.rooms.size();
    for (const RoomResult& r : result.rooms) {
        if (r.load.ok())
            t.heatLoad += r.load.heatLoad;
        if (r.designed()) {
            ++t.roomsDesigned;
        }
    }
    for (const ManifoldResult& m : result.manifolds) {
        t.loops += m.totals.loops;
        t.computed += m.totals.computed;
        t.output += m.totals.output;
        t.waterOutput += m.totals.waterOutput;
        t.flowKgh += m.totals.flowKgh;
        t.supplementaryHeat += m.totals.supplementaryHeat;
    }
    return t;
}

} // namespace

ProjectResult computeProject(const Project& project, const ComputeOptions& options) {
    ProjectResult out;
    out.method = options.method.value_or(project.settings.method);
    out.loadMethod = project.settings.heatLoad.method;
    const bool anyComputed =
        std::any_of(project.rooms.begin(), project.rooms.end(),
                    [&](const Room& room) { return loadComputed(project, room); });
    ClimateValues climate;
    if (anyComputed) {
        climate = climateValues(project.settings.heatLoad.climate, options.cities);
        out.outdoorTemp = climate.outdoorTemp;
        out.winterSunshine = climate.winterSunshine;
    }
    const std::size_t steps = project.rooms.size() + project.manifolds.size();
    std::size_t done = 0;
    const auto proceed = [&] {
        if (options.progress && !options.progress(done, steps)) {
            out.cancelled = true;
            return false;
        }
        ++done;
        return true;
    };
    method::LoopMethodRunner runner;
    out.rooms.reserve(project.rooms.size());
    for (const Room& room : project.rooms) {
        if (!proceed())
            return out;
        out.rooms.push_back(designProjectRoom(project, room, climate, out.method, runner));
    }
    routeProjectRooms(project, out.rooms, options.parallel,
                      options.previous ? &options.previous->rooms : nullptr);
    out.manifolds.reserve(project.manifolds.size());
    for (std::size_t i = 0; i < project.manifolds.size(); ++i) {
        if (!proceed())
            return out;
        out.manifolds.push_back(computeManifold(project, i, out.method, out.rooms, runner));
    }
    if (options.progress)
        options.progress(done, steps);
    out.totals = totalsOf(out);
    computeHydraulics(project, out);
    computeRebalance(project, out);
    out.cooling = computeCooling(project, out);
    return out;
}

} // namespace zorva::project
