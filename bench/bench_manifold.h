// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manifold project of manifoldbench.h computed the way the sheet does
// it: each loop's run, the difference searches and the supply needs as
// QtConcurrent jobs over every core, then balancing, totals and the
// suggestion. Prints "manifold <N> ms" and "manifold speed-up <X>" against
// the one-thread figure, then "manifold edit <N> us/edit" for one cell edit
// in the table of the whole project; returns non-zero when the threaded and
// one-thread results disagree.

#include "manifoldbench.h"

int runManifoldBench(const zorva::bench::BenchProject& project, double serialMs);
