// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/method/loopfill.h"

#include "core/engine/constants.h"
#include "core/hydraulics/water.h"

#include <cmath>

namespace zorva::method::fill {

void start(Method method, MethodLoopResult& r) {
    r.method = method;
    r.methodName = methodName(method);
    r.clause = methodClause(method);
}

void byProgram(const LoopSetup& setup, const LoopResult& run, MethodLoopResult& r) {
    r.floorLimit = floorLimitFor(setup, false);
    r.program = run;
    if (run.run.status == RunStatus::Faulted) {
        r.problem = LoopProblem::Faulted;
        r.fault = run.run.fault;
        return;
    }
    if (!run.converged()) {
        r.problem = LoopProblem::NotConverged;
        return;
    }
    r.problem = LoopProblem::None;
    r.heatOutput = run.heatOutput;
    r.floorTempMean = run.floorTemp;
    r.limitOutput = maxOutputForFloorLimit(setup.roomTemp, r.floorLimit);
    r.limitOutputMax = r.limitOutput;
    r.withinLimit = run.floorTemp <= r.floorLimit; // the design check's floor rule
    r.area = run.area;
    r.loopOutput = run.loopOutput;
    r.flowKgh = run.flowKgh;
    r.flowLpm = run.flowLpm;
    r.velocity = run.velocity;
    r.pressureDrop = run.resistance;
}

en1264::Floor floorOf(const LoopSetup& setup) {
    return en1264::floorFromConstruction(setup.thickness, setup.conductivity, setup.pipeDiameterMm,
                                         setup.spacingMm);
}

En1264Inputs standardInputs(const LoopSetup& setup, const en1264::Floor& floor,
                            MethodLoopResult& r) {
    r.floorLimit = floorLimitFor(setup, true);
    En1264Inputs in = en1264::methodInputs(floor, setup.supplyTemp, setup.returnTemp(),
                                           setup.roomTemp, r.floorLimit);
    // The downward loss only when the space below is fully known.
    if (setup.below) {
        const double resistance = en1264::downwardResistance(*setup.below);
        const std::optional<double> temp = en1264::belowTemp(*setup.below, setup.roomTemp);
        if (temp && std::isfinite(*temp) && std::isfinite(resistance) && resistance > 0) {
            in.downwardResistance = resistance;
            in.belowTemp = temp;
            return in;
        }
    }
    r.notes |= DownwardLossLeftOut;
    return in;
}

void byStandard(const LoopSetup& setup, const en1264::Floor& floor, const En1264Result& en,
                MethodLoopResult& r) {
    r.standard = en;
    r.applicability = en.applicability;
    if (!en.applicable()) {
        r.problem = LoopProblem::MethodNotApplicable;
        return;
    }
    r.en1264Flags = en.flags;
    if (!(setup.tempDiff > 0)) {
        r.problem = LoopProblem::NoTempDrop;
        return;
    }
    if (!std::isfinite(setup.lengthM) || !(setup.lengthM > 0)) {
        r.problem = LoopProblem::InvalidLength;
        return;
    }
    r.downwardOutput = en.downwardLoss;
    const double waterHeat = en.heatFlux + en.downwardLoss.value_or(0); // W/m²
    if (!(waterHeat > 0)) {
        r.problem = LoopProblem::HeatFromBelow;
        return;
    }
    const double area = setup.lengthM * floor.spacing;
    // EN 1264-3's design flow: ṁ·c_W·σ = A·(q + q_u).
    const double massFlow = area * waterHeat / (hydraulics::kHeatCapacity * setup.tempDiff);

    hydraulics::PipeFlowInput p;
    p.massFlow = massFlow;
    p.meanTemp = setup.supplyTemp - setup.tempDiff / 2;
    p.innerDiameter = floor.innerDiameter();
    p.length = setup.lengthM;
    p.lossCoefficients = hydraulics::localLossSum(setup.elbows, constants::loopLossCoefficient,
                                                  constants::elbowLossCoefficient);
    r.hydraulics = hydraulics::pipeFlow(p);
    const hydraulics::PipeFlow& h = *r.hydraulics;
    const double supplyDensity = hydraulics::waterDensity(setup.supplyTemp);
    if (!h.computed() || !std::isfinite(supplyDensity) || !(supplyDensity > 0)) {
        r.problem = LoopProblem::InvalidPipe;
        return;
    }
    if (!h.water.inRange || !hydraulics::waterTempInRange(setup.supplyTemp))
        r.notes |= WaterOutsideRange;
    if (h.regime == hydraulics::FlowRegime::Laminar)
        r.notes |= LaminarFlow;
    else if (h.regime == hydraulics::FlowRegime::Transition)
        r.notes |= TransitionFlow;

    r.problem = LoopProblem::None;
    r.heatOutput = en.heatFlux;
    r.floorTempMean = en.meanFloorTemp;
    r.limitOutput = en.limitFlux;
    r.limitOutputMax = en.limitFluxMax;
    r.withinLimit = en.withinLimit;
    r.area = area;
    r.loopOutput = en.heatFlux * area;
    r.flowKgh = massFlow * 3600;
    r.flowLpm = massFlow / supplyDensity * 60000; // the meter sits on the supply bar
    r.velocity = h.velocity;
    r.pressureDrop = h.pressureDrop / 1000;
}

} // namespace zorva::method::fill

namespace zorva::method {

// loopresult.h's one loop by either method: the steps above in order.
MethodLoopResult loopByMethod(Method method, const LoopSetup& setup) {
    MethodLoopResult r;
    fill::start(method, r);
    if (method == Method::Program) {
        fill::byProgram(setup, computeLoop(manifoldOf(setup), loopOf(setup)), r);
        return r;
    }
    const en1264::Floor floor = fill::floorOf(setup);
    const En1264Inputs in = fill::standardInputs(setup, floor, r);
    fill::byStandard(setup, floor, en1264TypeA(in), r);
    return r;
}

} // namespace zorva::method
