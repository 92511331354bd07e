#include "core/method/loopspec.h"

#include "core/en1264/floor.h"

namespace zorva::method {

LoopSpec loopSpec(const ManifoldInput& manifold, const LoopInput& loop) {
    LoopSpec s;
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

ManifoldInput manifoldOf(const LoopSpec& spec) {
    ManifoldInput m;
    m.supplyTemp = spec.supplyTemp;
    m.tempDiff = spec.tempDiff;
    m.thickness = spec.thickness;
    m.conductivity = spec.conductivity;
    m.pipeDiameter = spec.pipeDiameterMm;
    m.elbows = spec.elbows;
    return m;
}

LoopInput loopOf(const LoopSpec& spec) {
    LoopInput l;
    l.roomTemp = spec.roomTemp;
    l.spacingMm = spec.spacingMm;
    l.lengthM = spec.lengthM;
    return l;
}

double floorLimitFor(const LoopSpec& spec, bool standardMethod) {
    if (spec.floorLimit)
        return *spec.floorLimit;
    return standardMethod ? en1264::surfaceLimit(spec.category, spec.roomTemp)
                          : floorTempLimit(spec.category);
}

} // namespace zorva::method
