// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/manifold/manifoldjobs.h"

#include <QtConcurrent>

namespace zorva::models {

QFuture<LoopResult> computeLoopsConcurrently(const ManifoldInput& manifold,
                                             std::vector<LoopInput> loops) {
    return QtConcurrent::mapped(std::move(loops), [manifold](const LoopInput& loop) {
        return computeLoop(manifold, loop);
    });
}

QFuture<DiffSearch> searchTempDiffsConcurrently(const ManifoldInput& manifold,
                                                std::vector<LoopInput> loops,
                                                const CheckLimits& limits) {
    return QtConcurrent::mapped(std::move(loops), [manifold, limits](const LoopInput& loop) {
        return tempDiffForLoad(manifold, loop, limits);
    });
}

QFuture<SupplyNeed> supplyNeedsConcurrently(const ManifoldInput& manifold,
                                            std::vector<LoopInput> loops,
                                            const CheckLimits& limits) {
    return QtConcurrent::mapped(std::move(loops), [manifold, limits](const LoopInput& loop) {
        return requiredSupplyForLoop(manifold, loop, limits);
    });
}

} // namespace zorva::models
