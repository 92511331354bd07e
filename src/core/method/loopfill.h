// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps that fill a MethodLoopResult, shared by loopByMethod (defined in
// loopfill.cpp) and LoopMethodRunner so both give the same numbers.

#include "core/en1264/floor.h"
#include "core/method/loopresult.h"

namespace zorva::method::fill {

void start(Method method, MethodLoopResult& r);

// The program's method from the loop's whole run.
void byProgram(const LoopSetup& setup, const LoopResult& run, MethodLoopResult& r);

// EN 1264-2: the floor of the loop's construction, the method's inputs with
// the floor limit and the space below (r.floorLimit and r.notes set), and
// the rest of the result from the method's numbers `en`.
en1264::Floor floorOf(const LoopSetup& setup);
En1264Inputs standardInputs(const LoopSetup& setup, const en1264::Floor& floor,
                            MethodLoopResult& r);
void byStandard(const LoopSetup& setup, const en1264::Floor& floor, const En1264Result& en,
                MethodLoopResult& r);

} // namespace zorva::method::fill
