// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints "report <N> ms (<L> loops, <P> pages, longest UI gap <G> ms)": the
// manifold report of the 10,000-loop bench project, laid out, painted and
// written in the background as the sheet's 导出报告 does, while a timer on
// the UI thread ticks every 10 ms; the gap is the longest time between two
// ticks. Goals: under 20 s, and no gap above 100 ms.
int runReportBench(int argc, char** argv);
