// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/en1264/designsteps.h"
#include "core/hydraulics/water.h"

#include <cmath>

namespace zorva::en1264::steps {

namespace {

bool finiteAtLeast(double v, double low) {
    return std::isfinite(v) && v >= low;
}

// K_H at the widest table spacing in the crossed room's floor with the
// loop's pipe; 0 when the method does not apply there.
double leaderCharacteristic(const DesignRoom& own, const DesignRoom& crossed,
                            double crossedSurfaceLimit) {
    Floor floor = crossed.floor;
    floor.spacing = hydraulics::kIsolatedPipeSpacing;
    floor.pipeDiameter = own.floor.pipeDiameter;
    floor.wallThickness = own.floor.wallThickness;
    floor.wallConductivity = own.floor.wallConductivity;
    const En1264Result r = floorCharacteristic(floor, crossed.roomTemp, crossedSurfaceLimit);
    return r.applicable() ? r.characteristic : 0;
}

void leaderOf(const ManifoldDesignInput& in, const DesignLoop& loop, double supplyTemp,
              LoopDesign& l, ManifoldDesign& out) {
    if (!loop.crossedRoom || *loop.crossedRoom >= in.rooms.size() || *loop.crossedRoom == l.room ||
        !std::isfinite(loop.crossedLength) || !(loop.crossedLength > 0))
        return;
    const DesignRoom& crossed = in.rooms[*loop.crossedRoom];
    if (!std::isfinite(crossed.roomTemp))
        return;
    const double limit =
        crossed.surfaceLimit.value_or(surfaceLimit(crossed.category, crossed.roomTemp));
    l.leaderCharacteristic = leaderCharacteristic(in.rooms[l.room], crossed, limit);
    if (!(l.leaderCharacteristic > 0))
        return;
    l.leaderConductance = l.leaderCharacteristic * hydraulics::kIsolatedPipeSpacing;
    l.leader = hydraulics::leaderHeat(l.leaderConductance, loop.crossedLength, supplyTemp,
                                      l.returnTemp, crossed.roomTemp, l.massFlow, l.drop);
    out.rooms[*loop.crossedRoom].leaderHeatIn += l.leader->heat;
}

void designLoop(const ManifoldDesignInput& in, const DesignLoop& loop, LoopDesign& l,
                ManifoldDesign& out) {
    l.room = loop.room;
    if (loop.room >= in.rooms.size()) {
        l.problem = LoopProblem::NoRoom;
        return;
    }
    const RoomDesign& r = out.rooms[loop.room];
    if (!r.designed()) {
        l.problem = LoopProblem::RoomProblem;
        return;
    }
    const DesignRoom& room = in.rooms[loop.room];
    const DesignSettings& s = in.settings;
    if (!finiteAtLeast(loop.leaderLength, 0) || !finiteAtLeast(loop.bends, 0) ||
        (loop.measuredLength &&
         !(finiteAtLeast(*loop.measuredLength, 0) && *loop.measuredLength > 0)) ||
        !(room.floor.innerDiameter() > 0)) {
        l.problem = LoopProblem::InvalidInput;
        return;
    }
    const double n = static_cast<double>(r.loops);
    l.area = room.area / n;
    l.drop = r.drop;
    l.returnTemp = r.returnTemp;
    l.meanWaterTemp = r.meanWaterTemp;
    l.massFlow = r.massFlow / n;
    l.flowKgh = l.massFlow * 3600;
    l.flowLpm = l.massFlow / hydraulics::waterDensity(out.designSupplyTemp) * 60000;
    l.heatOutput = r.heatOutput;
    l.downwardOutput = r.downwardOutput;
    l.floorTempMean = r.floorTempMean;
    l.limitOutput = r.limitOutput;
    l.supplementaryHeat = r.supplementaryHeat / n;
    l.length =
        loop.measuredLength.value_or(hydraulics::loopLength(l.area, r.spacing, loop.leaderLength));
    l.innerDiameter = room.floor.innerDiameter();
    l.lossCoefficients = hydraulics::localLossSum(loop.bends, s.connectionLoss, s.bendLoss);
    hydraulics::PipeFlowInput p;
    p.massFlow = l.massFlow;
    p.meanTemp = l.meanWaterTemp;
    p.innerDiameter = l.innerDiameter;
    p.length = l.length;
    p.lossCoefficients = l.lossCoefficients;
    p.law = s.friction;
    p.roughness = s.roughness;
    l.hydraulics = hydraulics::pipeFlow(p);
    if (!l.hydraulics.computed() || !std::isfinite(l.length)) {
        l.problem = LoopProblem::InvalidInput;
        return;
    }
    l.pressureDrop = l.hydraulics.pressureDrop / 1000;
    l.problem = LoopProblem::None;
    leaderOf(in, loop, out.designSupplyTemp, l, out);
}

} // namespace

void designLoops(const ManifoldDesignInput& in, ManifoldDesign& out) {
    out.loops.assign(in.loops.size(), LoopDesign{});
    for (std::size_t i = 0; i < in.loops.size(); ++i)
        designLoop(in, in.loops[i], out.loops[i], out);
}

ManifoldTotals totalsOf(const ManifoldDesign& out) {
    ManifoldTotals t;
    double returnSum = 0;
    for (const LoopDesign& l : out.loops) {
        if (!l.designed())
            continue;
        ++t.loops;
        t.massFlow += l.massFlow;
        returnSum += l.massFlow * l.returnTemp;
    }
    for (const RoomDesign& r : out.rooms) {
        if (!r.designed())
            continue;
        t.roomOutput += r.roomOutput;
        t.waterOutput += r.waterOutput;
        t.supplementaryHeat += r.supplementaryHeat;
    }
    if (t.massFlow > 0) {
        t.flowKgh = t.massFlow * 3600;
        t.flowLpm = t.massFlow / hydraulics::waterDensity(out.designSupplyTemp) * 60000;
        t.mixedReturnTemp = returnSum / t.massFlow;
        t.systemDrop = out.designSupplyTemp - t.mixedReturnTemp;
    }
    return t;
}

} // namespace zorva::en1264::steps
