// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/manifoldsearch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorva {

namespace {

// One whole run of the loop at these temperatures; a fault in making its
// texts counts as a faulted run.
Evaluation runAt(const ManifoldInput& manifold, const LoopInput& loop, double supplyTemp,
                 double tempDiff) {
    try {
        return evaluateDesign(loopFields(manifold, loop, supplyTemp, tempDiff));
    } catch (const ArithmeticError& error) {
        Evaluation e;
        e.status = RunStatus::Faulted;
        e.fault = error.fault();
        return e;
    }
}

bool reaches(const Evaluation& run, double loadW) {
    return run.converged() && static_cast<double>(run.heatOutput) * run.area >= loadW;
}

// The rules of the check on a probe's run: the velocity, and the floor of
// the limits' category (for an EN category by EN 1264-2 at these
// temperatures).
std::array<RuleCheck, kRuleCount> probeChecks(const ManifoldInput& manifold, const LoopInput& loop,
                                              double supplyTemp, double tempDiff,
                                              const Evaluation& run, const CheckLimits& limits) {
    CheckLimits rules = limits;
    rules.loadPerArea.reset();
    if (!limitCurveCategory(limits.category))
        return checkDesign(run, rules);
    En1264Result en;
    try {
        en = en1264TypeA(en1264Inputs(loopFields(manifold, loop, supplyTemp, tempDiff),
                                      floorTempLimit(limits.category)));
    } catch (const ArithmeticError&) {
        return checkDesign(run, rules);
    }
    return checkDesign(run, rules, &en);
}

bool fails(const std::array<RuleCheck, kRuleCount>& checks, Rule rule) {
    return checks[static_cast<std::size_t>(rule)].verdict == Verdict::Fail;
}

// Whole tenths: the lowest not below `low`, the highest not above `high`;
// the small allowance keeps 7.3 (stored as 7.2999…) at 73 tenths.
long tenthsAtLeast(double low) {
    return static_cast<long>(std::ceil(low * 10 - 1e-6));
}
long tenthsAtMost(double high) {
    return static_cast<long>(std::floor(high * 10 + 1e-6));
}

} // namespace

bool reachesLoad(const ManifoldInput& manifold, const LoopInput& loop, double supplyTemp,
                 double tempDiff, double loadW) {
    return reaches(runAt(manifold, loop, supplyTemp, tempDiff), loadW);
}

DiffSearch tempDiffForLoad(const ManifoldInput& manifold, const LoopInput& loop,
                           const CheckLimits& limits) {
    DiffSearch s;
    if (!loop.loadW)
        return s;
    const double load = *loop.loadW;
    const double supply = manifold.supplyTemp;
    s.result = DiffSearch::Result::CannotServe;
    if (!(supply <= limits.maxSupplyTemp)) {
        s.bound = SearchBound::SupplyLimit;
        return s;
    }
    // The range in tenths; the return stays above the room.
    const double room = supply - loop.roomTemp;
    const bool roomBounds = room <= limits.maxTempDiff && room <= kMaxLoopTempDiff;
    const double top = std::min({limits.maxTempDiff, kMaxLoopTempDiff, room});
    const double lowest = std::max(limits.minTempDiff, kMinTempDiff);
    if (!std::isfinite(top) || !std::isfinite(lowest) || !(lowest <= top) || std::fabs(top) > 1e6 ||
        std::fabs(lowest) > 1e6) {
        s.bound = roomBounds ? SearchBound::RoomTemp : SearchBound::MinTempDiff;
        return s;
    }
    long low = tenthsAtLeast(lowest);
    long high = tenthsAtMost(top);
    // A return at the room temperature is no return above it.
    if (roomBounds && static_cast<double>(high) / 10 >= room)
        --high;
    if (low > high) {
        s.bound = roomBounds ? SearchBound::RoomTemp : SearchBound::MinTempDiff;
        return s;
    }

    // A difference serves when the run reaches the load at the velocity limit.
    Evaluation served;
    SearchBound missed = SearchBound::None;
    const auto serves = [&](long tenths) {
        ++s.probes;
        const double d = static_cast<double>(tenths) / 10;
        const Evaluation run = runAt(manifold, loop, supply, d);
        if (!reaches(run, load)) {
            missed = SearchBound::Load;
            return false;
        }
        if (fails(probeChecks(manifold, loop, supply, d, run, limits), Rule::Velocity)) {
            missed = SearchBound::Velocity;
            return false;
        }
        served = run;
        return true;
    };
    if (!serves(low)) {
        s.bound = missed;
        return s;
    }
    long best = low;
    Evaluation bestRun = served;
    if (serves(high)) {
        best = high;
        bestRun = served;
        s.bound = roomBounds && high < tenthsAtMost(limits.maxTempDiff) ? SearchBound::RoomTemp
                                                                        : SearchBound::MaxTempDiff;
    } else {
        // `best` serves, `high` does not; the last miss says which rule.
        SearchBound bound = missed;
        while (high - best > 1) {
            const long mid = best + (high - best) / 2;
            if (serves(mid)) {
                best = mid;
                bestRun = served;
            } else {
                high = mid;
                bound = missed;
            }
        }
        s.bound = bound;
    }
    const double d = static_cast<double>(best) / 10;
    // The output is closest to the load at the largest difference, so is the
    // floor: over its limit here, it is over it at every difference that serves.
    if (fails(probeChecks(manifold, loop, supply, d, bestRun, limits), Rule::FloorTemp)) {
        s.bound = SearchBound::FloorLimit;
        return s;
    }
    s.result = DiffSearch::Result::Found;
    s.tempDiff = d;
    return s;
}

