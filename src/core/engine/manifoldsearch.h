// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two searches of the manifold sheet, each probe a whole run of the
// method: the supply–return difference at which a loop gives off its load at
// the common supply temperature, and the lowest supply temperature at which
// every loop with a load reaches it. Both keep inside the design check's
// limits (difference, velocity, floor limit, supply limit), say which rule
// bounded each answer, and mark the loops they cannot serve within them
// (docs/checks.md, "The manifold searches"). The per-loop searches are
// independent, so a caller may run them on several threads and combine the
// answers.

#include "core/engine/designcheck.h"
#include "core/engine/manifold.h"

#include <cstddef>
#include <optional>
#include <span>

namespace zorva {

// The smallest supply–return difference the searches use, ℃.
constexpr double kMinTempDiff = 0.1;
// The largest difference a loop may hold (the project file's range), ℃.
constexpr double kMaxLoopTempDiff = 50;
// The highest supply temperature the supply search tries even when the
// limit is set higher, ℃.
constexpr double kMaxSupplyTemp = 95;

// Whether the loop's output reaches `loadW` with these temperatures: the run
// converges and heat output × area ≥ load.
bool reachesLoad(const ManifoldInput& manifold, const LoopInput& loop, double supplyTemp,
                 double tempDiff, double loadW);

// What set a search's answer, or why a loop cannot be served.
enum class SearchBound {
    None,
    Load,        // the load itself: a larger difference (lower supply) misses it
    MaxTempDiff, // the largest difference the limits allow
    MinTempDiff, // the smallest difference the limits allow
    RoomTemp,    // the return may not fall to the room temperature
    Velocity,    // the lowest velocity
    FloorLimit,  // the category's floor limit (mean temperature or limit curve)
    SupplyLimit, // the highest supply temperature
};

struct DiffSearch {
    enum class Result {
        Found,       // tempDiff keeps every rule and reaches the load
        CannotServe, // no difference within the limits does; `bound` says why
        NoLoad,      // the loop has no load
    } result = Result::NoLoad;
    // Found: the largest difference on whole tenths of a degree within the
    // limits at which the loop reaches its load and its velocity limit.
    double tempDiff = 0;
    SearchBound bound = SearchBound::None;
    int probes = 0; // whole runs made
};

// The differences k/10 between the limits' smallest and largest (at most
// kMaxLoopTempDiff and supply − room), bisected on whole tenths at the
// manifold's supply temperature. A probe that faults or does not converge
// counts as not reaching the load. A supply above the limit, or a floor over
// its limit at the answer, leaves the loop unserved.
DiffSearch tempDiffForLoad(const ManifoldInput& manifold, const LoopInput& loop,
                           const CheckLimits& limits = {});

struct SupplyNeed {
    enum class Result { Found, NotReachable, CannotServe, NoLoad } result = Result::NoLoad;
    double supplyTemp = 0; // ℃, a whole tenth: the need, when Found or CannotServe
    // Found: Load; NotReachable: SupplyLimit; CannotServe: FloorLimit.
    SearchBound bound = SearchBound::None;
    // Found: a rule the loop still breaks at its need that no supply
    // temperature mends (its own difference, or the velocity): the loop is
    // served, and told so.
    SearchBound breaks = SearchBound::None;
    int probes = 0;
};

// The lowest supply temperature on whole tenths of a degree, between
// room + difference + 0.1 ℃ and the limits' highest supply temperature
// (at most kMaxSupplyTemp), at which the loop reaches its load with its
// difference (its own, else the manifold's). A loop whose floor is over its
// limit at that temperature cannot be served within the limits; one whose
// difference lies outside the limits, or whose velocity is below its limit
// there, is served and marked.
SupplyNeed requiredSupplyForLoop(const ManifoldInput& manifold, const LoopInput& loop,
                                 const CheckLimits& limits = {});

struct SupplySuggestion {
    enum class Result { Found, NotReachable, NoLoads } result = Result::NoLoads;
    // Found: the highest need over the loops that can be served.
    double supplyTemp = 0;
    // Found: the loop that decides it (the first of equals); NotReachable:
    // the first loop that cannot be served.
    std::optional<std::size_t> decidingLoop;
    std::size_t unreachable = 0; // loops that cannot be served
};

// The answer from the per-loop needs, in loop order: the loops that cannot
// be served (above the supply limit, or over the floor limit) are counted,
// the others decide.
SupplySuggestion combineSupplyNeeds(std::span<const SupplyNeed> needs);

// requiredSupplyForLoop over every loop on the calling thread, combined.
SupplySuggestion suggestSupplyTemp(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                                   const CheckLimits& limits = {});

} // namespace zorva
