// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rooms/standardmethods.h"

#include "core/hydraulics/pipeflow.h"

#include <algorithm>

namespace zorva::rooms {

ThermalMethod en1264Floor(const en1264::Floor& floor, double temperatureDrop) {
    return [floor, temperatureDrop](const FloorQuery& q) {
        en1264::Floor f = floor;
        f.spacing = q.spacing;
        f.coveringResistance = q.room->coveringResistance;
        const double roomTemp = q.room->indoorTemp;
        const double limit = en1264::surfaceLimit(
            q.peripheral ? RoomCategory::Peripheral : q.room->category, roomTemp);
        const En1264Result r = en1264TypeA(
            en1264::methodInputs(f, q.supplyTemp, q.supplyTemp - temperatureDrop, roomTemp, limit));
        return FloorOutput{r.heatFlux, std::min(r.limitFlux, r.limitFluxMax), r.applicable()};
    };
}

PressureMethod loopPressureDrop(const LoopPipe& pipe, double supplyTemp, double temperatureDrop) {
    return [pipe, supplyTemp, temperatureDrop](const LoopQuery& q) {
        hydraulics::PipeFlowInput in;
        in.massFlow = q.heat / (hydraulics::kHeatCapacity * temperatureDrop);
        in.meanTemp = supplyTemp - temperatureDrop / 2;
        in.innerDiameter = pipe.innerDiameter;
        in.length = q.length;
        in.lossCoefficients = hydraulics::localLossSum(pipe.bends);
        const hydraulics::PipeFlow flow = hydraulics::pipeFlow(in);
        return PressureOutput{flow.pressureDrop / 1000, flow.computed()};
    };
}

} // namespace zorva::rooms
