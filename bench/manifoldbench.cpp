// SPDX-License-Identifier: GPL-3.0-or-later
#include "manifoldbench.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <string>

namespace zorva::bench {

namespace {

// A small linear congruential generator: the same project on every system.
struct Lcg {
    std::uint32_t state;
    std::uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    // A whole number in [0, n).
    std::uint32_t below(std::uint32_t n) { return next() % n; }
};

} // namespace

BenchProject makeBenchProject(std::size_t loops, std::uint32_t seed) {
    constexpr std::array<double, 5> rooms{16, 18, 20, 22, 24};
    constexpr std::array<double, 5> spacings{100, 150, 200, 250, 300};
    BenchProject p;
    p.manifold.supplyTemp = 45;
    p.manifold.tempDiff = 8;
    p.loops.reserve(loops);
    Lcg rng{seed};
    for (std::size_t i = 0; i < loops; ++i) {
        LoopInput l;
        l.name = "环路 " + std::to_string(i + 1);
        l.roomTemp = rooms[rng.below(rooms.size())];
        l.spacingMm = spacings[rng.below(spacings.size())];
        l.lengthM = 30 + rng.below(901) / 10.0; // 30 .. 120 m
        const double area = l.lengthM * l.spacingMm / 1000;
        l.loadW = std::round(area * (40 + rng.below(71))); // 40 .. 110 W/m²
        p.loops.push_back(std::move(l));
    }
    return p;
}

ProjectSummary emptySummary(const BenchProject& project) {
    ProjectSummary s;
    s.results.resize(project.loops.size());
    s.diffs.resize(project.loops.size());
    s.needs.resize(project.loops.size());
    return s;
}

void computeLoopWork(const BenchProject& project, std::size_t i, ProjectSummary& s) {
    const LoopInput& loop = project.loops[i];
    s.results[i] = computeLoop(project.manifold, loop);
    s.diffs[i] = tempDiffForLoad(project.manifold, loop);
    s.needs[i] = requiredSupplyForLoop(project.manifold, loop);
}

void finishSummary(const BenchProject& project, ProjectSummary& s) {
    balance(s.results);
    s.totals = manifoldTotals(project.manifold, s.results);
    s.suggestion = combineSupplyNeeds(s.needs);
}

ProjectSummary computeProjectSerial(const BenchProject& project) {
    ProjectSummary s = emptySummary(project);
    for (std::size_t i = 0; i < project.loops.size(); ++i)
        computeLoopWork(project, i, s);
    finishSummary(project, s);
    return s;
}

double timeProjectSerialMs(const BenchProject& project, int rounds) {
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        const ProjectSummary s = computeProjectSerial(project);
        const auto stop = std::chrono::steady_clock::now();
        if (s.results.size() != project.loops.size())
            return -1;
        best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
    }
    return best;
}

} // namespace zorva::bench
