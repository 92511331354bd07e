// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plain drawing on layers: what the DXF and SVG writers put out and what
// the DXF reader brings in as the background of a plan. Coordinates in
// millimetres, y up; angles in degrees counter-clockwise from +x
// (docs/layout.md §8).

#include "core/layout/geometry.h"

#include <string>
#include <vector>

namespace zorva::dxf {

using layout::Point;

// A layer and its AutoCAD colour index (1 red, 2 yellow, 3 green, 4 cyan,
// 5 blue, 6 magenta, 7 black or white, 8 grey).
struct Layer {
    std::string name;
    int colour = 7;
};

struct DrawnPolyline {
    std::string layer;
    std::vector<Point> points;
    bool closed = false;
};

struct DrawnLine {
    std::string layer;
    Point a;
    Point b;
};

struct DrawnArc {
    std::string layer;
    Point centre;
    double radius = 0;
    double startAngle = 0;
    double endAngle = 360;
};

struct DrawnCircle {
    std::string layer;
    Point centre;
    double radius = 0;
};

// Text in UTF-8, its insertion point at the left of its base line.
struct DrawnText {
    std::string layer;
    Point position;
    double height = 250;
    std::string text;
};

struct Drawing {
    std::vector<Layer> layers;
    std::vector<DrawnPolyline> polylines;
    std::vector<DrawnLine> lines;
    std::vector<DrawnArc> arcs;
    std::vector<DrawnCircle> circles;
    std::vector<DrawnText> texts;

    // The layer, added with the colour when it is not there yet.
    void addLayer(const std::string& name, int colour);
    bool empty() const;
};

// The smallest box around everything drawn (texts by their insertion point
// and height).
layout::Box drawingBounds(const Drawing& drawing);

} // namespace zorva::dxf
