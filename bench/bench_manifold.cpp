// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_manifold.h"

#include "models/manifold/manifoldjobs.h"
#include "models/manifold/manifoldmodel.h"

#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace zorva;

namespace {

bench::ProjectSummary computeConcurrently(const bench::BenchProject& project) {
    // All three start at once, so the pool stays busy across their ends.
    QFuture<LoopResult> runs = models::computeLoopsConcurrently(project.manifold, project.loops);
    QFuture<DiffSearch> diffs =
        models::searchTempDiffsConcurrently(project.manifold, project.loops);
    QFuture<SupplyNeed> needs = models::supplyNeedsConcurrently(project.manifold, project.loops);
    bench::ProjectSummary s;
    const QList<LoopResult> r = runs.results();
    const QList<DiffSearch> d = diffs.results();
    const QList<SupplyNeed> n = needs.results();
    s.results.assign(r.begin(), r.end());
    s.diffs.assign(d.begin(), d.end());
    s.needs.assign(n.begin(), n.end());
    balance(s.results);
    s.totals = manifoldTotals(project.manifold, s.results);
    s.suggestion = combineSupplyNeeds(s.needs);
    return s;
}

bool sameSummary(const bench::ProjectSummary& a, const bench::ProjectSummary& b) {
    if (a.results.size() != b.results.size() || a.diffs.size() != b.diffs.size())
        return false;
    for (std::size_t i = 0; i < a.diffs.size(); ++i) {
        if (a.diffs[i].result != b.diffs[i].result || a.diffs[i].tempDiff != b.diffs[i].tempDiff ||
            a.needs[i].supplyTemp != b.needs[i].supplyTemp ||
            a.results[i].resistance != b.results[i].resistance)
            return false;
    }
    return a.totals.output == b.totals.output && a.totals.pumpHeadKpa == b.totals.pumpHeadKpa &&
           a.suggestion.supplyTemp == b.suggestion.supplyTemp &&
           a.suggestion.decidingLoop == b.suggestion.decidingLoop;
}

// One cell edit in the sheet's table of the whole project: the loop's run,
// balancing and totals of every loop, in microseconds per edit.
double timeCellEditUs(const bench::BenchProject& project) {
    std::vector<models::SheetRow> rows;
    for (const LoopInput& loop : project.loops)
        rows.push_back(models::SheetRow{loop, {}});
    models::ManifoldModel model;
    model.reset(project.manifold, rows);
    const models::ManifoldModel::Job job = model.staleJob();
    std::vector<LoopResult> results(job.loops.size());
    computeLoops(job.manifold, job.loops, results);
    model.applyResults(job, results);
    constexpr int edits = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < edits; ++i) {
        const QModelIndex cell =
            model.index(i * 37 % model.rowCount(), models::ManifoldModel::Length);
        model.setData(cell, QString::number(40 + i % 60));
    }
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(stop - start).count() / edits;
}

} // namespace

int runManifoldBench(const bench::BenchProject& project, double serialMs) {
    // Rounds alternate between one thread and all cores, so that both see
    // the same load of a shared machine; the best of each counts.
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double, std::milli>(b - a).count();
    };
    double best = 1e300;
    bench::ProjectSummary summary;
    bench::ProjectSummary serial;
    for (int round = 0; round < 4; ++round) {
        auto start = Clock::now();
        summary = computeConcurrently(project);
        best = std::min(best, ms(start, Clock::now()));
        start = Clock::now();
        serial = bench::computeProjectSerial(project);
        serialMs = std::min(serialMs, ms(start, Clock::now()));
    }
    if (!sameSummary(summary, serial)) {
        std::printf("manifold FAILED: the threaded result differs from the one-thread result\n");
        return 1;
    }
    std::printf("manifold %.0f ms\n", best);
    std::printf("manifold speed-up %.2f (%d threads, against %.0f ms on one)\n", serialMs / best,
                QThreadPool::globalInstance()->maxThreadCount(), serialMs);
    std::printf("manifold edit %.0f us/edit (%zu loops)\n", timeCellEditUs(project),
                project.loops.size());
    return 0;
}
