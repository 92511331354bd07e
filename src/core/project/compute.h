// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole project in one pure call (docs/project.md, "The pipeline"):
//  1. per room its heat load (typed, GB 50736 with the project's climate and
//     the JGJ 142 allowance, or EN 12831) and its loops by the project's
//     method (spacing, split, the user's overrides kept and marked);
//  2. per manifold its manual loops and the rooms' loops, each by the method
//     through method::LoopMethodRunner at the manifold's temperatures, and
//     with EN 1264-2 the EN 1264-3 design of the manifold; balancing and the
//     totals per manifold and for the project.
// Deterministic: the same project gives the same bits. Never throws.

#include "core/heatload/citytable.h"
#include "core/project/plancompute.h"
#include "core/project/projectresult.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

namespace zorva::project {

struct ComputeOptions {
    // Overrides the project's method (zorva-calc --method).
    std::optional<method::Method> method = std::nullopt;
    // The city table the climate's station is looked up in.
    const heatload::CityTable* cities = nullptr;
    // Called before each room and each manifold with the steps done and the
    // steps in all (rooms + manifolds); false stops the calculation, and the
    // result comes back with `cancelled` set.
    std::function<bool(std::size_t done, std::size_t total)> progress;
    // Runs the loop layout of the rooms with an outline; empty routes them
    // one after another. The result is the same either way.
    ParallelFor parallel;
    // An earlier result of the project: its rooms laid from the same input
    // keep their layout (routeProjectRooms). The result is the same bits.
    std::shared_ptr<const ProjectResult> previous;
};

ProjectResult computeProject(const Project& project, const ComputeOptions& options = {});

} // namespace zorva::project
