#include "evaluation.h"

#include "calculate.h"

namespace zorva {

Evaluation evaluateDesign(const FieldRecord& fields) {
    Evaluation e;
    FieldRecord copy = fields;
    WorkingVars v;
    try {
        const RunReport report = calculate(v, copy);
        e.passes = report.passes;
        e.status = report.outcome == Outcome::Converged ? RunStatus::Converged
                                                        : RunStatus::NotConverged;
        e.convective = report.convective;
        e.radiant = report.radiant;
    } catch (const ArithmeticError& error) {
        e.status = RunStatus::Faulted;
        e.fault = error.fault();
    }
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
    return e;
}

} // namespace zorva
