// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/standardmanifold.h"

#include "core/en1264/design.h"
#include "core/en1264/designsteps.h"
#include "core/hydraulics/water.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace zorva::project {

namespace {

// The fixed pair designs every room on its own: one design per spacing,
// with that spacing as the only candidate, merged in the input's order.
en1264::ManifoldDesign designBySpacing(const en1264::ManifoldDesignInput& in) {
    std::map<double, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < in.rooms.size(); ++i)
        groups[in.rooms[i].floor.spacing].push_back(i);
    en1264::ManifoldDesign out =
        en1264::designManifold(en1264::ManifoldDesignInput{in.settings, {}, {}});
    out.rooms.assign(in.rooms.size(), {});
    out.loops.assign(in.loops.size(), {});
    out.notes.clear();
    for (const auto& [spacing, members] : groups) {
        en1264::ManifoldDesignInput sub;
        sub.settings = in.settings;
        sub.settings.candidateSpacings = {spacing};
        std::vector<std::size_t> position(in.rooms.size(), in.rooms.size());
        for (std::size_t j = 0; j < members.size(); ++j) {
            position[members[j]] = j;
            sub.rooms.push_back(in.rooms[members[j]]);
        }
        std::vector<std::size_t> loops;
        for (std::size_t l = 0; l < in.loops.size(); ++l)
            if (in.loops[l].room < in.rooms.size() && position[in.loops[l].room] < members.size()) {
                en1264::DesignLoop loop = in.loops[l];
                loop.room = position[loop.room];
                loop.crossedRoom.reset();
                sub.loops.push_back(loop);
                loops.push_back(l);
            }
        const en1264::ManifoldDesign d = en1264::designManifold(sub);
        out.clause = d.clause;
        for (std::size_t j = 0; j < members.size(); ++j)
            out.rooms[members[j]] = d.rooms[j];
        for (std::size_t k = 0; k < loops.size(); ++k) {
            out.loops[loops[k]] = d.loops[k];
            out.loops[loops[k]].room = in.loops[loops[k]].room;
        }
    }
    out.designSupplyTemp = in.settings.supplyTemp;
    const bool any = std::any_of(out.rooms.begin(), out.rooms.end(),
                                 [](const en1264::RoomDesign& r) { return r.designed(); });
    if (out.problem != en1264::DesignProblem::InvalidSettings)
        out.problem = any ? en1264::DesignProblem::None : en1264::DesignProblem::NoRoom;
    return out;
}

void addZone(const en1264::ManifoldDesignInput& in, const StandardZone& zone,
             en1264::ManifoldDesign& out) {
    if (zone.room >= out.rooms.size() || !(zone.area > 0))
        return;
    en1264::RoomDesign& r = out.rooms[zone.room];
    if (!r.designed() || !(r.drop > 0))
        return;
    const en1264::DesignRoom& room = in.rooms[zone.room];
    const double flux = zone.heat / zone.area;
    const double downward = en1264::downwardLoss(zone.upwardResistance, flux, room.roomTemp,
                                                 r.belowTemp, r.downwardResistance);
    const double waterHeat = zone.area * (flux + downward);
    if (!std::isfinite(waterHeat) || !(waterHeat > 0))
        return;
    const double massFlow = waterHeat / (hydraulics::kHeatCapacity * r.drop);
    r.massFlow += massFlow;
    r.roomOutput += zone.heat;
    r.waterOutput += waterHeat;
    const double density = hydraulics::waterDensity(out.designSupplyTemp);
    for (std::size_t i = 0; i < out.loops.size(); ++i) {
        en1264::LoopDesign& l = out.loops[i];
        if (!l.designed() || l.room != zone.room)
            continue;
        l.massFlow += massFlow / double(r.loops);
        l.flowKgh = l.massFlow * 3600;
        l.flowLpm = l.massFlow / density * 60000;
        hydraulics::PipeFlowInput p;
        p.massFlow = l.massFlow;
        p.meanTemp = l.meanWaterTemp;
        p.innerDiameter = l.innerDiameter;
        p.length = l.length;
        p.lossCoefficients = l.lossCoefficients;
        p.law = in.settings.friction;
        p.roughness = in.settings.roughness;
        l.hydraulics = hydraulics::pipeFlow(p);
        l.pressureDrop = l.hydraulics.pressureDrop / 1000;
        if (!l.hydraulics.computed())
            l.problem = en1264::LoopProblem::InvalidInput;
    }
}

} // namespace

en1264::ManifoldDesign designStandardManifold(const StandardManifold& manifold) {
    const en1264::ManifoldDesignInput& in = manifold.input;
    en1264::ManifoldDesign out = in.settings.mode == en1264::DesignMode::DesignRoom
                                     ? en1264::designManifold(in)
                                     : designBySpacing(in);
    for (const StandardZone& zone : manifold.zones)
        addZone(in, zone, out);
    out.totals = en1264::steps::totalsOf(out);
    out.notes.clear();
    en1264::steps::addNotes(in, out);
    return out;
}

} // namespace zorva::project
