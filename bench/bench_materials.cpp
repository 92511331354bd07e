// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_materials.h"

#include "core/hydraulics/manifoldduty.h"
#include "core/materials/bill.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

using namespace zorva;

namespace {

struct MaterialsProject {
    std::vector<hydraulics::ManifoldHydraulicsInput> manifolds;
    std::vector<materials::BillLoop> loops;
    std::vector<materials::BillRoom> rooms;
    std::vector<materials::BillManifold> billManifolds;
};

// Manifolds of 2 to 10 loops, rooms of one or two loops, loops of 30 to
// 120 m on 20 mm or (one in five) 16 mm pipe.
MaterialsProject makeProject(std::size_t loopCount, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> length(30, 120), flow(40, 260), drop(1, 25);
    MaterialsProject p;
    while (p.loops.size() < loopCount) {
        const std::size_t n = std::min<std::size_t>(2 + random() % 9, loopCount - p.loops.size());
        hydraulics::ManifoldHydraulicsInput m;
        m.supplyTemp = 40;
        m.supplyDensity = 992.2;
        m.connectionPressureDropKpa = 2;
        for (std::size_t i = 0; i < n; ++i) {
            m.loops.push_back({flow(random), drop(random), 993, 34});
            if (i % 2 == 0)
                p.rooms.push_back({"room", 8 + flow(random) / 10, 14, 0, true});
            p.loops.push_back({"loop", p.rooms.size() - 1, p.billManifolds.size(),
                               random() % 5 == 0 ? "PE-X 16×2.0" : "PE-X 20×2.0",
                               std::round(length(random) * 10) / 10});
        }
        p.manifolds.push_back(std::move(m));
        p.billManifolds.push_back({"manifold"});
    }
    return p;
}

// The whole job once; returns a number that depends on every result.
double computeAll(const MaterialsProject& p, double& ratio) {
    double sum = 0;
    for (const hydraulics::ManifoldHydraulicsInput& m : p.manifolds) {
        const hydraulics::ManifoldHydraulics h = hydraulics::manifoldHydraulics(m);
        sum += h.pump.headKpa + h.presetting.loops.back().dialSetting;
    }
    const materials::Bill bill = materials::billOfMaterials(p.loops, p.rooms, p.billManifolds);
    ratio = 0;
    for (const materials::PipePlan& plan : bill.pipes)
        ratio = std::max(ratio, plan.cutting.ratio);
    return sum + static_cast<double>(bill.items.size());
}

} // namespace

void runMaterialsBench() {
    const MaterialsProject project = makeProject(10000, 1);
    double best = 1e300, ratio = 0;
    volatile double sink = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        sink = computeAll(project, ratio);
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
    }
    (void)sink;
    // Random projects of 200 to 5,000 loops.
    double worst = 0;
    constexpr int projects = 20;
    for (int i = 0; i < projects; ++i) {
        const MaterialsProject other =
            makeProject(200 + static_cast<std::size_t>(i) * 250, static_cast<unsigned>(100 + i));
        double r = 0;
        computeAll(other, r);
        worst = std::max(worst, r);
    }
    std::printf("materials %.0f ms (10000 loops), cutting plan %.4f of the lower bound, worst "
                "%.4f on %d random projects\n",
                best, ratio, worst, projects);
}
