#pragma once
// The Calculate run: the bounded trial-and-correction iteration on the heat
// output per m² of floor, and the results derived from it.

#include "inputs.h"
#include "numtext.h"
#include "workingvars.h"

#include <array>

namespace zorva {

enum class Outcome { Converged, NotConverged };

struct RunReport {
    Outcome outcome = Outcome::NotConverged;
    int passes = 0;        // passes of the iteration
    double convective = 0; // W/m², only when converged
    double radiant = 0;    // W/m², only when converged
};

// Reads the design fields and runs the iteration on the construction values
// already in `vars` (ReadSettings and the clamp come first). Throws
// ArithmeticError at the first step without a real value; the working
// variables set before that step keep their values.
RunReport runCalculation(WorkingVars& vars, const FieldRecord& fields);

// The whole Calculate run on a plain record: ReadSettings, the filling-layer
// clamp (rewriting the record's filling-layer and depth texts when it fires),
// ReadSettings again, then the iteration.
RunReport Calculate(WorkingVars& vars, FieldRecord& fields);

// The seven result texts Txt(7) .. Txt(13) of a converged run, in the order
// they are written.
using ResultTexts = std::array<NumberText, 7>;
ResultTexts resultTexts(const WorkingVars& vars, const RunReport& report);

} // namespace zorva
