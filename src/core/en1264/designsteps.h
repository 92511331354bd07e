// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of designManifold, shared by its source files.

#include "core/en1264/designinput.h"
#include "core/en1264/designresult.h"

namespace zorva::en1264::steps {

// The room's load, limits, below and insulation; false with the problem set
// when it cannot be designed.
bool prepareRoom(const DesignRoom& room, std::size_t loops, RoomDesign& r);

// The floor at spacing T: characteristic, limit curve and R_o; false with
// the problem set when the method does not apply.
bool applyFloor(const DesignRoom& room, double spacing, RoomDesign& r);

// Temperatures, downward loss, flow and floor temperatures once q and σ are
// known; false with the problem set when the space below outweighs q.
bool finishRoom(const DesignRoom& room, double supplyTemp, RoomDesign& r);

// Every loop's share, hydraulics and leader heat, and the leader heat summed
// into the crossed rooms.
void designLoops(const ManifoldDesignInput& in, ManifoldDesign& out);

ManifoldTotals totalsOf(const ManifoldDesign& out);

void addNotes(const ManifoldDesignInput& in, ManifoldDesign& out);

} // namespace zorva::en1264::steps
