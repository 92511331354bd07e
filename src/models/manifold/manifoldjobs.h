// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manifold sheet's computations spread over every core with
// QtConcurrent: each loop's run, difference search or supply need is one
// item, so the futures report progress per loop and can be cancelled.

#include "core/engine/manifold.h"
#include "core/engine/manifoldsearch.h"
#include "core/project/projectresult.h"

#include <QFuture>

#include <vector>

namespace zorva::models {

QFuture<LoopResult> computeLoopsConcurrently(const ManifoldInput& manifold,
                                             std::vector<LoopInput> loops);
QFuture<DiffSearch> searchTempDiffsConcurrently(const ManifoldInput& manifold,
                                                std::vector<LoopInput> loops,
                                                const CheckLimits& limits = {});
QFuture<SupplyNeed> supplyNeedsConcurrently(const ManifoldInput& manifold,
                                            std::vector<LoopInput> loops,
                                            const CheckLimits& limits = {});

// The EN 1264-3 design of the project's first manifold on another thread;
// a cancel before it starts skips it.
QFuture<project::ManifoldResult> computeStandardInBackground(project::Project project);

} // namespace zorva::models
