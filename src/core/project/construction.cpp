// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/construction.h"

#include <cmath>

namespace zorva::project {

namespace {

constexpr double kCoveringThickness = 10; // mm, when the construction has no surface layer

} // namespace

ManifoldInput withCovering(const ManifoldInput& manifold, double coveringResistance) {
    ManifoldInput m = manifold;
    if (!std::isfinite(coveringResistance) || coveringResistance < 0)
        return m;
    double& thickness = m.thickness[0];
    double& conductivity = m.conductivity[0];
    if (coveringResistance == 0) {
        thickness = 0;
        return m;
    }
    if (!(thickness > 0))
        thickness = kCoveringThickness;
    conductivity = thickness / 1000 / coveringResistance;
    return m;
}

en1264::Floor floorAt(const ManifoldInput& manifold, double spacing) {
    return en1264::floorFromConstruction(manifold.thickness, manifold.conductivity,
                                         manifold.pipeDiameter, spacing * 1000);
}

} // namespace zorva::project
