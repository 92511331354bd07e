// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design check by a chosen method: the rules on the loop's results
// (heat output, mean floor temperature, velocity, resistance) take their
// values from loopByMethod, so their verdicts are the method's. The rules
// on inputs and the floor of an EN 1264 room category (the limit curve) are
// the same by either method (docs/method.md, "The design check by either
// method").

#include "core/engine/designreview.h"
#include "core/method/loopresult.h"

#include <optional>

namespace zorva::method {

// The loop of the fields as every method reads it, in the room category of
// `limits`: the main window's temperatures, spacing, length and pipe, the
// construction window's layers.
LoopSetup setupFromFields(const FieldRecord& fields, const CheckLimits& limits);

// With the program's method the review stays as reviewDesign made it and
// nothing is returned. With EN 1264-2 the four rules on results are judged
// on the method's numbers (未校核 where the method gives none) and the
// overall verdict follows; the method's result is returned.
std::optional<MethodLoopResult> reviewByMethod(DesignReview& review, const FieldRecord& fields,
                                               const CheckLimits& limits, Method method);

} // namespace zorva::method