SupplyNeed requiredSupplyForLoop(const ManifoldInput& manifold, const LoopInput& loop,
                                 const CheckLimits& limits) {
    SupplyNeed need;
    if (!loop.loadW)
        return need;
    const double diff = loopTempDiff(manifold, loop);
    const double load = *loop.loadW;
    const auto reachesAt = [&](long tenths) {
        ++need.probes;
        return reachesLoad(manifold, loop, static_cast<double>(tenths) / 10.0, diff, load);
    };
    // The first whole tenth above room + difference, i.e. a return
    // temperature above the room's.
    const double floorTenths = std::floor((loop.roomTemp + diff) * 10 + 1e-9);
    const double limit = std::min(limits.maxSupplyTemp, kMaxSupplyTemp);
    const long top = std::isfinite(limit) ? tenthsAtMost(limit) : 0;
    need.result = SupplyNeed::Result::NotReachable;
    need.bound = SearchBound::SupplyLimit;
    if (!std::isfinite(floorTenths) || floorTenths + 1 > static_cast<double>(top))
        return need;
    long low = static_cast<long>(floorTenths); // not reached (or below the range)
    long high = top;
    if (!reachesAt(high))
        return need;
    if (reachesAt(low + 1)) {
        high = low + 1;
    } else {
        ++low;
        while (high - low > 1) {
            const long mid = low + (high - low) / 2;
            (reachesAt(mid) ? high : low) = mid;
        }
    }
    need.supplyTemp = static_cast<double>(high) / 10.0;
    const Evaluation run = runAt(manifold, loop, need.supplyTemp, diff);
    ++need.probes;
    const auto checks = probeChecks(manifold, loop, need.supplyTemp, diff, run, limits);
    if (fails(checks, Rule::FloorTemp)) {
        need.result = SupplyNeed::Result::CannotServe;
        need.bound = SearchBound::FloorLimit;
        return need;
    }
    need.result = SupplyNeed::Result::Found;
    need.bound = SearchBound::Load;
    if (diff < limits.minTempDiff)
        need.breaks = SearchBound::MinTempDiff;
    else if (diff > limits.maxTempDiff)
        need.breaks = SearchBound::MaxTempDiff;
    else if (fails(checks, Rule::Velocity))
        need.breaks = SearchBound::Velocity;
    return need;
}

SupplySuggestion combineSupplyNeeds(std::span<const SupplyNeed> needs) {
    SupplySuggestion s;
    bool anyLoad = false;
    std::optional<std::size_t> firstUnserved;
    for (std::size_t i = 0; i < needs.size(); ++i) {
        const SupplyNeed& need = needs[i];
        if (need.result == SupplyNeed::Result::NoLoad)
            continue;
        anyLoad = true;
        if (need.result != SupplyNeed::Result::Found) {
            if (s.unreachable++ == 0)
                firstUnserved = i;
            continue;
        }
        if (!s.decidingLoop || need.supplyTemp > s.supplyTemp) {
            s.result = SupplySuggestion::Result::Found;
            s.decidingLoop = i;
            s.supplyTemp = need.supplyTemp;
        }
    }
    if (!anyLoad)
        return SupplySuggestion{};
    if (!s.decidingLoop) {
        s.result = SupplySuggestion::Result::NotReachable;
        s.decidingLoop = firstUnserved;
    }
    return s;
}

SupplySuggestion suggestSupplyTemp(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                                   const CheckLimits& limits) {
    std::vector<SupplyNeed> needs;
    needs.reserve(loops.size());
    for (const LoopInput& loop : loops)
        needs.push_back(requiredSupplyForLoop(manifold, loop, limits));
    return combineSupplyNeeds(needs);
}

} // namespace zorva
