// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints the example flat computed through the project pipeline with its
// floor plan laid out (loads, loop design, layout, manifold), best of
// several rounds, the rooms on one thread:
//   "layout project <N> ms (<R> rooms, <L> m of pipe)"
void runProjectPlanBench();
