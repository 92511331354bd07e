// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plane geometry of the floor plan. Every coordinate is in millimetres, x to
// the right and y up as in a CAD drawing (the plan window flips y for the
// screen). A polygon is a closed ring of vertices without the first vertex
// repeated at its end; a polyline is an open chain. Areas are in mm² here
// and in m² only where a result says so (docs/layout.md §1).

#include <cstddef>
#include <optional>
#include <vector>

namespace zorva::layout {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

inline Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, double k) {
    return {a.x * k, a.y * k};
}
inline double dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
inline double cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
double distance(Point a, Point b);

using Polygon = std::vector<Point>;
using Polyline = std::vector<Point>;

struct Segment {
    Point a;
    Point b;
    friend bool operator==(const Segment&, const Segment&) = default;
};

struct Box {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

// Shoelace area, positive when the vertices run counter-clockwise, mm².
double signedArea(const Polygon& polygon);
double area(const Polygon& polygon);
// The closed outline's length, mm.
double perimeter(const Polygon& polygon);
// The open chain's length, mm.
double length(const Polyline& polyline);
Box bounds(const std::vector<Point>& points);

// Even–odd test; a point on the outline counts as inside.
bool contains(const Polygon& polygon, Point p);
double distanceToSegment(Point p, Point a, Point b);
// The point of segment ab nearest to p.
Point nearestOnSegment(Point p, Point a, Point b);
// Distance of p to the nearest edge of the closed outline.
double distanceToOutline(const Polygon& polygon, Point p);
double segmentDistance(Point a, Point b, Point c, Point d);
// Whether the two closed segments share a point.
bool segmentsIntersect(Point a, Point b, Point c, Point d);
// The crossing point of the segments when they cross at one point.
std::optional<Point> segmentCrossing(Point a, Point b, Point c, Point d);

// Why an outline cannot be a room or no-pipe area.
enum class OutlineFault {
    None,
    TooFewVertices,  // fewer than three distinct vertices
    NotFinite,       // a coordinate is NaN, infinite or beyond ±1e9 mm
    ZeroArea,        // less than 1 mm²
    SelfIntersecting // two edges that are not neighbours touch or cross
};
OutlineFault checkOutline(const Polygon& polygon);

// The outline without repeated vertices, without the closing repeat of the
// first vertex and without vertices on a straight line (within `tolerance`
// mm of the line through their neighbours), counter-clockwise.
Polygon normalized(const Polygon& polygon, double tolerance = 0.01);

// Snapping for drawing: the nearest multiple of `grid` mm on each axis
// (grid ≤ 0 leaves the point as it is).
Point snapToGrid(Point p, double grid);
// The point moved so that the segment from `from` is horizontal or vertical,
// whichever is nearer to the drawn direction.
Point snapOrthogonal(Point from, Point p);
// The point moved onto the nearest direction from `from` that is a multiple
// of `stepDegrees` (45 gives the diagonals too).
Point snapAngle(Point from, Point p, double stepDegrees);
// A rectangle of typed dimensions, counter-clockwise from its lower-left
// corner `origin`: width along x, depth along y, mm.
Polygon rectangle(Point origin, double width, double depth);

} // namespace zorva::layout
