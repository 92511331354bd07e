// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/hydraulicscompute.h"

#include "core/hydraulics/water.h"

#include <cmath>
#include <cstdio>

namespace zorva::project {

namespace {

// ρ at the loop's mean water temperature: the EN 1264-3 design's own, or
// for the program's method the water at θ_V − σ/2.
double loopDensity(const ManifoldResult& m, const ProjectLoop& l) {
    if (m.design && l.standardLoop && *l.standardLoop < m.design->loops.size())
        return m.design->loops[*l.standardLoop].hydraulics.water.density;
    return hydraulics::waterDensity(l.figures.supplyTemp - l.figures.drop / 2);
}

ManifoldHydraulicsResult manifoldHydraulics(const Project& p, const Manifold& manifold,
                                            const ManifoldResult& m) {
    const ManifoldHydraulicsInputs& in = manifold.hydraulics;
    ManifoldHydraulicsResult out;
    out.branchOf.assign(m.loops.size(), std::nullopt);
    out.valve = valveOf(in.valve);
    out.valveName = out.valve.name;
    out.valveGeneric = out.valve.generic;
    if (in.valve.source == ValveSource::File && out.valve.settings.empty()) {
        out.valveProblem = ValveProblem::FileNotRead;
        return out;
    }
    hydraulics::ManifoldHydraulicsInput h;
    h.supplyTemp = m.totals.supplyTemp;
    h.supplyDensity = hydraulics::waterDensity(h.supplyTemp);
    h.valve = out.valve;
    h.body.kv = in.bodyKv;
    h.body.barInnerDiameter = in.barInnerDiameter;
    h.connectionPressureDropKpa = in.connectionDropKpa;
    if (in.pipes) {
        hydraulics::ConnectionPipes pipes;
        pipes.lengthOneWay = in.pipes->lengthOneWay;
        pipes.innerDiameter = in.pipes->innerDiameter;
        pipes.lossCoefficients = in.pipes->lossCoefficients;
        pipes.law = p.settings.standard.friction;
        pipes.roughness = p.settings.standard.roughness;
        h.connectionPipes = pipes;
    }
    h.meterRange = in.meterRange;
    h.pumpCurve = in.pumpCurve;
    if (in.mixing) {
        hydraulics::MixingStationSetup s;
        s.primarySupplyTemp = in.mixing->primarySupplyTemp;
        s.primaryDensity = hydraulics::waterDensity(s.primarySupplyTemp);
        s.targetAuthority = in.mixing->authority;
        s.primaryVariableDropKpa = in.mixing->primaryVariableDropKpa;
        s.valveInPumpCircuit = in.mixing->valveInPumpCircuit;
        h.mixing = s;
    }
    for (std::size_t i = 0; i < m.loops.size(); ++i) {
        const ProjectLoop& l = m.loops[i];
        if (!l.computed)
            continue;
        out.branchOf[i] = h.loops.size();
        out.loopOfBranch.push_back(i);
        h.loops.push_back(
            {l.figures.flowKgh, l.figures.pressureDrop, loopDensity(m, l), l.figures.returnTemp});
    }
    out.computed = !h.loops.empty();
    out.hydraulics = hydraulics::manifoldHydraulics(h);
    if (!out.hydraulics.presetting.characteristic.ok())
        out.valveProblem = ValveProblem::TableInvalid;
    return out;
}

std::string formatNumber(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// The length a loop's pipe is cut to: the design's (leaders included) or,
// without a result, as typed.
double cutLength(const ProjectLoop& l) {
    return l.computed && l.figures.length > 0 ? l.figures.length : l.input.lengthM;
}

MaterialsResult billOf(const Project& p, const ProjectResult& r) {
    MaterialsResult out;
    std::vector<materials::BillLoop> loops;
    std::vector<materials::BillRoom> rooms;
    std::vector<materials::BillManifold> manifolds;
    std::vector<std::size_t> billRoomOf(p.rooms.size(), 0);
    for (std::size_t i = 0; i < p.rooms.size(); ++i) {
        const Room& room = p.rooms[i];
        materials::BillRoom b;
        b.name = room.name;
        b.floorAreaM2 = room.floorArea;
        const bool estimated = !room.materials.perimeter;
        b.perimeterM =
            room.materials.perimeter.value_or(4 * std::sqrt(std::max(0.0, room.floorArea)));
        if (room.materials.screedThicknessMm)
            b.screedThicknessMm = *room.materials.screedThicknessMm;
        else if (room.manifold < p.manifolds.size())
            b.screedThicknessMm = p.manifolds[room.manifold].input.thickness[2];
        b.thermostat = room.materials.thermostat;
        billRoomOf[i] = rooms.size();
        rooms.push_back(std::move(b));
        out.roomNames.push_back(room.name);
        out.perimeterEstimated.push_back(estimated);
    }
    for (std::size_t mi = 0; mi < r.manifolds.size() && mi < p.manifolds.size(); ++mi) {
        const Manifold& manifold = p.manifolds[mi];
        manifolds.push_back({manifold.name});
        const std::string pipe = pipeKind(manifold.input);
        for (const ProjectLoop& l : r.manifolds[mi].loops) {
            std::size_t room = 0;
            if (l.origin == LoopOrigin::Room && l.source < p.rooms.size()) {
                room = billRoomOf[l.source];
            } else {
                // A manual loop is a room of its own: its laid area, the
                // walls of a square of that area.
                const double area = l.input.lengthM * l.input.spacingMm / 1000;
                materials::BillRoom b;
                b.name = l.name;
                b.floorAreaM2 = area;
                b.perimeterM = 4 * std::sqrt(std::max(0.0, area));
                b.screedThicknessMm = manifold.input.thickness[2];
                room = rooms.size();
                rooms.push_back(std::move(b));
                out.roomNames.push_back(l.name);
                out.perimeterEstimated.push_back(true);
            }
            loops.push_back({l.name, room, mi, pipe, cutLength(l)});
            out.loopNames.push_back(l.name);
        }
    }
    out.bill = materials::billOfMaterials(loops, rooms, manifolds, p.settings.materials.bill);
    out.computed = out.bill.ok();
    return out;
}

} // namespace

std::string pipeKind(const ManifoldInput& input) {
    return "PE " + formatNumber(input.pipeDiameter) + "×" + formatNumber(input.thickness[3]);
}

void computeHydraulics(const Project& project, ProjectResult& result) {
    for (std::size_t i = 0; i < result.manifolds.size() && i < project.manifolds.size(); ++i)
        result.manifolds[i].hydraulics =
            manifoldHydraulics(project, project.manifolds[i], result.manifolds[i]);
    result.materials = billOf(project, result);
}

} // namespace zorva::project
