// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/leaders.h"
#include "core/layout/ring.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva::layout {

OutlinePoint nearestOnOutline(const Polygon& outline, Point p) {
    OutlinePoint best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point q = nearestOnSegment(p, outline[i], outline[(i + 1) % outline.size()]);
        const double d = distance(p, q);
        if (d < bestDistance) {
            bestDistance = d;
            best = {q, i};
        }
    }
    return best;
}

namespace {

Point unit(Point v) {
    const double len = std::hypot(v.x, v.y);
    return len > 0 ? v * (1 / len) : Point{};
}

Polyline simplified(const Polyline& chain) {
    Polyline out;
    for (const Point& p : chain)
        appendPoint(out, p);
    // Drop points on the straight line through their neighbours.
    for (std::size_t i = 1; i + 1 < out.size();) {
        const Point in = out[i] - out[i - 1];
        const Point on = out[i + 1] - out[i];
        if (std::abs(cross(unit(in), unit(on))) < 1e-9 && dot(in, on) > 0)
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    return out;
}

} // namespace

Polyline automaticLeaderPath(const Polygon& outline, const OutlinePoint& door, Point manifold) {
    const std::size_t n = outline.size();
    if (n < 3 || contains(outline, manifold))
        return simplified({door.point, manifold});
    const Point along = unit(outline[(door.edge + 1) % n] - outline[door.edge]);
    // The outline runs counter-clockwise: outside is on the right.
    const Point out{along.y, -along.x};
    const Point d = door.point;
    // Leave the wall square to it, then turn once onto the other axis.
    const Point corner1{d.x, manifold.y};
    const Point corner2{manifold.x, d.y};
    const double a1 = dot(unit(corner1 - d), out);
    const double a2 = dot(unit(corner2 - d), out);
    if (std::max(a1, a2) > 0.5)
        return simplified({d, a1 >= a2 ? corner1 : corner2, manifold});
    // The manifold lies along or behind the wall: step out first.
    const Point step = d + out * 300;
    const Point c1{step.x, manifold.y};
    const Point c2{manifold.x, step.y};
    const Point corner = std::abs(out.x) >= std::abs(out.y) ? c1 : c2;
    return simplified({d, step, corner, manifold});
}

Polyline offsetChain(const Polyline& chain, double offset) {
    const Polyline c = simplified(chain);
    if (c.size() < 2 || offset == 0)
        return c;
    Polyline out;
    out.reserve(c.size());
    const auto normal = [&](std::size_t i) {
        const Point u = unit(c[i + 1] - c[i]);
        return Point{-u.y, u.x};
    };
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (i == 0) {
            out.push_back(c[0] + normal(0) * offset);
        } else if (i + 1 == c.size()) {
            out.push_back(c[i] + normal(i - 1) * offset);
        } else {
            const Point n1 = normal(i - 1);
            const Point n2 = normal(i);
            const Point m = unit(n1 + n2);
            const double cosHalf = dot(m, n1);
            if (cosHalf < 0.25) // a turn back on itself: no sensible mitre
                out.push_back(c[i] + n1 * offset);
            else
                out.push_back(c[i] + m * (offset / cosHalf));
        }
    }
    return out;
}

Polyline alongStrip(const Ring& strip, Point from, Point to, int direction) {
    Polyline out{from};
    if (strip.empty()) {
        appendPoint(out, to);
        return out;
    }
    const double a = strip.project(from);
    const double b = strip.project(to);
    if (direction > 0)
        strip.appendForward(out, a, b);
    else
        strip.appendBackward(out, a, b);
    appendPoint(out, to);
    return withoutStraightPoints(out);
}

namespace {

bool visible(const Polygon& outline, Point p, Point q) {
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = segmentCrossing(p, q, outline[i], outline[(i + 1) % n]);
        if (x && distance(*x, p) > 1e-3 && distance(*x, q) > 1e-3)
            return false;
    }
    for (double t : {0.25, 0.5, 0.75}) {
        if (!contains(outline, p + (q - p) * t))
            return false;
    }
    return true;
}

} // namespace

Polyline pathInside(const Polygon& outline, Point a, Point b, double inset) {
    const Polygon ring = normalized(outline);
    const std::size_t n = ring.size();
    if (n < 3 || visible(ring, a, b))
        return {a, b};
    std::vector<Point> nodes{a, b};
    for (std::size_t i = 0; i < n; ++i) {
        const Point prev = ring[(i + n - 1) % n];
        const Point here = ring[i];
        const Point next = ring[(i + 1) % n];
        if (cross(here - prev, next - here) >= 0)
            continue; // convex: a shortest path never bends there
        const Point u1 = unit(here - prev);
        const Point u2 = unit(next - here);
        const Point n1{-u1.y, u1.x};
        const Point n2{-u2.y, u2.x};
        const Point m = unit(n1 + n2);
        const double cosHalf = std::max(dot(m, n1), 0.2);
        nodes.push_back(here + m * (std::max(inset, 1.0) / cosHalf));
    }
    // Dijkstra over the visibility graph.
    const std::size_t count = nodes.size();
    std::vector<double> best(count, std::numeric_limits<double>::infinity());
    std::vector<std::size_t> from(count, count);
    std::vector<bool> done(count, false);
    best[0] = 0;
    for (std::size_t round = 0; round < count; ++round) {
        std::size_t u = count;
        for (std::size_t i = 0; i < count; ++i) {
            if (!done[i] && (u == count || best[i] < best[u]))
                u = i;
        }
        if (u == count || !std::isfinite(best[u]))
            break;
        done[u] = true;
        if (u == 1)
            break;
        for (std::size_t v = 0; v < count; ++v) {
            if (done[v] || !visible(ring, nodes[u], nodes[v]))
                continue;
            const double d = best[u] + distance(nodes[u], nodes[v]);
            if (d < best[v]) {
                best[v] = d;
                from[v] = u;
            }
        }
    }
    if (!std::isfinite(best[1]))
        return {a, b};
    Polyline path;
    for (std::size_t v = 1; v != count; v = from[v]) {
        path.push_back(nodes[v]);
        if (v == 0)
            break;
    }
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace zorva::layout
