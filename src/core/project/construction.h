// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A room's floor as the methods read it: the manifold's construction with
// the room's covering R_λ,B as its surface layer (docs/project.md,
// "A room's floor").

#include "core/en1264/floor.h"
#include "core/engine/manifold.h"

namespace zorva::project {

// The surface layer keeps its thickness t₀ and takes the conductivity
// t₀/R_λ,B; with R_λ,B = 0 the surface layer is left out (t₀ = 0), and a
// covering on a construction without a surface layer is taken as 10 mm
// thick. Not a finite R_λ,B ≥ 0: the construction as it is.
ManifoldInput withCovering(const ManifoldInput& manifold, double coveringResistance);

// EN 1264-2's floor of a construction at a spacing in m.
en1264::Floor floorAt(const ManifoldInput& manifold, double spacing);

} // namespace zorva::project
