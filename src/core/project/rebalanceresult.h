// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The re-balancing of one manifold from computeProject() (docs/hydraulics.md
// §7): per loop with a measurement its actual output against the design
// and the proposed setting. Plain values.

#include "core/hydraulics/rebalance.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace zorva::project {

struct LoopRebalanceResult {
    std::size_t measurement = 0; // index into the manifold's RebalanceInputs::loops
    double settingBefore = 0;    // the setting the loop was measured at
    hydraulics::LoopRebalance rebalance;
};

struct ManifoldRebalanceResult {
    // Per loop of the manifold (ManifoldResult::loops): the re-balancing of
    // a loop measured, computed and preset; empty otherwise.
    std::vector<std::optional<LoopRebalanceResult>> loops;
    // Measurements that name no computed loop of the manifold.
    std::vector<std::size_t> unmatched;
    std::size_t changes = 0; // loops whose proposal differs from the setting now
};

} // namespace zorva::project
