// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/manifoldcompute.h"

#include "core/method/loopsetup.h"
#include "core/project/construction.h"
#include "core/project/standardmanifold.h"

#include <algorithm>
#include <cmath>

namespace zorva::project {

namespace {

struct Gathered {
    std::vector<method::LoopSetup> setups;    // per loop
    std::vector<ManifoldInput> constructions; // per loop: with its room's covering
};

// The manual loops first, then the loops of the rooms the manifold serves.
Gathered gatherLoops(const Project& p, std::size_t index, std::vector<RoomResult>& rooms,
                     ManifoldResult& out) {
    const Manifold& m = p.manifolds[index];
    Gathered g;
    for (std::size_t j = 0; j < m.loops.size(); ++j) {
        ProjectLoop loop;
        loop.name = m.loops[j].input.name;
        loop.origin = LoopOrigin::Manual;
        loop.source = j;
        loop.input = m.loops[j].input;
        method::LoopSetup setup = method::loopSetup(m.input, loop.input);
        setup.below = m.manualBelow;
        out.loops.push_back(std::move(loop));
        g.setups.push_back(setup);
        g.constructions.push_back(m.input);
    }
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        RoomResult& r = rooms[i];
        if (!r.designed() || r.manifold != index)
            continue;
        const Room& room = p.rooms[i];
        const ManifoldInput construction = withCovering(m.input, room.coveringResistance);
        const double count = double(r.design.loops.size());
        for (std::size_t n = 0; n < r.design.loops.size(); ++n) {
            const rooms::RoomLoop& designed = r.design.loops[n];
            ProjectLoop loop;
            loop.name = designed.name;
            loop.origin = LoopOrigin::Room;
            loop.source = i;
            loop.number = n;
            loop.category = room.category;
            loop.input.name = designed.name;
            loop.input.roomTemp = room.indoorTemp;
            loop.input.spacingMm = r.design.spacing * 1000;
            loop.input.lengthM = designed.length;
            loop.input.loadW = r.design.heatLoad / count;
            method::LoopSetup setup = method::loopSetup(construction, loop.input);
            setup.category = room.category;
            setup.below = room.below;
            r.loops.push_back(out.loops.size());
            out.loops.push_back(std::move(loop));
            g.setups.push_back(setup);
            g.constructions.push_back(construction);
        }
    }
    return g;
}

double usableShortfall(const ProjectLoop& l, double output, double limitOutput, double area) {
    if (!l.input.loadW)
        return 0;
    return std::max(0.0, *l.input.loadW - std::min(output, limitOutput * area));
}

// The program's method: every loop its own whole run at the manifold's
// temperatures; balancing and totals as the manifold sheet makes them.
void byProgram(const Project& p, std::size_t index, const Gathered& g, ManifoldResult& out) {
    const Manifold& m = p.manifolds[index];
    std::vector<LoopResult> runs;
    runs.reserve(out.loops.size());
    for (std::size_t i = 0; i < out.loops.size(); ++i) {
        ProjectLoop& l = out.loops[i];
        const method::MethodLoopResult& s = l.sheet;
        runs.push_back(s.program.value_or(LoopResult{}));
        l.computed = s.computed();
        if (!l.computed)
            continue;
        LoopFigures& f = l.figures;
        f.supplyTemp = g.setups[i].supplyTemp;
        f.drop = g.setups[i].tempDiff;
        f.returnTemp = f.supplyTemp - f.drop;
        f.area = s.area;
        f.length = l.input.lengthM;
        f.heatOutput = s.heatOutput;
        f.floorTempMean = s.floorTempMean;
        f.floorLimit = s.floorLimit;
        f.limitOutput = s.limitOutput;
        f.withinLimit = s.withinLimit;
        f.loopOutput = s.loopOutput;
        f.flowKgh = s.flowKgh;
        f.flowLpm = s.flowLpm;
        f.velocity = s.velocity;
        f.pressureDrop = s.pressureDrop;
        f.supplementaryHeat = usableShortfall(l, s.loopOutput, s.limitOutput, s.area);
    }
    balance(runs);
    const zorva::ManifoldTotals t = manifoldTotals(m.input, runs);
    for (std::size_t i = 0; i < out.loops.size(); ++i) {
        out.loops[i].indexLoop = runs[i].indexLoop;
        out.loops[i].valveKpa = runs[i].valveKpa;
        out.loops[i].meterLpm = runs[i].meterLpm;
    }
    ManifoldTotals& total = out.totals;
    total.supplyTemp = m.input.supplyTemp;
    total.area = t.area;
    total.output = total.waterOutput = t.output;
    total.flowKgh = t.flowKgh;
    total.flowLpm = t.flowLpm;
    total.indexLoop = t.indexLoop;
    total.maxPressureDrop = t.maxResistance;
    total.pumpHeadKpa = t.pumpHeadKpa;
    total.pumpHeadM = t.pumpHeadM;
}

StandardManifold standardInput(const Project& p, std::size_t index,
                               const std::vector<RoomResult>& rooms, const Gathered& g,
                               const ManifoldResult& out) {
    const Manifold& m = p.manifolds[index];
    const StandardDesign& s = p.settings.standard;
    StandardManifold sm;
    en1264::DesignSettings& settings = sm.input.settings;
    settings.mode = s.mode;
    settings.designDrop = s.designDrop;
    settings.minimumDrop = s.minimumDrop;
    settings.supplyTemp = m.input.supplyTemp;
    settings.returnTemp = m.input.supplyTemp - m.input.tempDiff;
    settings.candidateSpacings = p.settings.conditions.spacings;
    settings.friction = s.friction;
    settings.roughness = s.roughness;
    settings.connectionLoss = s.connectionLoss;
    settings.bendLoss = s.bendLoss;
    std::vector<std::size_t> designRoomOf(rooms.size(), 0);
    for (std::size_t i = 0; i < out.loops.size(); ++i) {
        const ProjectLoop& l = out.loops[i];
        const method::LoopSetup& setup = g.setups[i];
        if (l.origin == LoopOrigin::Manual) {
            en1264::DesignRoom room;
            room.name = l.name;
            room.roomTemp = l.input.roomTemp;
            room.heatLoad = l.input.loadW.value_or(0);
            room.area = l.input.lengthM * l.input.spacingMm / 1000;
            room.category = setup.category;
            room.floor = floorAt(g.constructions[i], l.input.spacingMm / 1000);
            room.below = m.manualBelow;
            sm.input.loops.push_back({l.name, sm.input.rooms.size(), 0, m.input.elbows,
                                      l.input.lengthM, std::nullopt, 0});
            sm.input.rooms.push_back(std::move(room));
            continue;
        }
        const RoomResult& r = rooms[l.source];
        if (l.number == 0) {
            const Room& projectRoom = p.rooms[l.source];
            const rooms::RoomDesign& d = r.design;
            en1264::DesignRoom room;
            room.name = projectRoom.name;
            room.roomTemp = projectRoom.indoorTemp;
            // The loops give what their laying gives; the loop design's
            // shortfall is the room's already.
            room.heatLoad = d.deliveredHeat;
            room.otherHeat = d.peripheralHeat;
            room.area = d.heatedArea - d.peripheralArea;
            room.category = projectRoom.category;
            room.floor = floorAt(g.constructions[i], d.spacing);
            room.below = projectRoom.below;
            designRoomOf[l.source] = sm.input.rooms.size();
            if (d.peripheralArea > 0)
                sm.zones.push_back(
                    {sm.input.rooms.size(), d.peripheralArea, d.peripheralHeat,
                     en1264::upwardResistance(floorAt(g.constructions[i], d.peripheralSpacing))});
            sm.input.rooms.push_back(std::move(room));
        }
        sm.input.loops.push_back({l.name, designRoomOf[l.source], p.rooms[l.source].leaderLength,
                                  m.input.elbows, l.input.lengthM, std::nullopt, 0});
    }
    return sm;
}

// EN 1264-2: the figures are the EN 1264-3 design's.
void byStandard(const Project& p, std::size_t index, std::vector<RoomResult>& rooms,
                const Gathered& g, ManifoldResult& out) {
    const Manifold& m = p.manifolds[index];
    const StandardManifold sm = standardInput(p, index, rooms, g, out);
    out.design = designStandardManifold(sm);
    const en1264::ManifoldDesign& d = *out.design;
    out.designAboveSupply = d.designed() && d.mode == en1264::DesignMode::DesignRoom &&
                            d.designSupplyTemp > m.input.supplyTemp * (1 + 1e-12);
    ManifoldTotals& total = out.totals;
    for (std::size_t i = 0; i < out.loops.size(); ++i) {
        ProjectLoop& l = out.loops[i];
        l.standardLoop = i;
        const en1264::LoopDesign& ld = d.loops[i];
        l.computed = ld.designed();
        if (!l.computed)
            continue;
        const en1264::RoomDesign& rd = d.rooms[ld.room];
        LoopFigures& f = l.figures;
        f.supplyTemp = d.designSupplyTemp;
        f.drop = ld.drop;
        f.returnTemp = ld.returnTemp;
        f.area = ld.area;
        f.length = ld.length;
        f.heatOutput = ld.heatOutput;
        f.downwardOutput = ld.downwardOutput;
        f.floorTempMean = ld.floorTempMean;
        f.floorLimit = rd.surfaceLimit;
        f.limitOutput = ld.limitOutput;
        f.withinLimit = ld.heatOutput <= rd.usableLimit;
        f.loopOutput = ld.heatOutput * ld.area;
        f.flowKgh = ld.flowKgh;
        f.flowLpm = ld.flowLpm;
        f.velocity = ld.hydraulics.velocity;
        f.pressureDrop = ld.pressureDrop;
        f.supplementaryHeat = ld.supplementaryHeat;
        if (l.origin == LoopOrigin::Room) {
            const rooms::RoomDesign& laid = rooms[l.source].design;
            f.supplementaryHeat += laid.supplementaryHeat / double(laid.loops.size());
        }
        total.area += f.area;
        if (!total.indexLoop || f.pressureDrop > total.maxPressureDrop) {
            total.indexLoop = i;
            total.maxPressureDrop = f.pressureDrop;
        }
    }
    for (ProjectLoop& l : out.loops)
        if (l.computed) {
            l.indexLoop = out.totals.indexLoop == std::size_t(&l - out.loops.data());
            l.valveKpa = total.maxPressureDrop - l.figures.pressureDrop;
            l.meterLpm = l.figures.flowLpm;
        }
    total.supplyTemp = d.designed() ? d.designSupplyTemp : m.input.supplyTemp;
    total.output = d.totals.roomOutput;
    total.waterOutput = d.totals.waterOutput;
    total.flowKgh = d.totals.flowKgh;
    total.flowLpm = d.totals.flowLpm;
    total.mixedReturnTemp = d.totals.mixedReturnTemp;
    total.pumpHeadKpa = total.indexLoop ? total.maxPressureDrop + m.input.allowance : 0;
    total.pumpHeadM = metresOfWater(total.pumpHeadKpa);
}

} // namespace

