#include "bench_cooling.h"

#include "core/cooling/loop.h"
#include "core/engine/curves.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

using namespace zorva;

namespace {

struct BenchLoop {
    En1264Inputs heating;
    cooling::LoopInputs cooling;
};

std::vector<BenchLoop> makeLoops(int count) {
    std::mt19937 random(22);
    const En1264Inputs construction = en1264Inputs(FieldRecord::defaults(), 29);
    std::vector<BenchLoop> loops(count);
    for (BenchLoop& loop : loops) {
        const double spacing =
            kFamilySpacings[random() % kFamilySpacings.size()] / 1000; // 100 … 300 mm
        loop.heating = construction;
        loop.heating.spacing = spacing;
        loop.heating.supplyTemp = 40 + random() % 11;
        loop.heating.returnTemp = loop.heating.supplyTemp - 5 - random() % 6;
        loop.heating.roomTemp = 20;
        loop.heating.downwardResistance = 0.92;
        loop.heating.belowTemp = 20.0;
        loop.cooling.construction = loop.heating;
        loop.cooling.construction.belowTemp = 26.0;
        loop.cooling.supplyTemp = 16 + (random() % 31) / 10.0;
        loop.cooling.returnTemp = loop.cooling.supplyTemp + 3;
        loop.cooling.length = 40 + random() % 81;
    }
    return loops;
}

// Best of several rounds over all loops, in nanoseconds per loop.
template <typename Work> double nsPerLoop(const std::vector<BenchLoop>& loops, Work work) {
    double best = 1e300;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (const BenchLoop& loop : loops)
            work(loop);
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::nano>(stop - start).count() /
                                  double(loops.size()));
    }
    return best;
}

} // namespace

void runCoolingBench() {
    const std::vector<BenchLoop> loops = makeLoops(10000);
    volatile double sink = 0;
    const double heating =
        nsPerLoop(loops, [&](const BenchLoop& l) { sink = en1264TypeA(l.heating).heatFlux; });
    const double alone = nsPerLoop(
        loops, [&](const BenchLoop& l) { sink = cooling::coolingLoop(l.cooling).coolingOutput; });
    cooling::CharacteristicCache cache;
    const double shared = nsPerLoop(loops, [&](const BenchLoop& l) {
        sink = cooling::coolingLoop(l.cooling, cache.get(l.cooling.construction)).coolingOutput;
    });
    (void)sink;
    std::printf("en1264 %.0f ns/loop\n", heating);
    std::printf("cooling %.0f ns/loop (%.0f ns/loop with both heating runs for every loop)\n",
                shared, alone);
}
