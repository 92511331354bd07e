// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The installer's numbers of a computed project (docs/project.md,
// "Hydraulics and materials"): every manifold's presetting, flow meters,
// pump duty and mixing station from its computed loops, by either method,
// and the project's bill of materials.

#include "core/project/projectresult.h"

namespace zorva::project {

// Fills `hydraulics` of every manifold and `materials` of the result; the
// loops must be computed already.
void computeHydraulics(const Project& project, ProjectResult& result);

// The kind of pipe of a manifold as the bill names it, e.g. "PE 20×2".
std::string pipeKind(const ManifoldInput& input);

} // namespace zorva::project
