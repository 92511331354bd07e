// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two pipe patterns inside one loop area (docs/layout.md §3 and §4).
// Both lay supply and return side by side, so that a warm pipe always runs
// beside a cooler one, and bring both ends back to the side of the door.

#include "core/layout/loopareas.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zorva::layout {

struct LaidPipe {
    bool laid = false;
    Polyline pipe;             // from the entry through the turn to the exit
    std::size_t turnIndex = 0; // pipe[turnIndex]: the supply turns into the return
    Pattern pattern = Pattern::Spiral;
    std::vector<std::string> notes; // for the user, in Chinese
};

// Counter-flow spiral (回形): offset outlines ("rings") at the spacing, the
// supply walking the even rings inwards and the return the odd rings
// outwards, cut and joined where the door is (docs/layout.md §3).
LaidPipe laySpiral(const LoopArea& area, const RingDepths& depths, Point door,
                   const Offsetter& offsetter);

// Serpentine (往复形): straight runs at the spacing, the supply and the
// return as a pair turning together at the ends of the runs
// (docs/layout.md §4). Falls back to the spiral, with a note, where a run
// would be cut in two by the area's shape.
LaidPipe laySerpentine(const LoopArea& area, const RingDepths& depths, Point door,
                       const Offsetter& offsetter);

} // namespace zorva::layout
