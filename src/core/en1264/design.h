// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The EN 1264-3 design of one manifold (docs/en1264-design.md): the loop
// with the highest need sets the design supply temperature, every other
// room gets its own temperature drop σ and return temperature, a room whose
// load is above its limit curve gets supplementary heat, and every flow
// carries the downward loss. Or, in the FixedPair mode, one supply/return
// pair for all loops and a spacing chosen per room. Then every loop's
// length, flow, velocity and pressure drop (Darcy–Weisbach) and the heat of
// its leaders in the rooms they cross.
//
// Pure: the result depends on the input only, so many manifolds may be
// designed on many threads. Bad input never throws; it is reported per room,
// per loop or for the whole design, and no NaN reaches a designed number.

#include "core/en1264/designinput.h"
#include "core/en1264/designresult.h"

namespace zorva::en1264 {

ManifoldDesign designManifold(const ManifoldDesignInput& input);

} // namespace zorva::en1264
