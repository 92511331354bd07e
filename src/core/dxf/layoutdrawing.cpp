// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dxf/layoutdrawing.h"

#include <cmath>
#include <cstdio>

namespace zorva::dxf {

namespace {

// Colours that read apart from each other and from the black outlines.
constexpr int kLoopColours[] = {1, 3, 5, 6, 30, 4, 130, 210, 2, 150};

Point centroid(const layout::Polygon& p) {
    const double a = layout::signedArea(p);
    if (p.size() < 3 || a == 0)
        return p.empty() ? Point{} : p.front();
    const Point o = p.front();
    double cx = 0, cy = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Point u = p[i] - o;
        const Point v = p[(i + 1) % p.size()] - o;
        const double c = layout::cross(u, v);
        cx += (u.x + v.x) * c;
        cy += (u.y + v.y) * c;
    }
    return {o.x + cx / (6 * a), o.y + cy / (6 * a)};
}

std::string fixed(double v, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

} // namespace

std::string loopLayer(int n) {
    char text[32];
    std::snprintf(text, sizeof text, "LOOP-%02d", n);
    return text;
}

Drawing layoutDrawing(const layout::Plan& plan, const std::vector<layout::RoomLayout>& layouts) {
    Drawing d;
    d.addLayer(kRoomsLayer, 7);
    d.addLayer(kNoPipeLayer, 8);
    d.addLayer(kDividersLayer, 8);
    d.addLayer(kManifoldLayer, 1);
    d.addLayer(kLabelsLayer, 7);

    for (const layout::Manifold& m : plan.manifolds) {
        const Point c = m.position;
        d.polylines.push_back({kManifoldLayer,
                               {{c.x - 300, c.y - 100},
                                {c.x + 300, c.y - 100},
                                {c.x + 300, c.y + 100},
                                {c.x - 300, c.y + 100}},
                               true});
        d.texts.push_back({kLabelsLayer,
                           {c.x - 300, c.y + 150},
                           200,
                           m.name.empty() ? std::string("分集水器") : m.name});
    }

    int loopNumber = 0;
    for (std::size_t r = 0; r < plan.rooms.size(); ++r) {
        const layout::Room& room = plan.rooms[r];
        if (room.outline.size() >= 3)
            d.polylines.push_back({kRoomsLayer, room.outline, true});
        for (const layout::NoPipeArea& npa : room.noPipeAreas) {
            if (npa.outline.size() >= 3)
                d.polylines.push_back({kNoPipeLayer, npa.outline, true});
        }
        const Point label = centroid(layout::normalized(room.outline));
        d.texts.push_back({kLabelsLayer, label, 250,
                           room.name + " " + fixed(layout::area(room.outline) / 1e6, 2) + "m²"});
        if (r >= layouts.size())
            continue;
        const layout::RoomLayout& rl = layouts[r];
        for (const layout::Segment& s : rl.dividers)
            d.lines.push_back({kDividersLayer, s.a, s.b});
        for (const layout::RoutedLoop& loop : rl.loops) {
            ++loopNumber;
            const std::string layer = loopLayer(loopNumber);
            d.addLayer(layer, kLoopColours[(loopNumber - 1) % std::size(kLoopColours)]);
            d.polylines.push_back({layer, layout::supplyPipe(loop), false});
            d.polylines.push_back({layer, layout::returnPipe(loop), false});
            // Below the room's name, in the middle of the loop's own area.
            const Point at = centroid(layout::normalized(loop.area));
            d.texts.push_back({kLabelsLayer,
                               {at.x, at.y - 400},
                               150,
                               loop.label + " L=" + fixed(loop.routedLength, 1) +
                                   "m T=" + fixed(loop.spacing, 0) + "mm"});
        }
    }
    return d;
}

} // namespace zorva::dxf
