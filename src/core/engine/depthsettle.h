// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A burial depth typed on its own (the command line's --depth, a pasted
// value), run through the depth link to its end on the whole record.

#include "core/engine/inputs.h"

namespace zorva {

// The texts of both windows after the burial depth's text was set to
// fields.design[DepthField] on its own, as when it is pasted: the exchange of
// the link run to its end on the record, as the windows run it (the filling
// layer follows the depth, a negative filling layer is set to 0, a filling
// layer not above 0 raises the depth to (surface + level) + 10, a new
// filling layer re-sums the depth). A text is written only when it changes,
// so "90.0" over layers summing to 90 keeps its text. Stops after
// kMaxLinkRounds rounds. Throws ArithmeticError when a sum or difference
// leaves the double range.
constexpr int kMaxLinkRounds = 1000;
void settleDepthEdit(FieldRecord& fields);

} // namespace zorva
