// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Times the loops of the en1264 lines (the manifold project of
// manifoldbench.h) cooled by the same EN 1264-2 engine (coolingLoop:
// characteristic, output, dew point, limits, heat from below, flow), water
// 16–19 ℃ rising 3 K, rooms at 26 ℃ and 50 %: "cooling <N> ns/loop" with
// each floor's characteristic kept between its loops (CharacteristicCache),
// as the en1264 line keeps the heating one, and "cooling-single <N> ns/loop"
// with both heating runs made for every loop, as a lone call. Each line
// names the heating figure it compares with; the goal is a ratio of at most
// 1.
void runCoolingBench(double en1264NsPerLoop, double en1264SingleNsPerLoop);
