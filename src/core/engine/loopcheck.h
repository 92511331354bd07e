// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design check of one loop of a manifold, as the manifold sheet and
// zorva-calc show it: the loop's load ÷ area is its load per m², the other
// limits are the given ones, and for an EN category the floor is judged by
// EN 1264-2 at the loop's temperatures and the manifold's construction.

#include "core/engine/designcheck.h"
#include "core/engine/manifold.h"

#include <array>

namespace zorva {

std::array<RuleCheck, kRuleCount> checkLoop(const ManifoldInput& manifold, const LoopInput& loop,
                                            const LoopResult& result, const CheckLimits& limits);

} // namespace zorva
