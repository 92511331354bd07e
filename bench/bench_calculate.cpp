// SPDX-License-Identifier: GPL-3.0-or-later
// zorva-bench: one line per figure, "<name> <value> <unit> (...)". The
// Calculate run on the default design and on one that does not converge,
// one update of the design check, then each capability's own lines from its
// bench_<name>.cpp (the standard method, cooling, the manifold sheet, rooms,
// the project pipeline, materials, the curves, the floor plan's loop layout, zorva-calc), and last
// the start-up figures of the windows.
// The README's bench section lists every line with its goal.

#include "bench_cli.h"
#include "bench_cooling.h"
#include "bench_curves.h"
#include "bench_en1264.h"
#include "bench_layout.h"
#include "bench_manifold.h"
#include "bench_materials.h"
#include "bench_planedit.h"
#include "bench_project.h"
#include "bench_projectplan.h"
#include "bench_projectui.h"
#include "bench_report.h"
#include "bench_rooms.h"
#include "bench_startup.h"
#include "core/engine/calculate.h"
#include "core/engine/designreview.h"
#include "manifoldbench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace zorva;

namespace {

// Best of several rounds of `runs` runs each, in nanoseconds per run.
double timeRuns(const FieldRecord& fields, int runs) {
    WorkingVars vars;
    readSettings(vars, fields);
    double best = 1e300;
    volatile float sink = 0;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < runs; ++i) {
            runCalculation(vars, fields);
            sink = vars.heatOutput;
        }
        const auto stop = std::chrono::steady_clock::now();
        const double ns = std::chrono::duration<double, std::nano>(stop - start).count();
        best = std::min(best, ns / runs);
    }
    (void)sink;
    return best;
}

// Best of several rounds of `count` calls of `work`, in nanoseconds per call.
template <typename Work> double timeCalls(int count, Work work) {
    double best = 1e300;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i)
            work();
        const auto stop = std::chrono::steady_clock::now();
        best =
            std::min(best, std::chrono::duration<double, std::nano>(stop - start).count() / count);
    }
    return best;
}

void benchChecks(const FieldRecord& fields) {
    volatile double sink = 0;
    const double run = timeCalls(20000, [&] { sink = evaluateDesign(fields).heatOutput; });
    CheckLimits limits;
    limits.loadPerArea = 100;
    const double update =
        timeCalls(2000, [&] { sink = reviewDesign(fields, limits).supply->supplyTemp; });
    (void)sink;
    std::printf("checks %.0f ns/update, %.1f runs\n", update, update / run);
}

} // namespace

int main(int argc, char** argv) {
    if (const char* mode = std::getenv("ZORVA_BENCH_STARTUP"))
        return startupChild(argc, argv, mode);
    // ZORVA_BENCH_ONLY=report, project-ui or layout-edit times that line alone.
    if (const char* only = std::getenv("ZORVA_BENCH_ONLY"); only != nullptr) {
        const std::string_view line(only);
        if (line == "report")
            return runReportBench(argc, argv);
        if (line == "project-ui") {
            runProjectUiBench(argc, argv);
            return 0;
        }
        if (line == "layout-edit") {
            runPlanEditBench();
            return 0;
        }
    }
    const FieldRecord defaults = FieldRecord::defaults();
    FieldRecord noconv = defaults;
    noconv.design = {"25", "50", "30", "300", "90", "32", "10"};

    const double defaultNs = timeRuns(defaults, 20000);
    std::printf("default %.0f ns/run\n", defaultNs);
    std::printf("noconv %.0f ns/run\n", timeRuns(noconv, 1000));
    benchChecks(defaults);
    const En1264BenchFigures heating = runEn1264Bench(defaultNs);
    runCoolingBench(heating.perLoop, heating.single);
    const bench::BenchProject project = bench::makeBenchProject(10000);
    const double serialMs = bench::timeProjectSerialMs(project, 3);
    std::printf("manifold-1thread %.0f ms\n", serialMs);
    if (const int failed = runManifoldBench(project, serialMs))
        return failed;
    runRoomsBench();
    runProjectBench();
    runProjectUiBench(argc, argv);
    runMaterialsBench();
    runCurvesBench();
    runLayoutBench();
    runProjectPlanBench();
    runPlanEditBench();
    runCliBench();
    if (const int failed = runCurvesRedrawBench(argc, argv))
        return failed;
    if (const int failed = runReportBench(argc, argv))
        return failed;
    return runStartupBench(argc, argv);
}
