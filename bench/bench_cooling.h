#pragma once

// Prints "en1264 <N> ns/loop" and, on the next line, "cooling <N> ns/loop":
// a heating loop by the EN 1264-2 engine (en1264TypeA, with the downward
// loss) and a cooling loop by the same engine converted to cooling
// (coolingLoop: characteristic, output, dew point, limits, flow), over the
// same 10,000 loops of five spacings of the default construction, best of
// several rounds. The cooling line shares each construction's
// characteristic between its loops, as a project's sheet does, and adds the
// figure with both heating runs made for every loop.
void runCoolingBench();
