// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/materials/cutting.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>

namespace zorva::materials {

namespace {

bool lengthOk(double m) {
    return std::isfinite(m) && m > 0 && m <= kMaxCutLengthM;
}

// The shortest stocked roll (sizes ascending) that holds `mm`; the caller
// makes sure one does.
std::int64_t shortestHolding(const std::vector<std::int64_t>& ascending, std::int64_t mm) {
    return *std::lower_bound(ascending.begin(), ascending.end(), mm);
}

// Best-fit decreasing: each piece, longest first, goes into the open roll it
// leaves the least room in; when none holds it a roll of `openMm` is opened
// (or the shortest that holds a longer piece). Then every roll is shrunk to
// the shortest stocked length that holds its pieces.
std::vector<RollCut> bestFit(std::span<const std::size_t> order,
                             std::span<const std::int64_t> pieces,
                             const std::vector<std::int64_t>& ascending, std::int64_t openMm) {
    std::vector<RollCut> rolls;
    std::multimap<std::int64_t, std::size_t> room; // room left → roll
    for (const std::size_t loop : order) {
        const std::int64_t piece = pieces[loop];
        auto fit = room.lower_bound(piece);
        std::size_t roll;
        if (fit == room.end()) {
            roll = rolls.size();
            rolls.push_back({std::max(openMm, shortestHolding(ascending, piece)), {}, 0});
        } else {
            roll = fit->second;
            room.erase(fit);
        }
        RollCut& r = rolls[roll];
        r.loops.push_back(loop);
        r.usedMm += piece;
        if (r.offcutMm() > 0)
            room.emplace(r.offcutMm(), roll);
    }
    for (RollCut& r : rolls)
        r.rollMm = shortestHolding(ascending, r.usedMm);
    return rolls;
}

std::int64_t purchased(const std::vector<RollCut>& rolls) {
    std::int64_t sum = 0;
    for (const RollCut& r : rolls)
        sum += r.rollMm;
    return sum;
}

} // namespace

CuttingPlan planCuts(std::span<const double> loopLengthsM, std::span<const double> rollLengthsM,
                     double allowanceM) {
    CuttingPlan plan;
    const auto fail = [&](CuttingFault f, std::size_t i) {
        plan.fault = f;
        plan.faultIndex = i;
        return plan;
    };
    if (rollLengthsM.empty())
        return fail(CuttingFault::NoRolls, 0);
    if (rollLengthsM.size() > kMaxRollKinds)
        return fail(CuttingFault::TooManyRolls, 0);
    std::vector<std::int64_t> ascending;
    for (std::size_t i = 0; i < rollLengthsM.size(); ++i) {
        if (!lengthOk(rollLengthsM[i]))
            return fail(CuttingFault::RollInvalid, i);
        // A roll holds at most its nominal length.
        const auto mm = static_cast<std::int64_t>(std::floor(rollLengthsM[i] * 1000 + 1e-6));
        if (mm < 1)
            return fail(CuttingFault::RollInvalid, i);
        ascending.push_back(mm);
    }
    std::sort(ascending.begin(), ascending.end());
    ascending.erase(std::unique(ascending.begin(), ascending.end()), ascending.end());
    if (!std::isfinite(allowanceM) || allowanceM < 0 || allowanceM > kMaxCutLengthM)
        return fail(CuttingFault::AllowanceInvalid, 0);

    // A loop is cut at least as long as it is, to the millimetre above.
    std::vector<std::int64_t> pieces(loopLengthsM.size());
    for (std::size_t i = 0; i < loopLengthsM.size(); ++i) {
        if (!lengthOk(loopLengthsM[i]))
            return fail(CuttingFault::LoopInvalid, i);
        pieces[i] =
            static_cast<std::int64_t>(std::ceil((loopLengthsM[i] + allowanceM) * 1000 - 1e-6));
    }
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i] > ascending.back())
            plan.unplaced.push_back(i);
        else
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return pieces[a] > pieces[b]; });
    std::int64_t pieceSum = 0;
    for (const std::size_t i : order)
        pieceSum += pieces[i];

    // Each stocked length as the opening length; the least bought wins, then
    // the fewest rolls, then the longer opening length.
    std::int64_t best = -1;
    for (auto open = ascending.rbegin(); open != ascending.rend() && !order.empty(); ++open) {
        std::vector<RollCut> rolls = bestFit(order, pieces, ascending, *open);
        const std::int64_t bought = purchased(rolls);
        if (best < 0 || bought < best || (bought == best && rolls.size() < plan.rolls.size())) {
            best = bought;
            plan.rolls = std::move(rolls);
        }
    }
    std::stable_sort(plan.rolls.begin(), plan.rolls.end(),
                     [](const RollCut& a, const RollCut& b) { return a.rollMm > b.rollMm; });
    for (auto size = ascending.rbegin(); size != ascending.rend(); ++size) {
        const auto n = static_cast<std::size_t>(
            std::count_if(plan.rolls.begin(), plan.rolls.end(),
                          [&](const RollCut& r) { return r.rollMm == *size; }));
        if (n > 0)
            plan.rollCounts.push_back({static_cast<double>(*size) / 1000, n});
    }

    const std::int64_t unit =
        std::accumulate(ascending.begin(), ascending.end(), std::int64_t{0},
                        [](std::int64_t a, std::int64_t b) { return std::gcd(a, b); });
    const std::int64_t bound = (pieceSum + unit - 1) / unit * unit;
    plan.piecesM = static_cast<double>(pieceSum) / 1000;
    best = std::max<std::int64_t>(best, 0);
    plan.purchasedM = static_cast<double>(best) / 1000;
    plan.offcutM = static_cast<double>(best - pieceSum) / 1000;
    plan.lowerBoundM = static_cast<double>(bound) / 1000;
    plan.ratio = bound > 0 ? plan.purchasedM / plan.lowerBoundM : 0;
    return plan;
}

} // namespace zorva::materials
