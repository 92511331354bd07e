// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/rebalance.h"

#include "core/hydraulics/mixing.h"

#include <cmath>

namespace zorva::hydraulics {

double meterFlowKgh(double litresPerMinute, double supplyDensity) {
    return litresPerMinute * 60 / 1000 * supplyDensity;
}

namespace {

// Heat capacity rate of a flow in kg/h, W/K.
double capacityRate(double flowKgh) {
    return flowKgh / 3600 * kHeatCapacity;
}

// Output of a loop with conductance UA to a room at θ_i, supplied at
// θ_V: Q = C·(θ_V − θ_i)·(1 − e^(−UA/C)). The same law as the log-mean
// excess q = K_H·Δθ_H of EN 1264-2 at a constant UA.
double outputAtFlow(double flowKgh, double conductance, double inletExcess) {
    const double c = capacityRate(flowKgh);
    return -c * inletExcess * std::expm1(-conductance / c);
}

// The flow at which outputAtFlow reaches `target`, which lies below
// UA·(θ_V − θ_i): the output rises with the flow, so bisection with a
// bounded number of steps.
double flowForOutput(double target, double conductance, double inletExcess) {
    double lo = target / (kHeatCapacity / 3600 * inletExcess);
    double hi = 2 * lo;
    for (int i = 0; i < 200 && outputAtFlow(hi, conductance, inletExcess) < target; ++i)
        hi *= 2;
    for (int i = 0; i < 200; ++i) {
        const double mid = lo + (hi - lo) / 2;
        if (mid <= lo || mid >= hi)
            break;
        (outputAtFlow(mid, conductance, inletExcess) < target ? lo : hi) = mid;
    }
    return lo + (hi - lo) / 2;
}

RebalanceFault inputFault(const RebalanceLoopInput& in) {
    for (const double v : {in.designFlowKgh, in.designSupplyTemp, in.designReturnTemp, in.roomTemp,
                           in.loopPressureDropKpa, in.density, in.pressureExponent,
                           in.currentSetting, in.measuredSupplyTemp, in.measuredReturnTemp,
                           in.measuredRoomTemp.value_or(0), in.measuredFlowKgh.value_or(1)})
        if (!std::isfinite(v))
            return RebalanceFault::NotFinite;
    if (!(in.designFlowKgh > 0) || (in.measuredFlowKgh && !(*in.measuredFlowKgh > 0)))
        return RebalanceFault::FlowNotPositive;
    if (!(in.density > 0))
        return RebalanceFault::DensityNotPositive;
    if (!(in.designSupplyTemp > in.designReturnTemp && in.designReturnTemp > in.roomTemp) ||
        in.loopPressureDropKpa < 0)
        return RebalanceFault::DesignOrder;
    const double room = in.measuredRoomTemp.value_or(in.roomTemp);
    if (!(in.measuredSupplyTemp > in.measuredReturnTemp && in.measuredReturnTemp > room))
        return RebalanceFault::MeasuredOrder;
    if (!(in.pressureExponent >= 0.5 && in.pressureExponent <= 3))
        return RebalanceFault::ExponentOutside;
    return RebalanceFault::None;
}

LoopRebalance rebalanceLoop(const RebalanceLoopInput& in, const ValveCharacteristic& valve,
                            const RebalanceOptions& options) {
    LoopRebalance r;
    r.fault = inputFault(in);
    if (!r.ok())
        return r;
    r.flowMeasured = in.measuredFlowKgh.has_value();
    r.actualFlowKgh = in.measuredFlowKgh.value_or(in.designFlowKgh);
    const double measuredDrop = in.measuredSupplyTemp - in.measuredReturnTemp;
    r.actualOutputW = capacityRate(r.actualFlowKgh) * measuredDrop;
    r.designOutputW = capacityRate(in.designFlowKgh) * (in.designSupplyTemp - in.designReturnTemp);
    r.outputRatio = r.actualOutputW / r.designOutputW;
    r.withinTolerance = std::abs(r.outputRatio - 1) <= options.tolerance;

    const double room = in.measuredRoomTemp.value_or(in.roomTemp);
    const double logMean =
        measuredDrop / std::log((in.measuredSupplyTemp - room) / (in.measuredReturnTemp - room));
    r.conductance = r.actualOutputW / logMean;
    const double inletExcess = in.designSupplyTemp - in.roomTemp;
    const double kvNow = kvAtSetting(valve, in.currentSetting);
    const double kvOpen = valve.kv.back();
    if (r.designOutputW >= r.conductance * inletExcess * (1 - 1e-9)) {
        r.flags |= RebalanceSupplyTooLow;
    } else {
        r.requiredFlowKgh = flowForOutput(r.designOutputW, r.conductance, inletExcess);
    }

    if (r.withinTolerance) {
        r.proposedKv = kvNow;
        r.proposedSetting = in.currentSetting;
        r.proposedDial = in.currentSetting;
        r.range = settingForKv(valve, kvNow).range;
        return r;
    }
    // The branch pressure now: the valve at its current setting plus the
    // pipe, both at the flow through the loop now.
    const auto loopDrop = [&](double flowKgh) {
        return in.loopPressureDropKpa * std::pow(flowKgh / in.designFlowKgh, in.pressureExponent);
    };
    const double branch =
        valveDropKpa(volumeFlowM3h(r.actualFlowKgh, in.density), kvNow) + loopDrop(r.actualFlowKgh);
    const double valveDrop = branch - loopDrop(r.requiredFlowKgh);
    if ((r.flags & RebalanceSupplyTooLow) || !(valveDrop > 0)) {
        if (!(r.flags & RebalanceSupplyTooLow))
            r.flags |= RebalanceFullyOpenShort;
        r.proposedKv = kvOpen;
    } else {
        r.proposedKv = flowFactor(volumeFlowM3h(r.requiredFlowKgh, in.density), valveDrop);
        if (r.proposedKv > kvOpen * (1 + 1e-9))
            r.flags |= RebalanceFullyOpenShort;
        if (r.proposedKv < valve.kv.front() * (1 - 1e-9))
            r.flags |= RebalanceBelowTable;
    }
    const SettingLookup look = settingForKv(valve, r.proposedKv);
    r.proposedSetting = look.setting;
    r.range = look.range;
    // Less than half a dial step away is no change the dial can show.
    r.change = std::abs(look.setting - in.currentSetting) > valve.resolution / 2;
    r.proposedDial = !r.change                            ? in.currentSetting
                     : look.range == SettingRange::Inside ? dialSetting(valve, look.setting)
                                                          : look.setting;
    return r;
}

} // namespace

std::vector<LoopRebalance> rebalanceLoops(std::span<const RebalanceLoopInput> loops,
                                          const ValveCharacteristic& valve,
                                          const RebalanceOptions& options) {
    std::vector<LoopRebalance> out(loops.size());
    if (!checkCharacteristic(valve).ok()) {
        for (LoopRebalance& r : out)
            r.fault = RebalanceFault::ValveInvalid;
        return out;
    }
    for (std::size_t i = 0; i < loops.size(); ++i)
        out[i] = rebalanceLoop(loops[i], valve, options);
    return out;
}

} // namespace zorva::hydraulics
