// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints the start-up time and resident memory of the program's windows
// against a bare window of the same size.
int runStartupBench(int argc, char** argv);

// The child side of a whole start: builds and shows the bare window ("bare")
// or the program's windows, then prints the time of exposure and the
// resident memory.
int startupChild(int argc, char** argv, const char* mode);
