// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// glibc's string functions on newer x86 processors use the wide vector
// registers and may return with their upper halves in use; the engine's
// arithmetic (ordinary SSE code) then runs several times slower on such a
// processor until the halves are cleared. A thread that copies text between
// runs, as the CSV stream's workers do, clears them before each run.

namespace zorva::cli {

// Marks the upper halves of the vector registers as unused (VZEROUPPER)
// where the processor has them; nothing elsewhere. No register holds a
// value across this call, so it changes no result.
void clearUpperVectorState();

} // namespace zorva::cli
