// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dxf/drawing.h"

#include <algorithm>

namespace zorva::dxf {

void Drawing::addLayer(const std::string& name, int colour) {
    const auto it =
        std::find_if(layers.begin(), layers.end(), [&](const Layer& l) { return l.name == name; });
    if (it == layers.end())
        layers.push_back({name, colour});
}

bool Drawing::empty() const {
    return polylines.empty() && lines.empty() && arcs.empty() && circles.empty() && texts.empty();
}

layout::Box drawingBounds(const Drawing& drawing) {
    std::vector<Point> points;
    for (const DrawnPolyline& p : drawing.polylines)
        points.insert(points.end(), p.points.begin(), p.points.end());
    for (const DrawnLine& l : drawing.lines) {
        points.push_back(l.a);
        points.push_back(l.b);
    }
    for (const DrawnArc& a : drawing.arcs) {
        points.push_back({a.centre.x - a.radius, a.centre.y - a.radius});
        points.push_back({a.centre.x + a.radius, a.centre.y + a.radius});
    }
    for (const DrawnCircle& c : drawing.circles) {
        points.push_back({c.centre.x - c.radius, c.centre.y - c.radius});
        points.push_back({c.centre.x + c.radius, c.centre.y + c.radius});
    }
    for (const DrawnText& t : drawing.texts) {
        points.push_back(t.position);
        points.push_back({t.position.x, t.position.y + t.height});
    }
    return layout::bounds(points);
}

} // namespace zorva::dxf
