// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace zorva::layout {

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double signedArea(const Polygon& polygon) {
    const std::size_t n = polygon.size();
    if (n < 3)
        return 0;
    // Relative to the first vertex, so that far-away coordinates keep their
    // digits.
    const Point o = polygon[0];
    double twice = 0;
    for (std::size_t i = 1; i + 1 < n; ++i)
        twice += cross(polygon[i] - o, polygon[i + 1] - o);
    return twice / 2;
}

double area(const Polygon& polygon) {
    return std::abs(signedArea(polygon));
}

double perimeter(const Polygon& polygon) {
    if (polygon.size() < 2)
        return 0;
    double sum = distance(polygon.back(), polygon.front());
    for (std::size_t i = 0; i + 1 < polygon.size(); ++i)
        sum += distance(polygon[i], polygon[i + 1]);
    return sum;
}

double length(const Polyline& polyline) {
    double sum = 0;
    for (std::size_t i = 0; i + 1 < polyline.size(); ++i)
        sum += distance(polyline[i], polyline[i + 1]);
    return sum;
}

Box bounds(const std::vector<Point>& points) {
    if (points.empty())
        return {};
    Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
    }
    return box;
}

Point nearestOnSegment(Point p, Point a, Point b) {
    const Point ab = b - a;
    const double len2 = dot(ab, ab);
    if (len2 <= 0)
        return a;
    const double t = std::clamp(dot(p - a, ab) / len2, 0.0, 1.0);
    return a + ab * t;
}

double distanceToSegment(Point p, Point a, Point b) {
    return distance(p, nearestOnSegment(p, a, b));
}

bool contains(const Polygon& polygon, Point p) {
    const std::size_t n = polygon.size();
    if (n < 3)
        return false;
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const Point a = polygon[i];
        const Point b = polygon[j];
        if (distanceToSegment(p, a, b) <= 1e-9)
            return true;
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x);
            if (p.x < x)
                inside = !inside;
        }
    }
    return inside;
}

double distanceToOutline(const Polygon& polygon, Point p) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < polygon.size(); ++i)
        best = std::min(best, distanceToSegment(p, polygon[i], polygon[(i + 1) % polygon.size()]));
    return best;
}

namespace {

// Which side of ab the point c lies on: +1 left, -1 right, 0 on the line
// (relative to the segment's length, so that millimetre plans and metre
// plans answer alike).
int side(Point a, Point b, Point c) {
    const double v = cross(b - a, c - a);
    const double scale = std::max(dot(b - a, b - a), dot(c - a, c - a));
    if (std::abs(v) <= 1e-12 * scale)
        return 0;
    return v > 0 ? 1 : -1;
}

bool onSegment(Point a, Point b, Point c) {
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

} // namespace

bool segmentsIntersect(Point a, Point b, Point c, Point d) {
    const int d1 = side(c, d, a);
    const int d2 = side(c, d, b);
    const int d3 = side(a, b, c);
    const int d4 = side(a, b, d);
    if (d1 * d2 < 0 && d3 * d4 < 0)
        return true;
    return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b)) ||
           (d3 == 0 && onSegment(a, b, c)) || (d4 == 0 && onSegment(a, b, d));
}

std::optional<Point> segmentCrossing(Point a, Point b, Point c, Point d) {
    const Point r = b - a;
    const Point s = d - c;
    const double denom = cross(r, s);
    if (denom == 0)
        return std::nullopt;
    const double t = cross(c - a, s) / denom;
    const double u = cross(c - a, r) / denom;
    if (t < 0 || t > 1 || u < 0 || u > 1)
        return std::nullopt;
    return a + r * t;
}

double segmentDistance(Point a, Point b, Point c, Point d) {
    if (segmentsIntersect(a, b, c, d))
        return 0;
    return std::min({distanceToSegment(a, c, d), distanceToSegment(b, c, d),
                     distanceToSegment(c, a, b), distanceToSegment(d, a, b)});
}

OutlineFault checkOutline(const Polygon& polygon) {
    for (const Point& p : polygon) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::abs(p.x) > 1e9 ||
            std::abs(p.y) > 1e9)
            return OutlineFault::NotFinite;
    }
    const Polygon ring = normalized(polygon, 1e-6);
    if (ring.size() < 3)
        return OutlineFault::TooFewVertices;
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            const bool neighbours = j == i + 1 || (i == 0 && j == n - 1);
            if (neighbours)
                continue;
            if (segmentsIntersect(ring[i], ring[(i + 1) % n], ring[j], ring[(j + 1) % n]))
                return OutlineFault::SelfIntersecting;
        }
    }
    // After the crossings: a bow tie's halves cancel to no area at all.
    if (area(ring) < 1)
        return OutlineFault::ZeroArea;
    return OutlineFault::None;
}

Polygon normalized(const Polygon& polygon, double tolerance) {
    Polygon ring;
    ring.reserve(polygon.size());
    for (const Point& p : polygon) {
        if (ring.empty() || distance(ring.back(), p) > tolerance)
            ring.push_back(p);
    }
    while (ring.size() > 1 && distance(ring.back(), ring.front()) <= tolerance)
        ring.pop_back();
    // Drop vertices on the line through their neighbours until none is left;
    // each pass removes at least one vertex or ends.
    bool removed = true;
    while (removed && ring.size() >= 3) {
        removed = false;
        for (std::size_t i = 0; i < ring.size() && ring.size() >= 3; ++i) {
            const Point prev = ring[(i + ring.size() - 1) % ring.size()];
            const Point next = ring[(i + 1) % ring.size()];
            const Point here = ring[i];
            const double base = distance(prev, next);
            const bool straight = base > 0 &&
                                  std::abs(cross(next - prev, here - prev)) / base <= tolerance &&
                                  dot(here - prev, next - here) >= 0;
            const bool spike = base <= tolerance;
            if (straight || spike) {
                ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(i));
                removed = true;
                break;
            }
        }
    }
    if (signedArea(ring) < 0)
        std::reverse(ring.begin(), ring.end());
    return ring;
}

Point snapToGrid(Point p, double grid) {
    if (!(grid > 0) || !std::isfinite(grid))
        return p;
    return {std::round(p.x / grid) * grid, std::round(p.y / grid) * grid};
}

Point snapOrthogonal(Point from, Point p) {
    if (std::abs(p.x - from.x) >= std::abs(p.y - from.y))
        return {p.x, from.y};
    return {from.x, p.y};
}

Point snapAngle(Point from, Point p, double stepDegrees) {
    if (!(stepDegrees > 0) || !std::isfinite(stepDegrees))
        return p;
    const Point v = p - from;
    const double len = std::hypot(v.x, v.y);
    if (len == 0)
        return p;
    const double step = stepDegrees * std::numbers::pi / 180;
    const double angle = std::round(std::atan2(v.y, v.x) / step) * step;
    // Keep the length of the drawn direction's projection onto the snapped
    // one, so that a typed length survives the snap.
    const Point u{std::cos(angle), std::sin(angle)};
    const double along = dot(v, u);
    return from + u * along;
}

Polygon rectangle(Point origin, double width, double depth) {
    return {origin,
            {origin.x + width, origin.y},
            {origin.x + width, origin.y + depth},
            {origin.x, origin.y + depth}};
}

} // namespace zorva::layout
