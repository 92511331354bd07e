// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Times the standard method on the manifold project of manifoldbench.h:
// "en1264 <N> ns/loop" for one loop by EN 1264-2 as the tools compute
// loops one after another (LoopMethodRunner), "en1264-single <N> ns/loop"
// for a lone call without any reuse, and "design <N> ms (10000 loops)" for
// the whole EN 1264-3 design of the project, its loops grouped eight to a
// manifold, each in a room of its own, on one thread. Each line names the
// `default` figure of the same run for comparison.

// The two per-loop figures, for the cooling lines that compare with them.
struct En1264BenchFigures {
    double perLoop = 0; // ns, with the runner's reuse
    double single = 0;  // ns, a lone call
};

En1264BenchFigures runEn1264Bench(double defaultNsPerRun);
