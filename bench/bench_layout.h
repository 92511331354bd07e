// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints the automatic loop layout's speed, best of several rounds:
//   "layout <N> ms (8 rooms, <L> m of pipe)"    a 150 m² flat
//   "layout <N> ms (400 rooms, <L> m of pipe)"  a 10,000 m² floor of 5 × 5 m rooms
//   "layout reroute <N> ms (1 rooms, <L> m of pipe)"  one 30 m² room laid again
// Every room is laid, measured and checked against the rules, on one thread.
void runLayoutBench();
