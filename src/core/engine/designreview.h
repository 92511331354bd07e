// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the design check shows for one state of the fields, from one
// call: the run and its rules, the output the floor limit allows, the
// supply temperature a load needs, and the EN 1264-2 cross-check with its
// difference to this program's method.

#include "core/engine/designcheck.h"
#include "core/engine/en1264.h"

#include <optional>

namespace zorva {

// EN 1264-2 less this program's method.
struct MethodDifference {
    double heatFlux = 0;  // W/m²
    double floorTemp = 0; // ℃, mean floor temperature
    double percent = 0;   // of this program's heat output
};

struct DesignReview {
    Evaluation run; // this program's method on the fields as they are
    std::array<RuleCheck, kRuleCount> checks{};
    Verdict overall = Verdict::NotChecked; // worstVerdict(checks)

    double floorLimit = 0; // ℃, of the chosen room category
    // W/m²: the most the floor may give in the category (floorOutputLimit):
    // by the mean temperature for a JGJ row, by the EN 1264-2 limit curve for
    // an EN category; 0 when EN 1264-2 does not apply.
    double maxOutput = 0;
    FloorOutputLimit::Basis maxOutputBasis = FloorOutputLimit::Basis::NotAvailable;
    // W/m² that must come from other heating: only when a load is entered
    // and it is above maxOutput.
    std::optional<double> shortfall;
    // Only when a load is entered.
    std::optional<SupplySearch> supply;

    En1264Result en; // at the category's floor limit
    // Only when the run converged and the EN method applies.
    std::optional<MethodDifference> difference;
};

// One whole update: a run on a copy of `fields`, then the rest from it.
DesignReview reviewDesign(const FieldRecord& fields, const CheckLimits& limits);

// The same with the run already made (evaluateDesign(fields)), for a window
// that keeps the run of the last calculation.
DesignReview reviewDesign(const FieldRecord& fields, const Evaluation& run,
                          const CheckLimits& limits);

} // namespace zorva
