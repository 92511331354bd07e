// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/hydraulicsinputs.h"

namespace zorva::project {

bool isDefault(const ManifoldHydraulicsInputs& in) {
    const ManifoldHydraulicsInputs fresh;
    return in.valve.source == ValveSource::Generic && in.connectionDropKpa == 0 && !in.pipes &&
           in.bodyKv == fresh.bodyKv && in.barInnerDiameter == fresh.barInnerDiameter &&
           in.pumpCurve.empty() && !in.mixing && !in.meterRange;
}

bool isDefault(const MaterialsInputs& in) {
    const materials::BillOptions a = in.bill;
    const materials::BillOptions b;
    return a.rollLengthsM == b.rollLengthsM && a.loopAllowanceM == b.loopAllowanceM &&
           a.minOutlets == b.minOutlets && a.maxOutlets == b.maxOutlets &&
           a.splitOversize == b.splitOversize && a.insulationWaste == b.insulationWaste &&
           a.insulationBoardM2 == b.insulationBoardM2 && a.edgeStripWaste == b.edgeStripWaste &&
           a.edgeStripRollM == b.edgeStripRollM && a.clipsPerMetre == b.clipsPerMetre &&
           a.screedThicknessMm == b.screedThicknessMm && a.screedWaste == b.screedWaste;
}

bool isDefault(const RoomMaterialsInputs& in) {
    return !in.perimeter && !in.screedThicknessMm && in.thermostat;
}

hydraulics::ValveCharacteristic valveOf(const ValveChoice& choice) {
    return choice.source == ValveSource::Generic ? hydraulics::genericValveCharacteristic()
                                                 : choice.table;
}

} // namespace zorva::project
