// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints "project edit <N> ms UI thread (1000 rooms)": the longest time the
// UI thread is busy at once while one room of the 1,000-room project is
// edited in the project window (shown, offscreen) and its new results reach
// the room and loop tables and are painted (the
// computation itself runs on a worker thread), worst of several edits.
void runProjectUiBench(int argc, char** argv);
