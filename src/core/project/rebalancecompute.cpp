// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/rebalancecompute.h"

#include "core/hydraulics/water.h"

namespace zorva::project {

namespace {

// Δp_loop ∝ ṁ^n: 1 for a loop the EN 1264-3 design found laminar, else
// Blasius' 1.75.
double pressureExponent(const ManifoldResult& m, const ProjectLoop& l) {
    if (m.design && l.standardLoop && *l.standardLoop < m.design->loops.size() &&
        m.design->loops[*l.standardLoop].hydraulics.regime == hydraulics::FlowRegime::Laminar)
        return 1;
    return 1.75;
}

ManifoldRebalanceResult manifoldRebalance(const Manifold& manifold, const ManifoldResult& m) {
    const RebalanceInputs& in = manifold.rebalance;
    ManifoldRebalanceResult out;
    out.loops.assign(m.loops.size(), std::nullopt);
    std::vector<bool> matched(in.loops.size(), false);
    if (in.loops.empty())
        return out;
    const ManifoldHydraulicsResult& h = m.hydraulics;
    const double supplyDensity = hydraulics::waterDensity(m.totals.supplyTemp);
    hydraulics::RebalanceOptions options;
    options.tolerance = in.tolerance;
    for (std::size_t i = 0; i < m.loops.size(); ++i) {
        const ProjectLoop& l = m.loops[i];
        const LoopMeasurement* measured = measurementOf(in, l.name);
        const hydraulics::LoopPresetting* preset = h.presetting(i);
        if (!measured || !l.computed || !preset || !(preset->flowM3h > 0))
            continue;
        const std::size_t index = std::size_t(measured - in.loops.data());
        if (matched[index])
            continue; // a second loop of the same name: the first has it
        matched[index] = true;
        hydraulics::RebalanceLoopInput r;
        r.designFlowKgh = l.figures.flowKgh;
        r.designSupplyTemp = l.figures.supplyTemp;
        r.designReturnTemp = l.figures.returnTemp;
        r.roomTemp = l.input.roomTemp;
        r.loopPressureDropKpa = l.figures.pressureDrop;
        r.density = l.figures.flowKgh / preset->flowM3h;
        r.pressureExponent = pressureExponent(m, l);
        r.currentSetting = measured->settingBefore.value_or(preset->dialSetting);
        r.measuredSupplyTemp = measured->supplyTemp;
        r.measuredReturnTemp = measured->returnTemp;
        r.measuredRoomTemp = measured->roomTemp;
        if (measured->flowLpm)
            r.measuredFlowKgh = hydraulics::meterFlowKgh(*measured->flowLpm, supplyDensity);
        const std::vector<hydraulics::LoopRebalance> one =
            hydraulics::rebalanceLoops(std::span(&r, 1), h.valve, options);
        out.loops[i] = LoopRebalanceResult{index, r.currentSetting, one.front()};
        if (one.front().ok() && one.front().change)
            ++out.changes;
    }
    for (std::size_t k = 0; k < in.loops.size(); ++k)
        if (!matched[k])
            out.unmatched.push_back(k);
    return out;
}

} // namespace

void computeRebalance(const Project& project, ProjectResult& result) {
    for (std::size_t i = 0; i < result.manifolds.size() && i < project.manifolds.size(); ++i)
        result.manifolds[i].rebalance =
            manifoldRebalance(project.manifolds[i], result.manifolds[i]);
}

} // namespace zorva::project
