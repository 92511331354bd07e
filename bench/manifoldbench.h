// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A large manifold project for timing the sheet's computations, and the
// whole computation on one thread: every loop's run, balancing, totals, the
// difference search of every loop and the supply suggestion. A threaded
// version splits the same per-loop work (computeLoop, tempDiffForLoad,
// requiredSupplyForLoop) over the loops and must give the same summary.

#include "core/engine/manifold.h"
#include "core/engine/manifoldsearch.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorva::bench {

struct BenchProject {
    ManifoldInput manifold;
    std::vector<LoopInput> loops;
};

// `loops` loops with varied rooms, spacings and lengths and a load on every
// loop, the same for the same seed.
BenchProject makeBenchProject(std::size_t loops, std::uint32_t seed = 1);

struct ProjectSummary {
    std::vector<LoopResult> results;
    std::vector<DiffSearch> diffs;
    std::vector<SupplyNeed> needs;
    ManifoldTotals totals;
    SupplySuggestion suggestion;
};

// A summary with room for every loop's results, to be filled by
// computeLoopWork for every index (on any threads, each index once) and then
// completed by finishSummary.
ProjectSummary emptySummary(const BenchProject& project);
// The loop's run, difference search and supply need, into index `i`.
void computeLoopWork(const BenchProject& project, std::size_t i, ProjectSummary& summary);
// Balancing, totals and the supply suggestion from the per-loop work.
void finishSummary(const BenchProject& project, ProjectSummary& summary);

// Everything the sheet computes for the project, on the calling thread.
ProjectSummary computeProjectSerial(const BenchProject& project);

// The whole computation's time on one thread, best of `rounds`, in ms.
double timeProjectSerialMs(const BenchProject& project, int rounds);

} // namespace zorva::bench
