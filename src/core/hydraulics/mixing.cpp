// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/mixing.h"

#include "core/hydraulics/valve.h"

#include <cmath>

namespace zorva::hydraulics {

MixedReturn mixedReturn(std::span<const LoopReturn> loops, double supplyTemp,
                        SystemDifferenceRange range) {
    MixedReturn m;
    if (!std::isfinite(supplyTemp)) {
        m.fault = MixFault::NotFinite;
        return m;
    }
    double flow = 0;
    double weighted = 0;
    for (const LoopReturn& l : loops) {
        if (!std::isfinite(l.flowKgh) || !std::isfinite(l.returnTemp)) {
            m.fault = MixFault::NotFinite;
            return m;
        }
        if (l.flowKgh < 0) {
            m.fault = MixFault::NegativeFlow;
            return m;
        }
        if (l.flowKgh == 0)
            continue;
        if (l.returnTemp > supplyTemp) {
            m.fault = MixFault::ReturnAboveSupply;
            return m;
        }
        flow += l.flowKgh;
        weighted += l.flowKgh * l.returnTemp;
    }
    if (!(flow > 0)) {
        m.fault = MixFault::NoFlow;
        return m;
    }
    m.totalFlowKgh = flow;
    m.mixedReturnTemp = weighted / flow;
    m.systemDifference = supplyTemp - m.mixedReturnTemp;
    m.differenceOutsideRange = m.systemDifference < range.min || m.systemDifference > range.max;
    m.heatW = flow / 3600 * kHeatCapacity * m.systemDifference;
    return m;
}

std::vector<double> standardKvsSeries() {
    return {0.25, 0.4, 0.63, 1.0, 1.6, 2.5, 4.0, 6.3, 10, 16, 25, 40};
}

namespace {

MixingFault stationFault(const MixingStationInput& in) {
    for (const double v :
         {in.primarySupplyTemp, in.supplyTemp, in.mixedReturnTemp, in.totalFlowKgh,
          in.supplyDensity, in.primaryDensity, in.targetAuthority, in.primaryVariableDropKpa})
        if (!std::isfinite(v))
            return MixingFault::NotFinite;
    if (!(in.totalFlowKgh > 0))
        return MixingFault::FlowNotPositive;
    if (!(in.supplyDensity > 0) || !(in.primaryDensity > 0))
        return MixingFault::DensityNotPositive;
    if (!(in.primarySupplyTemp > in.supplyTemp && in.supplyTemp > in.mixedReturnTemp))
        return MixingFault::TemperatureOrder;
    if (!(in.targetAuthority > 0 && in.targetAuthority < 1))
        return MixingFault::AuthorityOutside;
    if (!(in.primaryVariableDropKpa > 0))
        return MixingFault::DropNotPositive;
    if (in.kvsSeries.empty())
        return MixingFault::SeriesInvalid;
    for (std::size_t i = 0; i < in.kvsSeries.size(); ++i)
        if (!std::isfinite(in.kvsSeries[i]) || !(in.kvsSeries[i] > 0) ||
            (i > 0 && !(in.kvsSeries[i] > in.kvsSeries[i - 1])))
            return MixingFault::SeriesInvalid;
    return MixingFault::None;
}

} // namespace

MixingStation mixingStation(const MixingStationInput& in) {
    MixingStation s;
    s.fault = stationFault(in);
    if (!s.ok())
        return s;
    const double primaryShare =
        (in.supplyTemp - in.mixedReturnTemp) / (in.primarySupplyTemp - in.mixedReturnTemp);
    s.secondaryFlowKgh = in.totalFlowKgh;
    s.primaryFlowKgh = in.totalFlowKgh * primaryShare;
    s.primaryFlowM3h = volumeFlowM3h(s.primaryFlowKgh, in.primaryDensity);
    s.bypassFlowKgh = in.totalFlowKgh - s.primaryFlowKgh;
    s.heatW = s.primaryFlowKgh / 3600 * kHeatCapacity * (in.primarySupplyTemp - in.mixedReturnTemp);

    const double secondaryM3h = volumeFlowM3h(in.totalFlowKgh, in.supplyDensity);
    s.valveTargetDropKpa =
        in.targetAuthority / (1 - in.targetAuthority) * in.primaryVariableDropKpa;
    s.kvsCalc = flowFactor(secondaryM3h, s.valveTargetDropKpa);
    // The next smaller series value, so that the authority does not fall
    // below the target.
    s.kvs = in.kvsSeries.front();
    s.kvsBelowSeries = s.kvsCalc < s.kvs;
    for (const double kvs : in.kvsSeries)
        if (kvs <= s.kvsCalc)
            s.kvs = kvs;
    s.valveDropKpa = valveDropKpa(secondaryM3h, s.kvs);
    s.authority = s.valveDropKpa / (s.valveDropKpa + in.primaryVariableDropKpa);
    // A kvs equal to kvsCalc gives the target itself, up to rounding.
    s.authorityBelowTarget = s.authority < in.targetAuthority * (1 - 1e-12);
    s.poorAuthority = s.authority < 0.25;
    return s;
}

} // namespace zorva::hydraulics
