#pragma once
// The two searches of the manifold sheet, each probe a whole run of the
// method: the supply–return difference at which a loop gives off its load at
// the common supply temperature, and the lowest supply temperature at which
// every loop with a load reaches it. The per-loop searches are independent,
// so a caller may run them on several threads and combine the answers.

#include "core/engine/manifold.h"

#include <cstddef>
#include <optional>
#include <span>

namespace zorva {

// The smallest supply–return difference the searches use, ℃.
constexpr double kMinTempDiff = 0.1;
// The highest supply temperature the supply search tries, ℃.
constexpr double kMaxSupplyTemp = 95;
// How close the difference search brackets the return temperature, ℃.
constexpr double kReturnTempTolerance = 0.01;

// Whether the loop's output reaches `loadW` with these temperatures: the run
// converges and heat output × area ≥ load.
bool reachesLoad(const ManifoldInput& manifold, const LoopInput& loop, double supplyTemp,
                 double tempDiff, double loadW);

struct DiffSearch {
    enum class Result {
        Found,          // tempDiff reaches the load
        CannotServe,    // not even the smallest difference reaches it
        LoadBelowRange, // the return at room temperature still gives more
        NoLoad,         // the loop has no load
    } result = Result::NoLoad;
    // Found: the largest difference (within kReturnTempTolerance) at which
    // output ≥ load; LoadBelowRange: supply − room.
    double tempDiff = 0;
    int probes = 0; // whole runs made
};

// Bisection on the return temperature between the room temperature and
// supply − kMinTempDiff at the manifold's supply temperature. A probe that
// faults or does not converge counts as not reaching the load.
DiffSearch tempDiffForLoad(const ManifoldInput& manifold, const LoopInput& loop);

struct SupplyNeed {
    enum class Result { Found, NotReachable, NoLoad } result = Result::NoLoad;
    double supplyTemp = 0; // ℃, a whole tenth, when Found
    int probes = 0;
};

// The lowest supply temperature on whole tenths of a degree, between
// room + difference + 0.1 ℃ and kMaxSupplyTemp, at which the loop reaches
// its load with its difference (its own, else the manifold's).
SupplyNeed requiredSupplyForLoop(const ManifoldInput& manifold, const LoopInput& loop);

struct SupplySuggestion {
    enum class Result { Found, NotReachable, NoLoads } result = Result::NoLoads;
    double supplyTemp = 0; // ℃, when Found: the highest need over the loops
    // Found: the loop that decides it (the first of equals); NotReachable:
    // the first loop that cannot be served below kMaxSupplyTemp.
    std::optional<std::size_t> decidingLoop;
    std::size_t unreachable = 0; // loops that cannot be served
};

// The answer from the per-loop needs, in loop order.
SupplySuggestion combineSupplyNeeds(std::span<const SupplyNeed> needs);

// requiredSupplyForLoop over every loop on the calling thread, combined.
SupplySuggestion suggestSupplyTemp(const ManifoldInput& manifold, std::span<const LoopInput> loops);

} // namespace zorva
