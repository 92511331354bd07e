// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cooling step of the project pipeline (docs/project.md, "Cooling"):
// after the heating design has laid every room's loops, each loop of each
// manifold is computed with the manifold's chilled water by EN 1264-5 /
// ISO 11855-2 (core/cooling), each room against its sensible load, and each
// manifold's flows of both seasons are compared. The heating results are
// read, never changed.

#include "core/project/coolingresult.h"
#include "core/project/projectresult.h"

namespace zorva::project {

// An empty result (computed false) unless the season includes cooling.
CoolingResult computeCooling(const Project& project, const ProjectResult& heating);

} // namespace zorva::project