ManifoldResult computeManifold(const Project& project, std::size_t index, method::Method method,
                               std::vector<RoomResult>& rooms, method::LoopMethodRunner& runner) {
    ManifoldResult out;
    const Gathered g = gatherLoops(project, index, rooms, out);
    for (std::size_t i = 0; i < out.loops.size(); ++i)
        out.loops[i].sheet = runner.compute(method, g.setups[i]);
    if (method == method::Method::Program)
        byProgram(project, index, g, out);
    else
        byStandard(project, index, rooms, g, out);

    ManifoldTotals& total = out.totals;
    total.loops = out.loops.size();
    double returnSum = 0;
    double flowSum = 0;
    for (const ProjectLoop& l : out.loops) {
        if (!l.computed)
            continue;
        ++total.computed;
        total.supplementaryHeat += l.figures.supplementaryHeat;
        returnSum += l.figures.flowKgh * l.figures.returnTemp;
        flowSum += l.figures.flowKgh;
    }
    if (method == method::Method::Program && flowSum > 0)
        total.mixedReturnTemp = returnSum / flowSum;
    // A room's shortfall by the method: what its computed loops leave, and
    // the whole share of a loop without a result.
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        RoomResult& r = rooms[i];
        if (!r.designed() || r.manifold != index)
            continue;
        const double count = double(r.design.loops.size());
        r.supplementaryHeat = 0;
        for (std::size_t position : r.loops) {
            const ProjectLoop& l = out.loops[position];
            r.supplementaryHeat +=
                l.computed ? l.figures.supplementaryHeat : r.design.heatLoad / count;
        }
        if (out.design && !r.loops.empty()) {
            const std::size_t designRoom = out.design->loops[r.loops.front()].room;
            r.standardRoom = designRoom;
        }
    }
    return out;
}

} // namespace zorva::project
