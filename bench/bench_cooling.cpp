// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_cooling.h"

#include "core/cooling/loop.h"
#include "core/method/loopsetup.h"
#include "manifoldbench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace zorva;

namespace {

std::vector<cooling::LoopInputs> coolingLoops(const bench::BenchProject& project) {
    std::vector<cooling::LoopInputs> loops;
    loops.reserve(project.loops.size());
    const en1264::Below below{en1264::BelowKind::HeatedRoom, 0.75, 0.08, 0.02, {}};
    std::size_t i = 0;
    for (const LoopInput& loop : project.loops) {
        const method::LoopSetup s = method::loopSetup(project.manifold, loop);
        const en1264::Floor floor = en1264::floorFromConstruction(s.thickness, s.conductivity,
                                                                  s.pipeDiameterMm, s.spacingMm);
        const double supply = 16 + double(i++ % 31) / 10; // 16.0 … 19.0 ℃
        loops.push_back(cooling::loopInputs(floor, supply, supply + 3, cooling::RoomConditions{},
                                            s.lengthM, below));
    }
    return loops;
}

// Best of several rounds over all loops, in nanoseconds per loop.
template <typename Work>
double nsPerLoop(const std::vector<cooling::LoopInputs>& loops, Work work) {
    double best = 1e300;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (const cooling::LoopInputs& loop : loops)
            work(loop);
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::nano>(stop - start).count() /
                                  double(loops.size()));
    }
    return best;
}

} // namespace

void runCoolingBench(double en1264NsPerLoop, double en1264SingleNsPerLoop) {
    const std::vector<cooling::LoopInputs> loops = coolingLoops(bench::makeBenchProject(10000));
    volatile double sink = 0;
    cooling::CharacteristicCache cache;
    const double shared = nsPerLoop(loops, [&](const cooling::LoopInputs& l) {
        sink = cooling::coolingLoop(l, cache.get(l.construction)).coolingOutput;
    });
    const double single = nsPerLoop(
        loops, [&](const cooling::LoopInputs& l) { sink = cooling::coolingLoop(l).coolingOutput; });
    (void)sink;
    std::printf("cooling %.0f ns/loop (%.2f of en1264 %.0f ns/loop)\n", shared,
                shared / en1264NsPerLoop, en1264NsPerLoop);
    std::printf("cooling-single %.0f ns/loop (%.2f of en1264-single %.0f ns/loop)\n", single,
                single / en1264SingleNsPerLoop, en1264SingleNsPerLoop);
}
