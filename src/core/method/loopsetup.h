// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One loop as every method reads it: temperatures, spacing, length, the
// construction window's floor and pipe, the room category that sets the
// floor temperature limit and, when known, what lies below
// (docs/method.md, "Two methods").

#include "core/en1264/below.h"
#include "core/engine/designcheck.h"
#include "core/engine/manifold.h"

#include <array>
#include <optional>

namespace zorva::method {

struct LoopSetup {
    double roomTemp = 18;   // θ_i, ℃
    double supplyTemp = 45; // θ_V, ℃
    double tempDiff = 10;   // θ_V − θ_R, K
    double spacingMm = 200; // mm
    double lengthM = 100;   // whole loop, m; the floor area is length × spacing
    // The construction window: thicknesses (mm) of the surface layer
    // (the covering), levelling layer, filling layer and pipe wall, and
    // their conductivities (W/(m·K)); the pipe's outside diameter (mm) and
    // the number of 90° bends.
    std::array<double, 4> thickness{20, 20, 50, 2};
    std::array<double, 4> conductivity{2.91, 1.84, 1.28, 0.41};
    double pipeDiameterMm = 20;
    double elbows = 2;
    // The room category sets the floor temperature limit; a value here
    // overrides it (℃).
    RoomCategory category = RoomCategory::LongStay;
    std::optional<double> floorLimit;
    // What lies below, for the downward loss (EN 1264-2 only).
    std::optional<en1264::Below> below;

    double returnTemp() const { return supplyTemp - tempDiff; }
};

// A loop of the manifold sheet: the manifold's supply temperature and
// construction with the loop's room, spacing, length and difference.
LoopSetup loopSetup(const ManifoldInput& manifold, const LoopInput& loop);

// The same loop as the sheet's inputs, so the program's method makes exactly
// the run computeLoop makes.
ManifoldInput manifoldOf(const LoopSetup& setup);
LoopInput loopOf(const LoopSetup& setup);

// θ_F,max of a loop for a method: the program's method compares its mean
// floor temperature with the category's limit (floorTempLimit); EN 1264-2
// reads the limit curve at 29 ℃ occupied, 35 ℃ peripheral, θ_i + 9 K in
// bathrooms and the JGJ 142 categories at their upper limit. An explicit
// floorLimit wins for both.
double floorLimitFor(const LoopSetup& setup, bool standardMethod);

} // namespace zorva::method
