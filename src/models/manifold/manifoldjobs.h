#pragma once
// The manifold sheet's computations spread over every core with
// QtConcurrent: each loop's run, difference search or supply need is one
// item, so the futures report progress per loop and can be cancelled.

#include "core/engine/manifold.h"
#include "core/engine/manifoldsearch.h"

#include <QFuture>

#include <vector>

namespace zorva::models {

QFuture<LoopResult> computeLoopsConcurrently(const ManifoldInput& manifold,
                                             std::vector<LoopInput> loops);
QFuture<DiffSearch> searchTempDiffsConcurrently(const ManifoldInput& manifold,
                                                std::vector<LoopInput> loops);
QFuture<SupplyNeed> supplyNeedsConcurrently(const ManifoldInput& manifold,
                                            std::vector<LoopInput> loops);

// The difference to write into a loop's own difference after a search that
// found `found`: rounded down to 0.1 ℃ (a smaller difference gives more
// heat, so the load is still reached), never below kMinTempDiff.
double appliedTempDiff(double found);

} // namespace zorva::models
