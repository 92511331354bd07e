// Times the Calculate run: the default design and a design that does not
// converge in 500 passes. Prints "<case> <N> ns/run" per case, the
// characteristic curves' update and redraw, then the start-up figures of the
// windows.

#include "bench_curves.h"
#include "bench_startup.h"
#include "calculate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace zorva;

namespace {

// Best of several rounds of `runs` runs each, in nanoseconds per run.
double timeRuns(const FieldRecord& fields, int runs) {
    WorkingVars vars;
    ReadSettings(vars, fields);
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

} // namespace

int main(int argc, char** argv) {
    if (const char* mode = std::getenv("ZORVA_BENCH_STARTUP"))
        return startupChild(argc, argv, mode);
    const FieldRecord defaults = FieldRecord::defaults();
    FieldRecord noconv = defaults;
    noconv.design = {"25", "50", "30", "300", "90", "32", "10"};

    std::printf("default %.0f ns/run\n", timeRuns(defaults, 20000));
    std::printf("noconv %.0f ns/run\n", timeRuns(noconv, 1000));
    runCurvesBench();
    if (const int failed = runCurvesRedrawBench(argc, argv))
        return failed;
    return runStartupBench(argc, argv);
}
