// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Calculate run: the bounded trial-and-correction iteration on the heat
// output per m² of floor, and the results derived from it. The method, its
// steps and its precision are described in docs/method.md.

#include "core/engine/inputs.h"
#include "core/engine/numtext.h"
#include "core/engine/workingvars.h"

#include <array>
#include <optional>

namespace zorva {

enum class Outcome { Converged, NotConverged };

struct RunReport {
    Outcome outcome = Outcome::NotConverged;
    int passes = 0;        // passes of the iteration
    double convective = 0; // W/m², only when converged
    double radiant = 0;    // W/m², only when converged
    // What the filling-layer clamp wrote; empty when it did not fire.
    std::optional<ClampWrite> clamp;
};

// Reads the design fields and runs the iteration on the construction values
// already in `vars` (readSettings and the clamp come first). Throws
// ArithmeticError at the first step without a real value; the working
// variables set before that step keep their values.
// `passLimit` (at most kPassLimit) is the number of passes after which a
// run that still misses the tolerance gives up; a run whose last allowed
// pass meets it has converged.
RunReport runCalculation(WorkingVars& vars, const FieldRecord& fields, int passLimit = kPassLimit);

// Where a whole Calculate run reads its field texts and puts the texts the
// filling-layer clamp writes.
class RunFields {
public:
    // The field texts as they stand now; the record stays valid until the
    // next call.
    virtual const FieldRecord& current() = 0;
    // Put the clamp's texts in place: the filling layer first, then the
    // depth once it has been summed (an overflow in the sum leaves only the
    // filling layer written).
    virtual void writeClampFill(const NumberText& fill) = 0;
    virtual void writeClampDepth(const NumberText& depth) = 0;

protected:
    ~RunFields() = default;
};

// The whole Calculate run (docs/method.md, "Order of a run"): readSettings,
// the filling-layer clamp (its texts written through `fields` when it
// fires, and then the fields read again), readSettings again, then the
// iteration. Throws ArithmeticError as runCalculation does.
RunReport calculate(WorkingVars& vars, RunFields& fields);

// The same run on a plain record: the clamp rewrites the record's
// filling-layer and depth texts.
RunReport calculate(WorkingVars& vars, FieldRecord& fields);

// The seven result texts Txt(7) .. Txt(13) of a converged run, in the order
// they are written.
using ResultTexts = std::array<NumberText, 7>;
ResultTexts resultTexts(const WorkingVars& vars, const RunReport& report);

} // namespace zorva
