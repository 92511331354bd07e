// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Polygon offsets and Boolean operations of the layout, done by Clipper 6.4
// on integer micrometres. Each call works relative to an origin near the
// shapes, so that plans placed far from the drawing's zero keep Clipper on
// its fast 62-bit path and every micrometre of their detail.

#include "core/layout/geometry.h"

#include <vector>

namespace zorva::layout {

// A region: outer outlines counter-clockwise, holes clockwise.
using Region = std::vector<Polygon>;

struct Offsetter {
    Point origin; // shapes are converted relative to this point
    // Sharp corners kept up to this ratio of offset (2 keeps every right
    // angle sharp and trims needle points).
    double miterLimit = 2.5;
    // Largest gap between an arc of a round join and its chords, mm.
    double arcTolerance = 0.5;

    // The region grown (delta > 0) or shrunk (delta < 0) by |delta| mm, with
    // mitred corners.
    Region offset(const Region& region, double delta) const;
    // The band of points within `halfWidth` mm of the open chains, with round
    // ends (its points are exactly those within that distance).
    Region buffer(const std::vector<Polyline>& chains, double halfWidth) const;

    Region unite(const Region& a, const Region& b) const;
    Region subtract(const Region& a, const Region& b) const;
    Region intersect(const Region& a, const Region& b) const;
    // The parts of the open chains inside the region.
    std::vector<Polyline> clipLines(const std::vector<Polyline>& lines, const Region& region) const;

    // The region's outer outlines, each with its holes, as separate parts.
    std::vector<Region> parts(const Region& region) const;
};

// Sum of the outer outlines' areas less the holes', mm².
double regionArea(const Region& region);

} // namespace zorva::layout
