// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loop areas: the parts of a room that one loop each serves, and the
// outlines the pipe centres follow inside them (docs/layout.md §2).

#include "core/layout/offsets.h"
#include "core/layout/plan.h"

#include <vector>

namespace zorva::layout {

// What an edge of a loop area borders, which decides how far the pipes
// keep from it.
enum class EdgeKind {
    Wall,      // an inner wall or a no-pipe area: the wall clearance
    OuterWall, // an outer wall: the wall clearance, then the peripheral zone
    Divider,   // another loop area: half the spacing, so that the two
               // loops' pipes meet at the spacing
};

struct LoopArea {
    Polygon outline;             // counter-clockwise, without holes
    std::vector<EdgeKind> edges; // edge i from outline[i] to outline[i + 1]
    double area = 0;             // mm², the heated area
};

// The distances from an edge at which the pipes of the successive offset
// outlines ("rings") run, by edge kind.
struct RingDepths {
    double clearance = 100;
    double spacing = 200;
    double peripheralWidth = 0;
    double peripheralSpacing = 100;

    explicit RingDepths(const LayoutSettings& settings);
    RingDepths(double clearance, double spacing);
    // The depth of ring k from an edge of this kind, mm.
    double depth(EdgeKind kind, int k) const;
    // Whether the ring k lies in the peripheral zone along outer walls.
    bool inPeripheralZone(int k) const;
};

// The area where the pipe centres of ring k may lie: every point at least
// the ring's depth from each edge, less the parts narrower than the spacing
// (their pipes would face each other closer than it). Empty once the area
// is used up.
Region ringRegion(const LoopArea& area, const RingDepths& depths, int k,
                  const Offsetter& offsetter);

// The room less its no-pipe areas, cut along the dividers into loop areas.
// Islands (no-pipe areas not touching a wall) are joined to the outline by
// a cut of 1 mm, whose sides count as dividers, so that every loop area is
// one outline that a spiral can follow.
std::vector<LoopArea> loopAreas(const Room& room, const std::vector<Segment>& dividers,
                                const Offsetter& offsetter);

// Dividing lines that cut the room into `count` strips of equal area across
// its longer extent (the extent along its longest edge or across it).
std::vector<Segment> equalAreaDividers(const Room& room, int count, const Offsetter& offsetter);

} // namespace zorva::layout
