// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints "rooms <N> ms (1000 rooms)": the heat loads (GB 50736 with the
// JGJ 142 allowance), the spacing choice on the EN 1264-2 floor and the loop
// split with a pressure-drop check for a project of 1,000 rooms on one
// thread, best of several rounds.
void runRoomsBench();
