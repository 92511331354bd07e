// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/loopareas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva::layout {

RingDepths::RingDepths(const LayoutSettings& settings)
    : clearance(settings.wallClearance), spacing(settings.spacing),
      peripheralWidth(settings.peripheralWidth), peripheralSpacing(settings.peripheralSpacing) {}

RingDepths::RingDepths(double clearance, double spacing) : clearance(clearance), spacing(spacing) {}

namespace {

// Rings in the peripheral zone after the first: positions c + k·s_p that
// stay within the zone's width.
int peripheralSteps(const RingDepths& d) {
    if (!(d.peripheralWidth > 0) || !(d.peripheralSpacing > 0) || d.peripheralWidth <= d.clearance)
        return -1;
    return static_cast<int>(
        std::floor((d.peripheralWidth - d.clearance) / d.peripheralSpacing + 1e-9));
}

} // namespace

double RingDepths::depth(EdgeKind kind, int k) const {
    switch (kind) {
    case EdgeKind::Divider:
        return spacing / 2 + k * spacing;
    case EdgeKind::OuterWall: {
        const int steps = peripheralSteps(*this);
        if (steps < 0)
            break;
        if (k <= steps)
            return clearance + k * peripheralSpacing;
        return clearance + steps * peripheralSpacing + (k - steps) * spacing;
    }
    case EdgeKind::Wall:
        break;
    }
    return clearance + k * spacing;
}

bool RingDepths::inPeripheralZone(int k) const {
    const int steps = peripheralSteps(*this);
    return steps >= 0 && k <= steps;
}

Region ringRegion(const LoopArea& area, const RingDepths& depths, int k,
                  const Offsetter& offsetter) {
    constexpr EdgeKind kinds[] = {EdgeKind::Wall, EdgeKind::OuterWall, EdgeKind::Divider};
    bool present[3] = {false, false, false};
    for (EdgeKind e : area.edges)
        present[static_cast<int>(e)] = true;
    double least = std::numeric_limits<double>::infinity();
    for (EdgeKind kind : kinds) {
        if (present[static_cast<int>(kind)])
            least = std::min(least, depths.depth(kind, k));
    }
    if (!std::isfinite(least))
        return {};
    Region region = offsetter.offset({area.outline}, -least);
    // Edges that keep the pipes further off than the common offset: take
    // away the band within their depth.
    for (EdgeKind kind : kinds) {
        const double d = depths.depth(kind, k);
        if (!present[static_cast<int>(kind)] || d <= least + 1e-6 || region.empty())
            continue;
        std::vector<Polyline> edges;
        const std::size_t n = area.outline.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (i < area.edges.size() && area.edges[i] == kind)
                edges.push_back({area.outline[i], area.outline[(i + 1) % n]});
        }
        region = offsetter.subtract(region, offsetter.buffer(edges, d));
    }
    // Parts narrower than the spacing would bring the ring's own pipes, on
    // the two sides of the part, closer than the spacing: open them away.
    const double half = depths.spacing / 2 - 0.5;
    if (half > 0 && !region.empty())
        region = offsetter.offset(offsetter.offset(region, -half), half);
    return region;
}

