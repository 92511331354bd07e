// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// EN 1264-2 for many water temperatures on one floor: the characteristic
// and the limit curve do not depend on the water, so they are computed once
// (floorCharacteristic) and each loop adds only its log-mean excess, heat
// flux, mean floor temperature, verdict and downward loss
// (docs/en1264-design.md, "Reuse of a floor's characteristic").

#include "core/engine/en1264.h"

namespace zorva::en1264 {

// en1264TypeA(in), bit for bit, from `floor` = floorCharacteristic(...) of
// the same floor, room temperature and floor limit as `in`: the same
// applicability (in the same order of precedence), numbers and flags.
En1264Result atWaterTemps(const En1264Result& floor, const En1264Inputs& in);

} // namespace zorva::en1264
