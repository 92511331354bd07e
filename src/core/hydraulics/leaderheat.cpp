// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/leaderheat.h"

#include "core/hydraulics/water.h"

namespace zorva::hydraulics {

LeaderHeat leaderHeat(double conductance, double length, double supplyTemp, double returnTemp,
                      double roomTemp, double massFlow, double drop) {
    LeaderHeat h;
    h.heat = length * conductance * ((supplyTemp - roomTemp) + (returnTemp - roomTemp));
    h.returnAtManifold = returnTemp;
    if (massFlow > 0 && drop > 0) {
        const double capacityFlow = massFlow * kHeatCapacity; // W/K
        h.drop = h.heat / capacityFlow;
        h.returnAtManifold = returnTemp - h.drop;
        h.share = h.heat / (capacityFlow * drop);
    }
    return h;
}

} // namespace zorva::hydraulics
