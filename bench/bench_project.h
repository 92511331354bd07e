// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/project/project.h"

// The 1,000-room project the project lines time.
zorva::project::Project makeRoomsBenchProject();

// Prints "project <N> ms (1000 rooms, <M> manifolds)": the whole project
// pipeline (GB 50736 loads with the JGJ 142 allowance, spacing choice and
// loop split on the EN 1264-2 floor, every loop by the method and the
// EN 1264-3 design of every manifold) of a 1,000-room project on one
// thread, best of several rounds.
void runProjectBench();