namespace {

// The polygon on the left of the directed line through p along dir, large
// enough to hold everything within `reach` of p.
Polygon halfPlane(Point p, Point dir, double reach) {
    const double len = std::hypot(dir.x, dir.y);
    const Point u = dir * (1 / len);
    const Point n{-u.y, u.x};
    return {p - u * reach, p + u * reach, p + u * reach + n * reach, p - u * reach + n * reach};
}

bool insideRegion(const Region& region, Point p) {
    if (region.empty() || !contains(region.front(), p))
        return false;
    for (std::size_t i = 1; i < region.size(); ++i) {
        if (contains(region[i], p) && distanceToOutline(region[i], p) > 1e-6)
            return false;
    }
    return true;
}

double reachOf(const Region& region) {
    std::vector<Point> all;
    for (const Polygon& p : region)
        all.insert(all.end(), p.begin(), p.end());
    const Box b = bounds(all);
    return 4 * (std::hypot(b.width(), b.height()) + 1000) +
           std::max({std::abs(b.minX), std::abs(b.maxX), std::abs(b.minY), std::abs(b.maxY)});
}

// Whether the edge ab lies along the segment cd (parallel and within
// `tolerance` mm of its line, its middle within the segment's reach).
bool alongSegment(Point a, Point b, Point c, Point d, double tolerance, bool wholeLine) {
    const Point e = b - a;
    const Point f = d - c;
    const double le = std::hypot(e.x, e.y);
    const double lf = std::hypot(f.x, f.y);
    if (le <= 0 || lf <= 0)
        return false;
    if (std::abs(cross(e, f)) / (le * lf) > 0.01)
        return false;
    const Point mid = (a + b) * 0.5;
    const double off = std::abs(cross(f, mid - c)) / lf;
    if (off > tolerance)
        return false;
    if (wholeLine)
        return true;
    return distanceToSegment(mid, c, d) <= tolerance;
}

// Joins each hole of the part to the outer outline with a cut 1 mm wide;
// the cuts' axes go to `cuts`.
std::vector<Region> withoutHoles(Region part, const Offsetter& offsetter,
                                 std::vector<Segment>& cuts) {
    std::vector<Region> done;
    std::vector<Region> pending{std::move(part)};
    int guard = 0;
    while (!pending.empty() && guard++ < 200) {
        Region r = std::move(pending.back());
        pending.pop_back();
        if (r.size() <= 1) {
            done.push_back(std::move(r));
            continue;
        }
        // The hole vertex nearest to the outer outline, and that nearest
        // point.
        double best = std::numeric_limits<double>::infinity();
        Point from, to;
        const Polygon& outer = r.front();
        for (std::size_t h = 1; h < r.size(); ++h) {
            for (const Point& v : r[h]) {
                for (std::size_t i = 0; i < outer.size(); ++i) {
                    const Point q = nearestOnSegment(v, outer[i], outer[(i + 1) % outer.size()]);
                    const double d = distance(v, q);
                    if (d < best) {
                        best = d;
                        from = v;
                        to = q;
                    }
                }
            }
        }
        const double len = distance(from, to);
        if (!(len > 0)) {
            done.push_back(std::move(r));
            continue;
        }
        const Point u = (to - from) * (1 / len);
        const Point n{-u.y, u.x};
        const Point a = from - u * 1.0;
        const Point b = to + u * 1.0;
        const Polygon cut{a - n * 0.5, b - n * 0.5, b + n * 0.5, a + n * 0.5};
        cuts.push_back({from, to});
        for (Region& p : offsetter.parts(offsetter.subtract(r, {cut})))
            pending.push_back(std::move(p));
    }
    for (Region& r : pending)
        done.push_back(std::move(r));
    return done;
}

} // namespace

