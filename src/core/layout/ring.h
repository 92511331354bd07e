// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A closed outline measured along its length: the pipe patterns walk along
// offset outlines, cut them at a distance along and jump between them
// (docs/layout.md §3).

#include "core/layout/geometry.h"

#include <vector>

namespace zorva::layout {

class Ring {
public:
    Ring() = default;
    // The outline in the order it is walked ("forward").
    explicit Ring(Polygon outline);

    bool empty() const { return points_.size() < 3 || length_ <= 0; }
    double length() const { return length_; }
    const Polygon& points() const { return points_; }

    // The position `t` mm along the ring from its first vertex (any real t,
    // taken around the ring).
    Point at(double t) const;
    // The position along the ring of the ring's point nearest to p.
    double project(Point p) const;
    // How far forward from `from` the position `to` lies, in [0, length).
    double forwardDistance(double from, double to) const;
    // The positions of the vertices where the walk turns by at least
    // `minTurnRadians` to the left (sign +1) or to the right (sign -1): the
    // convex corners of a ring walked counter-clockwise or clockwise.
    std::vector<double> turns(double minTurnRadians, int sign) const;

    // Appends the ring's course from position `from` forward to `to` (the
    // whole ring less nothing when they coincide is not meant: a zero
    // distance appends one point).
    void appendForward(Polyline& out, double from, double to) const;
    void appendBackward(Polyline& out, double from, double to) const;

private:
    double wrap(double t) const;

    Polygon points_;
    std::vector<double> start_; // position of each vertex
    double length_ = 0;
};

// Appends p unless it repeats the chain's last point (within 1 µm).
void appendPoint(Polyline& out, Point p);
// The chain without repeated points and without points on the straight
// line through their neighbours (within `tolerance` mm).
Polyline withoutStraightPoints(const Polyline& chain, double tolerance = 1e-3);

} // namespace zorva::layout
