// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/method/loopsetup.h"

#include "core/en1264/floor.h"

namespace zorva::method {

LoopSetup loopSetup(const ManifoldInput& manifold, const LoopInput& loop) {
    LoopSetup s;
    s.roomTemp = loop.roomTemp;
    s.supplyTemp = manifold.supplyTemp;
    s.tempDiff = loopTempDiff(manifold, loop);
    s.spacingMm = loop.spacingMm;
    s.lengthM = loop.lengthM;
    s.thickness = manifold.thickness;
    s.conductivity = manifold.conductivity;
    s.pipeDiameterMm = manifold.pipeDiameter;
    s.elbows = manifold.elbows;
    return s;
}

ManifoldInput manifoldOf(const LoopSetup& setup) {
    ManifoldInput m;
    m.supplyTemp = setup.supplyTemp;
    m.tempDiff = setup.tempDiff;
    m.thickness = setup.thickness;
    m.conductivity = setup.conductivity;
    m.pipeDiameter = setup.pipeDiameterMm;
    m.elbows = setup.elbows;
    return m;
}

LoopInput loopOf(const LoopSetup& setup) {
    LoopInput l;
    l.roomTemp = setup.roomTemp;
    l.spacingMm = setup.spacingMm;
    l.lengthM = setup.lengthM;
    return l;
}

double floorLimitFor(const LoopSetup& setup, bool standardMethod) {
    if (setup.floorLimit)
        return *setup.floorLimit;
    return standardMethod ? en1264::surfaceLimit(setup.category, setup.roomTemp)
                          : floorTempLimit(setup.category);
}

} // namespace zorva::method
