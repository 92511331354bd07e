// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thermal re-balancing of a computed project (docs/hydraulics.md §7):
// every manifold's measured loops against their design, with the setting
// proposed on the manifold's valve.

#include "core/project/projectresult.h"

namespace zorva::project {

// Fills `rebalance` of every manifold; the loops' hydraulics must be
// computed already.
void computeRebalance(const Project& project, ProjectResult& result);

} // namespace zorva::project
