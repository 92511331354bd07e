// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints "curves <N> us/update": one recomputation of both families of
// characteristic curves on the default design, best of several rounds.
void runCurvesBench();

// Prints "curves redraw <N> ms": the characteristic curves window, shown on
// the offscreen platform, after a change of the design: the recomputation,
// the new series, axes and table, and the painting of the chart shown.
int runCurvesRedrawBench(int argc, char** argv);
