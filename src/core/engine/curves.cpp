// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/curves.h"

#include "core/engine/numparse.h"
#include "core/engine/numtext.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zorva {

CurveGrid curveGrid(double roomTemp, double tempDiff) {
    CurveGrid g;
    g.roomTemp = roomTemp;
    g.tempDiff = tempDiff;
    g.xMin = -tempDiff / 2;
    g.xMax = kCurveTopSupplyTemp - roomTemp - tempDiff / 2;
    if (!std::isfinite(g.xMin) || !std::isfinite(g.xMax) || !(g.xMax > g.xMin))
        return g;
    // Below an excess of 0 K the mean water is not warmer than the room and
    // no run has a result, so the 40 intervals go to the part above it; the
    // part below is sampled with the same step only to show where it lies.
    g.low = std::max(g.xMin, 0.0);
    if (g.xMax > g.low) {
        g.step = (g.xMax - g.low) / kCurveIntervals;
        const double below = std::floor((g.low - g.xMin) / g.step + 1e-9);
        g.below = static_cast<int>(std::min<double>(below, kMaxPointsBelowZero));
    } else {
        g.low = g.xMin;
        g.step = (g.xMax - g.xMin) / kCurveIntervals;
    }
    g.count = g.below + kCurveIntervals + 1;
    if (!(g.step > 0) || !std::isfinite(g.step))
        g.count = 0;
    return g;
}

namespace {

void assign(std::string& field, double value) {
    const NumberText text = generalText(value);
    field.assign(text.view());
}

// Runs every point of `curve` on `work`, whose supply and return texts it
// overwrites.
void computeCurve(FieldRecord& work, const CurveGrid& g, Curve& curve) {
    curve.points.resize(static_cast<std::size_t>(g.count));
    for (int i = 0; i < g.count; ++i) {
        CurvePoint& p = curve.points[static_cast<std::size_t>(i)];
        p = CurvePoint{};
        p.excess = g.x(i);
        p.supplyTemp = g.roomTemp + g.tempDiff / 2 + p.excess;
        p.returnTemp = p.supplyTemp - g.tempDiff;
        if (!std::isfinite(p.supplyTemp) || !std::isfinite(p.returnTemp))
            continue; // no text holds it: a gap like any faulting run
        assign(work.design[SupplyTempField], p.supplyTemp);
        assign(work.design[ReturnTempField], p.returnTemp);
        const Evaluation run = evaluateDesign(work);
        p.status = run.status;
        if (run.converged()) {
            p.heatOutput = run.heatOutput;
            p.surfaceTemp = run.surfaceTemp;
        }
    }
}

} // namespace

void computeCurves(const FieldRecord& fields, CurveSet& out) {
    const double room = parseLeadingNumber(fields.design[RoomTempField]);
    const double diff = parseLeadingNumber(fields.design[SupplyTempField]) -
                        parseLeadingNumber(fields.design[ReturnTempField]);
    out.grid = curveGrid(room, diff);

    FieldRecord work = fields;

    const double spacing = parseLeadingNumber(fields.design[SpacingField]);
    const bool spacingExtra =
        std::find(kFamilySpacings.begin(), kFamilySpacings.end(), spacing) == kFamilySpacings.end();
    out.spacing.resize(kFamilySpacings.size() + (spacingExtra ? 1 : 0));
    for (std::size_t c = 0; c < out.spacing.size(); ++c) {
        Curve& curve = out.spacing[c];
        curve.parameter = c < kFamilySpacings.size() ? kFamilySpacings[c] : spacing;
        curve.material = -1;
        curve.current = curve.parameter == spacing;
        if (c < kFamilySpacings.size())
            assign(work.design[SpacingField], curve.parameter);
        else
            work.design[SpacingField] = fields.design[SpacingField];
        computeCurve(work, out.grid, curve);
    }
    work.design[SpacingField] = fields.design[SpacingField];

    const double lambda = parseLeadingNumber(fields.conductivity[0]);
    std::size_t named = kCoveringMaterials.size();
    for (std::size_t m = 0; m < kCoveringMaterials.size(); ++m)
        if (kCoveringMaterials[m].conductivity == lambda)
            named = m;
    const bool coveringExtra = named == kCoveringMaterials.size();
    out.covering.resize(kCoveringMaterials.size() + (coveringExtra ? 1 : 0));
    for (std::size_t c = 0; c < out.covering.size(); ++c) {
        Curve& curve = out.covering[c];
        const bool isNamed = c < kCoveringMaterials.size();
        curve.parameter = isNamed ? kCoveringMaterials[c].conductivity : lambda;
        curve.material = isNamed ? static_cast<int>(c) : -1;
        curve.current = isNamed ? c == named : true;
        if (isNamed)
            assign(work.conductivity[0], curve.parameter);
        else
            work.conductivity[0] = fields.conductivity[0];
        computeCurve(work, out.grid, curve);
    }
}

CurveSet computeCurves(const FieldRecord& fields) {
    CurveSet set;
    computeCurves(fields, set);
    return set;
}

} // namespace zorva
