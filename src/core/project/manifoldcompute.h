// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loops of one manifold of a project, by the project's method
// (docs/project.md, "The loops of a manifold"): its manual loops and the
// loops designed for its rooms, each by method::LoopMethodRunner at the
// manifold's supply temperature and difference; with EN 1264-2 the EN
// 1264-3 design of the manifold gives the figures; balancing; totals.

#include "core/method/looprunner.h"
#include "core/project/projectresult.h"

#include <vector>

namespace zorva::project {

// `rooms` are the project's room results: those served by the manifold get
// their loops' positions and the supplementary heat by the method.
ManifoldResult computeManifold(const Project& project, std::size_t index, method::Method method,
                               std::vector<RoomResult>& rooms, method::LoopMethodRunner& runner);

} // namespace zorva::project
