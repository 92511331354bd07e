// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/manifold/manifoldjobs.h"

#include "core/project/compute.h"

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

QFuture<project::ManifoldResult> computeStandardInBackground(project::Project project) {
    return QtConcurrent::run(
        [](QPromise<project::ManifoldResult>& promise, const project::Project& p) {
            project::ComputeOptions options;
            options.progress = [&promise](std::size_t, std::size_t) {
                return !promise.isCanceled();
            };
            project::ProjectResult r = project::computeProject(p, options);
            if (!r.cancelled && !r.manifolds.empty())
                promise.addResult(std::move(r.manifolds.front()));
        },
        std::move(project));
}

} // namespace zorva::models
