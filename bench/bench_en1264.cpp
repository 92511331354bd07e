// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_en1264.h"

#include "core/en1264/design.h"
#include "core/method/looprunner.h"
#include "manifoldbench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace zorva;

namespace {

constexpr std::size_t kLoopsPerManifold = 8;

template <typename Work> double bestOf(int rounds, Work work) {
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::nano>(stop - start).count());
    }
    return best;
}

std::vector<method::LoopSetup> loopSetups(const bench::BenchProject& project) {
    std::vector<method::LoopSetup> setups;
    setups.reserve(project.loops.size());
    for (const LoopInput& loop : project.loops)
        setups.push_back(method::loopSetup(project.manifold, loop));
    return setups;
}

// The project's loops as manifolds of eight, every loop in its own room
// over a heated room, with the loop's load on its floor area.
std::vector<en1264::ManifoldDesignInput> designInputs(const bench::BenchProject& project) {
    std::vector<en1264::ManifoldDesignInput> manifolds;
    const ManifoldInput& m = project.manifold;
    for (std::size_t i = 0; i < project.loops.size(); ++i) {
        if (i % kLoopsPerManifold == 0)
            manifolds.emplace_back();
        const LoopInput& loop = project.loops[i];
        en1264::DesignRoom room;
        room.name = loop.name;
        room.roomTemp = loop.roomTemp;
        room.area = loop.lengthM * loop.spacingMm / 1000;
        room.heatLoad = loop.loadW.value_or(0);
        room.floor = en1264::floorFromConstruction(m.thickness, m.conductivity, m.pipeDiameter,
                                                   loop.spacingMm);
        room.below = en1264::Below{en1264::BelowKind::HeatedRoom, 0.75, 0.08, 0.02, 20.0};
        en1264::ManifoldDesignInput& design = manifolds.back();
        en1264::DesignLoop designLoop;
        designLoop.name = loop.name;
        designLoop.room = design.rooms.size();
        designLoop.leaderLength = 3;
        designLoop.bends = m.elbows;
        design.rooms.push_back(std::move(room));
        design.loops.push_back(std::move(designLoop));
    }
    return manifolds;
}

} // namespace

En1264BenchFigures runEn1264Bench(double defaultNsPerRun) {
    const bench::BenchProject project = bench::makeBenchProject(10000);
    const std::vector<method::LoopSetup> setups = loopSetups(project);
    volatile double sink = 0;

    method::LoopMethodRunner runner;
    const double perLoop = bestOf(7,
                                  [&] {
                                      for (const method::LoopSetup& s : setups)
                                          sink =
                                              runner.compute(method::Method::En1264, s).heatOutput;
                                  }) /
                           double(setups.size());
    const double single =
        bestOf(7,
               [&] {
                   for (const method::LoopSetup& s : setups)
                       sink = method::loopByMethod(method::Method::En1264, s).heatOutput;
               }) /
        double(setups.size());
    std::printf("en1264 %.0f ns/loop (%.3f of default %.0f ns/run, %zu floors)\n", perLoop,
                perLoop / defaultNsPerRun, defaultNsPerRun, runner.floorsComputed());
    std::printf("en1264-single %.0f ns/loop (%.3f of default)\n", single, single / defaultNsPerRun);

    const std::vector<en1264::ManifoldDesignInput> manifolds = designInputs(project);
    std::size_t designed = 0;
    const double designNs = bestOf(5, [&] {
        designed = 0;
        for (const en1264::ManifoldDesignInput& in : manifolds)
            designed += en1264::designManifold(in).totals.loops;
    });
    std::printf("design %.1f ms (%zu loops, %zu designed, %zu manifolds; default %.0f ns/run)\n",
                designNs / 1e6, setups.size(), designed, manifolds.size(), defaultNsPerRun);
    (void)sink;
    return {perLoop, single};
}
