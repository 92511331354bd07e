// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/manifold.h"

#include "core/engine/checked.h"
#include "core/engine/constants.h"
#include "core/engine/depthlink.h"
#include "core/engine/numparse.h"

#include <bit>
#include <cstdint>

namespace zorva {

namespace {

constexpr double kGravity = 9.80665; // m/s²

std::string text(double value) {
    return generalText(checked::finite(value)).str();
}

} // namespace

bool sameManifold(const ManifoldInput& a, const ManifoldInput& b) {
    return a.supplyTemp == b.supplyTemp && a.tempDiff == b.tempDiff && a.thickness == b.thickness &&
           a.conductivity == b.conductivity && a.pipeDiameter == b.pipeDiameter &&
           a.elbows == b.elbows && a.allowance == b.allowance;
}

double loopTempDiff(const ManifoldInput& manifold, const LoopInput& loop) {
    return loop.ownTempDiff.value_or(manifold.tempDiff);
}

FieldRecord loopFields(const ManifoldInput& m, const LoopInput& loop, double supplyTemp,
                       double tempDiff) {
    FieldRecord f;
    f.design[RoomTempField] = text(loop.roomTemp);
    f.design[SupplyTempField] = text(supplyTemp);
    f.design[ReturnTempField] = text(checked::sub(supplyTemp, tempDiff));
    f.design[SpacingField] = text(loop.spacingMm);
    f.design[DepthField] = layerSumText(m.thickness[0], m.thickness[1], m.thickness[2]).str();
    f.design[DiameterField] = text(m.pipeDiameter);
    f.design[LoopLengthField] = text(loop.lengthM);
    for (std::size_t i = 0; i < 4; ++i) {
        f.thickness[i] = text(m.thickness[i]);
        f.conductivity[i] = text(m.conductivity[i]);
    }
    f.elbows = text(m.elbows);
    return f;
}

ManifoldInput manifoldFromFields(const FieldRecord& f) {
    ManifoldInput m;
    m.supplyTemp = parseLeadingNumber(f.design[SupplyTempField]);
    m.tempDiff = m.supplyTemp - parseLeadingNumber(f.design[ReturnTempField]);
    for (std::size_t i = 0; i < 4; ++i) {
        m.thickness[i] = parseLeadingNumber(f.thickness[i]);
        m.conductivity[i] = parseLeadingNumber(f.conductivity[i]);
    }
    m.pipeDiameter = parseLeadingNumber(f.design[DiameterField]);
    m.elbows = parseLeadingNumber(f.elbows);
    m.allowance = 0;
    return m;
}

LoopInput loopFromFields(const FieldRecord& f) {
    LoopInput l;
    l.roomTemp = parseLeadingNumber(f.design[RoomTempField]);
    l.spacingMm = parseLeadingNumber(f.design[SpacingField]);
    l.lengthM = parseLeadingNumber(f.design[LoopLengthField]);
    return l;
}

double litresPerMinute(double flowKgh) {
    return flowKgh / constants::waterDensity * 1000 / 60;
}

double metresOfWater(double kPa) {
    return kPa * 1000 / (constants::waterDensity * kGravity);
}

namespace {

// The loop result of a run that ended without a fault.
LoopResult loopResult(const Evaluation& run, double tempDiff) {
    LoopResult r;
    r.tempDiff = tempDiff;
    r.run = run;
    if (!r.run.converged())
        return r;
    r.area = r.run.area;
    r.heatOutput = r.run.heatOutput;
    r.floorTemp = r.run.surfaceTemp;
    r.loopOutput = r.heatOutput * r.area;
    r.flowKgh = r.run.waterFlow;
    r.flowLpm = litresPerMinute(r.flowKgh);
    r.velocity = r.run.velocity;
    r.resistance = r.run.resistance;
    return r;
}

LoopResult faultedLoop(Fault fault, double tempDiff) {
    LoopResult r;
    r.tempDiff = tempDiff;
    r.run.status = RunStatus::Faulted;
    r.run.fault = fault;
    return r;
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Whether loopFields writes the same manifold texts for both.
bool sameManifoldTexts(const ManifoldInput& a, const ManifoldInput& b) {
    bool same = sameBits(a.supplyTemp, b.supplyTemp) && sameBits(a.pipeDiameter, b.pipeDiameter) &&
                sameBits(a.elbows, b.elbows);
    for (std::size_t i = 0; i < 4; ++i)
        same = same && sameBits(a.thickness[i], b.thickness[i]) &&
               sameBits(a.conductivity[i], b.conductivity[i]);
    return same;
}

void assignText(std::string& field, double value) {
    const NumberText t = generalText(checked::finite(value));
    field.assign(t.view());
}

} // namespace

LoopResult computeLoop(const ManifoldInput& manifold, const LoopInput& loop) {
    const double tempDiff = loopTempDiff(manifold, loop);
    try {
        return loopResult(evaluateDesign(loopFields(manifold, loop, manifold.supplyTemp, tempDiff)),
                          tempDiff);
    } catch (const ArithmeticError& error) {
        return faultedLoop(error.fault(), tempDiff);
    }
}

LoopResult LoopRunner::compute(const ManifoldInput& manifold, const LoopInput& loop) {
    if (!ready_ || !sameManifoldTexts(manifold, manifold_)) {
        // A manifold whose texts cannot be made is run the long way each time.
        ready_ = false;
        const double tempDiff = loopTempDiff(manifold, loop);
        try {
            fields_ = loopFields(manifold, loop, manifold.supplyTemp, tempDiff);
        } catch (const ArithmeticError&) {
            return computeLoop(manifold, loop);
        }
        ready_ = true;
        manifold_ = manifold;
    }
    // The loop's texts in loopFields' order, so that the same fault stops it.
    const double tempDiff = loopTempDiff(manifold, loop);
    try {
        assignText(fields_.design[RoomTempField], loop.roomTemp);
        assignText(fields_.design[ReturnTempField], checked::sub(manifold.supplyTemp, tempDiff));
        assignText(fields_.design[SpacingField], loop.spacingMm);
        assignText(fields_.design[LoopLengthField], loop.lengthM);
        return loopResult(evaluateDesign(fields_), tempDiff);
    } catch (const ArithmeticError& error) {
        return faultedLoop(error.fault(), tempDiff);
    }
}

void computeLoops(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                  std::span<LoopResult> out) {
    for (std::size_t i = 0; i < loops.size() && i < out.size(); ++i)
        out[i] = computeLoop(manifold, loops[i]);
}

std::optional<std::size_t> balance(std::span<LoopResult> results) {
    std::optional<std::size_t> index;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].converged() &&
            (!index || results[i].resistance > results[*index].resistance))
            index = i;
    }
    for (std::size_t i = 0; i < results.size(); ++i) {
        LoopResult& r = results[i];
        r.indexLoop = index && i == *index;
        if (index && r.converged()) {
            r.valveKpa = results[*index].resistance - r.resistance;
            r.meterLpm = r.flowLpm;
        } else {
            r.valveKpa.reset();
            r.meterLpm.reset();
        }
    }
    return index;
}

ManifoldTotals manifoldTotals(const ManifoldInput& manifold, std::span<const LoopResult> results) {
    ManifoldTotals t;
    t.loops = results.size();
    for (std::size_t i = 0; i < results.size(); ++i) {
        const LoopResult& r = results[i];
        if (!r.converged())
            continue;
        ++t.computed;
        t.area += r.area;
        t.output += r.loopOutput;
        t.flowKgh += r.flowKgh;
        if (!t.indexLoop || r.resistance > t.maxResistance) {
            t.indexLoop = i;
            t.maxResistance = r.resistance;
        }
    }
    t.flowLpm = litresPerMinute(t.flowKgh);
    t.pumpHeadKpa = t.maxResistance + manifold.allowance;
    t.pumpHeadM = metresOfWater(t.pumpHeadKpa);
    return t;
}

} // namespace zorva