std::vector<LoopArea> loopAreas(const Room& room, const std::vector<Segment>& dividers,
                                const Offsetter& offsetter) {
    const Polygon outline = normalized(room.outline);
    Region blocked;
    for (const NoPipeArea& npa : room.noPipeAreas) {
        if (checkOutline(npa.outline) == OutlineFault::None)
            blocked.push_back(normalized(npa.outline));
    }
    Region heated = {outline};
    if (!blocked.empty())
        heated = offsetter.subtract(heated, offsetter.unite(blocked, {}));
    std::vector<Region> parts = offsetter.parts(heated);
    const double reach = reachOf({outline});

    std::vector<Segment> usedDividers;
    for (const Segment& divider : dividers) {
        const Point dir = divider.b - divider.a;
        if (!(std::hypot(dir.x, dir.y) > 1e-3) || !std::isfinite(dir.x) || !std::isfinite(dir.y))
            continue;
        const Point mid = (divider.a + divider.b) * 0.5;
        // Every loop area the drawn line passes through is divided (one
        // drawn across an island divides the area around it).
        std::vector<Region> next;
        bool used = false;
        for (Region& piece : parts) {
            const bool crossed = insideRegion(piece, mid) ||
                                 !offsetter.clipLines({{divider.a, divider.b}}, piece).empty();
            if (!crossed) {
                next.push_back(std::move(piece));
                continue;
            }
            used = true;
            for (const Polygon& side :
                 {halfPlane(mid, dir, reach), halfPlane(mid, dir * -1, reach)}) {
                for (Region& p : offsetter.parts(offsetter.intersect(piece, {side})))
                    next.push_back(std::move(p));
            }
        }
        parts = std::move(next);
        if (used)
            usedDividers.push_back(divider);
    }

    std::vector<Segment> cuts;
    std::vector<LoopArea> areas;
    for (Region& part : parts) {
        // The cuts to islands are no floor taken away: the pieces keep the
        // part's whole heated area between them.
        const double heated = regionArea(part);
        const std::size_t first = areas.size();
        double drawn = 0;
        for (Region& simple : withoutHoles(std::move(part), offsetter, cuts)) {
            LoopArea la;
            la.outline = normalized(simple.front(), 1e-3);
            if (la.outline.size() < 3)
                continue;
            la.area = area(la.outline);
            if (la.area < 1)
                continue;
            drawn += la.area;
            areas.push_back(std::move(la));
        }
        for (std::size_t i = first; i < areas.size() && drawn > 0; ++i)
            areas[i].area *= heated / drawn;
    }

    for (LoopArea& la : areas) {
        const std::size_t n = la.outline.size();
        la.edges.assign(n, EdgeKind::Wall);
        for (std::size_t i = 0; i < n; ++i) {
            const Point a = la.outline[i];
            const Point b = la.outline[(i + 1) % n];
            bool divider = false;
            for (const Segment& d : usedDividers)
                divider = divider || alongSegment(a, b, d.a, d.b, 0.5, true);
            for (const Segment& c : cuts)
                divider = divider || alongSegment(a, b, c.a, c.b, 0.75, false);
            if (divider) {
                la.edges[i] = EdgeKind::Divider;
                continue;
            }
            for (std::size_t w : room.outerWalls) {
                if (w >= room.outline.size())
                    continue;
                const Point c = room.outline[w];
                const Point d = room.outline[(w + 1) % room.outline.size()];
                if (alongSegment(a, b, c, d, 0.5, false)) {
                    la.edges[i] = EdgeKind::OuterWall;
                    break;
                }
            }
        }
    }
    return areas;
}

std::vector<Segment> equalAreaDividers(const Room& room, int count, const Offsetter& offsetter) {
    std::vector<Segment> out;
    const Polygon outline = normalized(room.outline);
    if (count < 2 || outline.size() < 3)
        return out;
    Region heated = {outline};
    Region blocked;
    for (const NoPipeArea& npa : room.noPipeAreas) {
        if (checkOutline(npa.outline) == OutlineFault::None)
            blocked.push_back(normalized(npa.outline));
    }
    if (!blocked.empty())
        heated = offsetter.subtract(heated, offsetter.unite(blocked, {}));
    const double total = regionArea(heated);
    if (!(total > 0))
        return out;

    // The frame of the longest edge.
    Point u{1, 0};
    double longest = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point e = outline[(i + 1) % outline.size()] - outline[i];
        const double len = std::hypot(e.x, e.y);
        if (len > longest) {
            longest = len;
            u = e * (1 / len);
        }
    }
    const Point v{-u.y, u.x};
    double lu = std::numeric_limits<double>::infinity(), hu = -lu, lv = lu, hv = -lu;
    for (const Point& p : outline) {
        lu = std::min(lu, dot(p, u));
        hu = std::max(hu, dot(p, u));
        lv = std::min(lv, dot(p, v));
        hv = std::max(hv, dot(p, v));
    }
    // Cut across the longer extent.
    Point axis = u, across = v;
    double lo = lu, hi = hu, alo = lv, ahi = hv;
    if (hv - lv > hu - lu) {
        axis = v;
        across = u * -1;
        lo = lv;
        hi = hv;
        alo = -hu;
        ahi = -lu;
    }
    const double reach = reachOf({outline});
    const auto areaBelow = [&](double x) {
        // Left of the line running along `across` is the side below x.
        const Point p = axis * x + across * ((alo + ahi) / 2);
        return regionArea(offsetter.intersect(heated, {halfPlane(p, across, reach)}));
    };
    for (int k = 1; k < count; ++k) {
        const double target = total * k / count;
        double a = lo, b = hi;
        for (int it = 0; it < 60 && b - a > 0.01; ++it) {
            const double m = (a + b) / 2;
            if (areaBelow(m) < target)
                a = m;
            else
                b = m;
        }
        const double x = (a + b) / 2;
        out.push_back({axis * x + across * (alo - 10), axis * x + across * (ahi + 10)});
    }
    return out;
}

} // namespace zorva::layout
