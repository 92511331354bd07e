#include "core/engine/manifoldsearch.h"

#include <cmath>
#include <vector>

namespace zorva {

bool reachesLoad(const ManifoldInput& manifold, const LoopInput& loop, double supplyTemp,
                 double tempDiff, double loadW) {
    try {
        const Evaluation run = evaluateDesign(loopFields(manifold, loop, supplyTemp, tempDiff));
        return run.converged() && static_cast<double>(run.heatOutput) * run.area >= loadW;
    } catch (const ArithmeticError&) {
        return false;
    }
}

DiffSearch tempDiffForLoad(const ManifoldInput& manifold, const LoopInput& loop) {
    DiffSearch s;
    if (!loop.loadW)
        return s;
    const double load = *loop.loadW;
    const double supply = manifold.supplyTemp;
    const auto reaches = [&](double returnTemp) {
        ++s.probes;
        return reachesLoad(manifold, loop, supply, supply - returnTemp, load);
    };
    // `high` reaches the load, `low` does not.
    double high = supply - kMinTempDiff;
    double low = loop.roomTemp;
    if (!(high > low) || !reaches(high)) {
        s.result = DiffSearch::Result::CannotServe;
        return s;
    }
    if (reaches(low)) {
        s.result = DiffSearch::Result::LoadBelowRange;
        s.tempDiff = supply - low;
        return s;
    }
    while (high - low > kReturnTempTolerance) {
        const double mid = (low + high) / 2;
        (reaches(mid) ? high : low) = mid;
    }
    s.result = DiffSearch::Result::Found;
    s.tempDiff = supply - high;
    return s;
}

SupplyNeed requiredSupplyForLoop(const ManifoldInput& manifold, const LoopInput& loop) {
    SupplyNeed need;
    if (!loop.loadW)
        return need;
    const double diff = loopTempDiff(manifold, loop);
    const double load = *loop.loadW;
    const auto reaches = [&](long tenths) {
        ++need.probes;
        return reachesLoad(manifold, loop, static_cast<double>(tenths) / 10.0, diff, load);
    };
    // The first whole tenth above room + difference, i.e. a return
    // temperature above the room's.
    const double floorTenths = std::floor((loop.roomTemp + diff) * 10 + 1e-9);
    const long top = std::lround(kMaxSupplyTemp * 10);
    need.result = SupplyNeed::Result::NotReachable;
    if (!std::isfinite(floorTenths) || floorTenths + 1 > static_cast<double>(top))
        return need;
    long low = static_cast<long>(floorTenths); // not reached (or below the range)
    long high = top;
    if (!reaches(high))
        return need;
    if (reaches(low + 1)) {
        high = low + 1;
    } else {
        ++low;
        while (high - low > 1) {
            const long mid = low + (high - low) / 2;
            (reaches(mid) ? high : low) = mid;
        }
    }
    need.result = SupplyNeed::Result::Found;
    need.supplyTemp = static_cast<double>(high) / 10.0;
    return need;
}

SupplySuggestion combineSupplyNeeds(std::span<const SupplyNeed> needs) {
    SupplySuggestion s;
    bool anyLoad = false;
    for (std::size_t i = 0; i < needs.size(); ++i) {
        const SupplyNeed& need = needs[i];
        if (need.result == SupplyNeed::Result::NoLoad)
            continue;
        anyLoad = true;
        if (need.result == SupplyNeed::Result::NotReachable) {
            if (s.unreachable++ == 0) {
                s.result = SupplySuggestion::Result::NotReachable;
                s.decidingLoop = i;
            }
            continue;
        }
        if (s.unreachable == 0 && (!s.decidingLoop || need.supplyTemp > s.supplyTemp)) {
            s.result = SupplySuggestion::Result::Found;
            s.decidingLoop = i;
            s.supplyTemp = need.supplyTemp;
        }
    }
    if (!anyLoad)
        s = SupplySuggestion{};
    if (s.unreachable > 0)
        s.supplyTemp = 0;
    return s;
}

SupplySuggestion suggestSupplyTemp(const ManifoldInput& manifold,
                                   std::span<const LoopInput> loops) {
    std::vector<SupplyNeed> needs;
    needs.reserve(loops.size());
    for (const LoopInput& loop : loops)
        needs.push_back(requiredSupplyForLoop(manifold, loop));
    return combineSupplyNeeds(needs);
}

} // namespace zorva
