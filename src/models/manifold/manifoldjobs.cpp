#include "models/manifold/manifoldjobs.h"

#include <QtConcurrent>

#include <algorithm>
#include <cmath>

namespace zorva::models {

QFuture<LoopResult> computeLoopsConcurrently(const ManifoldInput& manifold,
                                             std::vector<LoopInput> loops) {
    return QtConcurrent::mapped(std::move(loops), [manifold](const LoopInput& loop) {
        return computeLoop(manifold, loop);
    });
}

QFuture<DiffSearch> searchTempDiffsConcurrently(const ManifoldInput& manifold,
                                                std::vector<LoopInput> loops) {
    return QtConcurrent::mapped(std::move(loops), [manifold](const LoopInput& loop) {
        return tempDiffForLoad(manifold, loop);
    });
}

QFuture<SupplyNeed> supplyNeedsConcurrently(const ManifoldInput& manifold,
                                            std::vector<LoopInput> loops) {
    return QtConcurrent::mapped(std::move(loops), [manifold](const LoopInput& loop) {
        return requiredSupplyForLoop(manifold, loop);
    });
}

double appliedTempDiff(double found) {
    // The small offset keeps a value such as 7.3 (stored as 7.2999…) at 7.3.
    return std::max(kMinTempDiff, std::floor(found * 10 + 1e-9) / 10);
}

} // namespace zorva::models
