// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/calculate.h"

#include "core/engine/checked.h"
#include "core/engine/constants.h"
#include "core/engine/numparse.h"
#include "core/engine/pipesurface.h"

#include <algorithm>
#include <cmath>

namespace zorva {

using namespace checked;
namespace k = constants;

namespace {

// Step 2: the design parameters and the quantities derived from them
// (docs/method.md, "Inputs and precision").
void readDesign(WorkingVars& v, const FieldRecord& f) {
    v.roomTemp = parseLeadingNumber(f.design[RoomTempField]);
    v.supplyTemp = parseLeadingNumber(f.design[SupplyTempField]);
    v.returnTemp = parseLeadingNumber(f.design[ReturnTempField]);
    v.meanWaterTemp = toFloat(div(add(v.returnTemp, v.supplyTemp), 2));
    v.elbowCount = parseLeadingNumber(f.elbows);
    v.loopLength = parseLeadingNumber(f.design[LoopLengthField]);
    v.outerDiam = div(parseLeadingNumber(f.design[DiameterField]), 1000);
    v.wallThick = toFloat(div(v.thickPipeWall, 1000));
    v.innerDiam = sub(v.outerDiam, mul(2, v.wallThick));
    v.pipeSpacing = div(parseLeadingNumber(f.design[SpacingField]), 1000);
}

// Step 3: depth to the bottom of the filling layer, each upper layer turned
// into the thickness of filling material with the same thermal resistance
// (docs/method.md, "Equivalent depth").
void computeEquivDepth(WorkingVars& v) {
    const double surface = mul(div(v.thickSurface, 1000), div(v.lambdaFill, v.lambdaSurface));
    const double level = mul(div(v.lambdaFill, v.lambdaLevel), div(v.thickLevel, 1000));
    v.equivDepth = add(add(surface, level), div(v.thickFill, 1000));
}

// Step 4: conduction shape factor of one pipe in a row of parallel pipes
// (docs/method.md, "Shape factor").
void computeShapeFactor(WorkingVars& v) {
    const double halfDiam = div(v.outerDiam, 2);
    const float x = toFloat(div(mul(k::twoPi, sub(v.equivDepth, halfDiam)), v.pipeSpacing));
    const float y =
        toFloat(sub(div(power(k::e, x), 2), div(power(k::e, -static_cast<double>(x)), 2)));
    const float z = toFloat(log(div(div(mul(v.pipeSpacing, y), k::pi), halfDiam)));
    v.shapeFactor = toFloat(div(k::twoPi, z));
}

// Floor surface temperature at which the floor gives off `output`
// (docs/method.md, "Emission law").
double surfaceTempFor(const WorkingVars& v, float output) {
    return add(v.roomTemp, mul(k::emissionCoefficient,
                               power(div(output, k::emissionDivisor), k::emissionExponent)));
}

// Steps 9 to 11: flow, velocity and water resistance of the loop
// (docs/method.md, "Hydraulics").
void computeHydraulics(WorkingVars& v) {
    v.waterFlow = mul(div(div(mul(v.heatOutput, mul(v.loopLength, v.pipeSpacing)), k::specificHeat),
                          sub(v.supplyTemp, v.returnTemp)),
                      k::flowConversion);
    v.velocity = div(div(div(v.waterFlow, k::secondsPerHour), k::waterDensity),
                     mul(k::pi / 4, square(v.innerDiam)));
    const double viscosity = k::viscosity;
    const double reynolds = div(mul(v.innerDiam, v.velocity), viscosity);
    const double friction = div(k::frictionCoefficient, power(reynolds, k::frictionExponent));
    const double dynamicHead = mul(0.5, square(v.velocity));
    v.resistance = toFloat(mul(div(mul(friction, v.loopLength), v.innerDiam), dynamicHead));
    const double localLoss =
        add(k::loopLossCoefficient, mul(k::elbowLossCoefficient, v.elbowCount));
    v.resistance = toFloat(add(v.resistance, mul(localLoss, dynamicHead)));
}

} // namespace

RunReport runCalculation(WorkingVars& v, const FieldRecord& fields, int passLimit) {
    passLimit = std::clamp(passLimit, 0, kPassLimit);
    readDesign(v, fields);
    computeEquivDepth(v);
    computeShapeFactor(v);

    // Step 5: the first trial output from the water-to-room difference.
    v.heatOutput = toFloat(
        mul(k::estimateCoefficient, power(sub(v.meanWaterTemp, v.roomTemp), k::estimateExponent)));

    // Step 6: the first evaluation.
    v.surfaceTemp = surfaceTempFor(v, v.heatOutput);
    PipeSurface pipeSurface(v);
    float pipeTemp = pipeSurface(v.heatOutput);
    double conducted =
        div(mul(mul(v.shapeFactor, v.lambdaFill), sub(pipeTemp, v.surfaceTemp)), v.pipeSpacing);
    v.heatStep = mul(-0.5, sub(v.heatOutput, conducted));
    v.residuals[0] = toFloat(sub(v.heatOutput, conducted));

    // Step 7: trial and correction until the residual is within tolerance
    // (docs/method.md, "The iteration").
    RunReport report;
    int i = 0;
    while (std::fabs(v.residuals[i]) > k::tolerance) {
        ++i;
        v.heatOutput = toFloat(add(v.heatOutput, v.heatStep));
        if (v.heatOutput <= 0) {
            // Overshot below zero: mark the previous residual as huge, step
            // back past the previous trial and shrink the step.
            v.residuals[i - 1] = k::markerResidual;
            v.heatOutput = toFloat(sub(v.heatOutput, mul(2.5, v.heatStep)));
            v.heatStep = sub(mul(0.5, v.heatStep), 0.1);
        }
        v.surfaceTemp = surfaceTempFor(v, v.heatOutput);
        pipeTemp = pipeSurface(v.heatOutput);
        conducted =
            div(sub(pipeTemp, v.surfaceTemp), div(v.pipeSpacing, mul(v.shapeFactor, v.lambdaFill)));
        v.residuals[i] = toFloat(sub(v.heatOutput, conducted));
        const float ratio = divf(v.residuals[i], v.residuals[i - 1]);
        if (ratio < 0)
            v.heatStep = mul(-0.5, v.heatStep);
        else if (ratio > 1)
            v.heatStep = -v.heatStep;
        // A pass that meets the tolerance ends the run, the last one too.
        if (i >= passLimit && std::fabs(v.residuals[i]) > k::tolerance) {
            report.passes = i;
            return report; // not converged: nothing more is computed
        }
    }
    report.passes = i;

    // Step 8: convective and radiant parts of the converged output
    // (docs/method.md, "Results").
    report.convective =
        mul(k::convectiveCoefficient, power(sub(v.surfaceTemp, v.roomTemp), k::convectiveExponent));
    report.radiant = sub(v.heatOutput, report.convective);

    computeHydraulics(v);
    report.outcome = Outcome::Converged;
    return report;
}

RunReport calculate(WorkingVars& vars, RunFields& fields) {
    const FieldRecord* now = &fields.current();
    readSettings(vars, *now);
    std::optional<ClampWrite> clamp;
    if (std::optional<NumberText> fill = clampedFillText(*now)) {
        fields.writeClampFill(*fill);
        clamp = ClampWrite{*fill, clampedDepthText(*now, *fill)};
        fields.writeClampDepth(clamp->depth);
        now = &fields.current();
        readSettings(vars, *now);
    }
    RunReport report = runCalculation(vars, *now);
    report.clamp = std::move(clamp);
    return report;
}

namespace {

// A plain record as the fields of a run.
class RecordFields final : public RunFields {
public:
    explicit RecordFields(FieldRecord& record) : record_(record) {}
    const FieldRecord& current() override { return record_; }
    void writeClampFill(const NumberText& fill) override {
        record_.thickness[FillingLayerRow] = fill.view();
    }
    void writeClampDepth(const NumberText& depth) override {
        record_.design[DepthField] = depth.view();
    }

private:
    FieldRecord& record_;
};

} // namespace

RunReport calculate(WorkingVars& vars, FieldRecord& fields) {
    RecordFields record(fields);
    return calculate(vars, record);
}

ResultTexts resultTexts(const WorkingVars& v, const RunReport& report) {
    return {patternText(v.heatOutput, 1),   patternText(v.surfaceTemp, 1),
            patternText(v.resistance, 1),   patternText(report.convective, 1),
            patternText(report.radiant, 1), patternText(v.waterFlow, 0),
            patternText(v.velocity, 2)};
}

} // namespace zorva
