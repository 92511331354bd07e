// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Leader pipes (连接管) between a room's door and the manifold, and the
// connections inside the room from the door to each loop (docs/layout.md
// §5).

#include "core/layout/geometry.h"
#include "core/layout/ring.h"

#include <cstddef>

namespace zorva::layout {

// The point of the outline nearest to p, and the edge it lies on.
struct OutlinePoint {
    Point point;
    std::size_t edge = 0;
};
OutlinePoint nearestOnOutline(const Polygon& outline, Point p);

// The leaders' path the layout draws: out of the door square to its wall,
// then along the two axes to the manifold (an L, or a Z when the manifold
// lies behind the door's wall).
Polyline automaticLeaderPath(const Polygon& outline, const OutlinePoint& door, Point manifold);

// The chain moved sideways by `offset` mm (to the left of its direction
// when positive), with mitred corners.
Polyline offsetChain(const Polyline& chain, double offset);

// The way from `from` to `to` along the ring `strip` (a line along the
// walls inside the clearance): onto the strip, along it forward (direction
// +1) or backward (-1), and off it to `to`. Connections laid so cross no
// heated pipe, which keeps its clearance from the walls.
Polyline alongStrip(const Ring& strip, Point from, Point to, int direction);

// The shortest way from a to b inside the outline (a and b inside or on
// it), keeping `inset` mm off its inner corners: straight when it can be,
// else around the corners in the way.
Polyline pathInside(const Polygon& outline, Point a, Point b, double inset);

} // namespace zorva::layout
