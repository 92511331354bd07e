// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/manifoldduty.h"

#include <cmath>

namespace zorva::hydraulics {

ManifoldHydraulics manifoldHydraulics(const ManifoldHydraulicsInput& in) {
    ManifoldHydraulics h;
    std::vector<LoopBranch> branches;
    branches.reserve(in.loops.size());
    for (const ManifoldLoop& l : in.loops)
        branches.push_back({l.flowKgh, l.pressureDropKpa, l.density});
    h.presetting = presetLoops(branches, in.valve, in.presetting);

    // Flow meters sit on the supply bar: volume at the supply density. Only
    // the loops that took part in balancing count in the totals.
    const bool supplyDensityOk = std::isfinite(in.supplyDensity) && in.supplyDensity > 0;
    h.flowMeterLpm.assign(in.loops.size(), 0);
    h.meterOutOfRange.assign(in.loops.size(), false);
    std::vector<LoopReturn> returns;
    returns.reserve(in.loops.size());
    for (std::size_t i = 0; i < in.loops.size(); ++i) {
        if (!h.presetting.loops[i].ok())
            continue;
        returns.push_back({in.loops[i].flowKgh, in.loops[i].returnTemp});
        if (!supplyDensityOk)
            continue;
        h.flowMeterLpm[i] = in.loops[i].flowKgh / in.supplyDensity * 1000 / 60;
        if (in.meterRange)
            h.meterOutOfRange[i] =
                h.flowMeterLpm[i] < in.meterRange->min || h.flowMeterLpm[i] > in.meterRange->max;
    }
    h.mixedReturn = mixedReturn(returns, in.supplyTemp, in.systemDifference);

    double mixingDrop = 0;
    if (in.mixing && h.mixedReturn.ok()) {
        MixingStationInput m;
        m.primarySupplyTemp = in.mixing->primarySupplyTemp;
        m.supplyTemp = in.supplyTemp;
        m.mixedReturnTemp = h.mixedReturn.mixedReturnTemp;
        m.totalFlowKgh = h.mixedReturn.totalFlowKgh;
        m.supplyDensity = in.supplyDensity;
        m.primaryDensity = in.mixing->primaryDensity;
        m.targetAuthority = in.mixing->targetAuthority;
        m.primaryVariableDropKpa = in.mixing->primaryVariableDropKpa;
        m.kvsSeries = in.mixing->kvsSeries;
        h.mixing = mixingStation(m);
        if (h.mixing->ok() && in.mixing->valveInPumpCircuit)
            mixingDrop = h.mixing->valveDropKpa;
    }

    h.connectionDropKpa = in.connectionPressureDropKpa;
    bool connectionOk = true;
    if (in.connectionPipes && h.mixedReturn.ok()) {
        const ConnectionPipes& c = *in.connectionPipes;
        PipeFlowInput pipe;
        pipe.massFlow = h.mixedReturn.totalFlowKgh / 3600;
        pipe.meanTemp = in.supplyTemp;
        pipe.innerDiameter = c.innerDiameter;
        pipe.length = c.lengthOneWay;
        pipe.lossCoefficients = c.lossCoefficients;
        pipe.law = c.law;
        pipe.roughness = c.roughness;
        h.connectionSupply = pipeFlow(pipe);
        pipe.meanTemp = h.mixedReturn.mixedReturnTemp;
        h.connectionReturn = pipeFlow(pipe);
        connectionOk = h.connectionSupply->computed() && h.connectionReturn->computed() &&
                       std::isfinite(h.connectionSupply->pressureDrop) &&
                       std::isfinite(h.connectionReturn->pressureDrop);
        h.connectionDropKpa =
            connectionOk
                ? (h.connectionSupply->pressureDrop + h.connectionReturn->pressureDrop) / 1000
                : 0;
    }

    PumpDutyInput duty;
    duty.branchPressureKpa = h.presetting.branchPressureKpa;
    duty.totalFlowKgh = h.mixedReturn.totalFlowKgh;
    duty.supplyDensity = in.supplyDensity;
    duty.body = in.body;
    duty.connectionPressureDropKpa = h.connectionDropKpa;
    duty.mixingValveDropKpa = mixingDrop;
    h.pump = pumpDuty(duty);
    if (h.pump.ok() && (!h.presetting.indexLoop || !connectionOk)) {
        const DutyFault fault = connectionOk ? DutyFault::NoBranch : DutyFault::ConnectionInvalid;
        h.pump = PumpDuty{};
        h.pump.fault = fault;
    }
    if (!in.pumpCurve.empty() && h.pump.ok())
        h.operating = operatingPoint(in.pumpCurve, h.pump.flowM3h, h.pump.headKpa);
    h.pressureControlAdvised = h.presetting.branchPressureKpa > in.pressureControlAdviceKpa;
    return h;
}

} // namespace zorva::hydraulics
