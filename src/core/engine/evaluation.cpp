// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/evaluation.h"

#include "core/engine/calculate.h"

namespace zorva {

namespace {

// The inputs and results as the working variables hold them.
void copyNumbers(Evaluation& e, const WorkingVars& v) {
    e.roomTemp = v.roomTemp;
    e.supplyTemp = v.supplyTemp;
    e.returnTemp = v.returnTemp;
    e.spacingMm = v.pipeSpacing * 1000;
    e.diameterMm = v.outerDiam * 1000;
    e.loopLength = v.loopLength;
    e.area = v.loopLength * v.pipeSpacing;
    e.heatOutput = v.heatOutput;
    e.surfaceTemp = v.surfaceTemp;
    e.resistance = v.resistance;
    e.waterFlow = v.waterFlow;
    e.velocity = v.velocity;
}

} // namespace

Evaluation evaluationOf(const WorkingVars& vars, const RunReport& report) {
    Evaluation e;
    e.passes = report.passes;
    e.status =
        report.outcome == Outcome::Converged ? RunStatus::Converged : RunStatus::NotConverged;
    e.convective = report.convective;
    e.radiant = report.radiant;
    copyNumbers(e, vars);
    return e;
}

ResultTexts resultTexts(const Evaluation& run) {
    return {patternText(run.heatOutput, 1), patternText(run.surfaceTemp, 1),
            patternText(run.resistance, 1), patternText(run.convective, 1),
            patternText(run.radiant, 1),    patternText(run.waterFlow, 0),
            patternText(run.velocity, 2)};
}

Evaluation evaluateDesign(const FieldRecord& fields) {
    FieldRecord copy = fields;
    WorkingVars v;
    try {
        const RunReport report = calculate(v, copy);
        return evaluationOf(v, report);
    } catch (const ArithmeticError& error) {
        Evaluation e;
        e.status = RunStatus::Faulted;
        e.fault = error.fault();
        copyNumbers(e, v);
        return e;
    }
}

} // namespace zorva
