#include "manifold.h"

#include "checked.h"
#include "constants.h"
#include "depthlink.h"
#include "numparse.h"

namespace zorva {

namespace {

constexpr double kGravity = 9.80665; // m/s²

std::string text(double value) {
    return generalText(checked::finite(value)).str();
}

} // namespace

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

LoopResult computeLoop(const ManifoldInput& manifold, const LoopInput& loop) {
    LoopResult r;
    r.tempDiff = loopTempDiff(manifold, loop);
    try {
        r.run = evaluateDesign(loopFields(manifold, loop, manifold.supplyTemp, r.tempDiff));
    } catch (const ArithmeticError& error) {
        r.run.status = RunStatus::Faulted;
        r.run.fault = error.fault();
        return r;
    }
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
