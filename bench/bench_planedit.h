// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints the time to lay a 30 m² room of two loops again after one of its
// vertices was dragged (the new outline, its areas and the layout of that
// room), best of several rounds:
//   "layout edit <N> ms (30 m² room, <L> loops)"
void runPlanEditBench();
