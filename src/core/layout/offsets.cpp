// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/offsets.h"

#include <polyclipping/clipper.hpp>

#include <cmath>
#include <exception>

namespace zorva::layout {

namespace cl = ClipperLib;

namespace {

constexpr double kUnitsPerMm = 1000;

cl::IntPoint toInt(Point p, Point origin) {
    return {static_cast<cl::cInt>(std::llround((p.x - origin.x) * kUnitsPerMm)),
            static_cast<cl::cInt>(std::llround((p.y - origin.y) * kUnitsPerMm))};
}

Point fromInt(const cl::IntPoint& q, Point origin) {
    return {static_cast<double>(q.X) / kUnitsPerMm + origin.x,
            static_cast<double>(q.Y) / kUnitsPerMm + origin.y};
}

// Shapes whose coordinates cannot be held (not finite, or beyond a million
// kilometres from the origin) are left out rather than passed on: Clipper
// throws on them.
bool representable(const std::vector<Point>& points, Point origin) {
    for (const Point& p : points) {
        const double dx = p.x - origin.x;
        const double dy = p.y - origin.y;
        if (!std::isfinite(dx) || !std::isfinite(dy) || std::abs(dx) > 1e12 || std::abs(dy) > 1e12)
            return false;
    }
    return true;
}

cl::Paths toPaths(const std::vector<std::vector<Point>>& shapes, Point origin) {
    cl::Paths paths;
    paths.reserve(shapes.size());
    for (const auto& shape : shapes) {
        if (shape.size() < 2 || !representable(shape, origin))
            continue;
        cl::Path path;
        path.reserve(shape.size());
        for (const Point& p : shape)
            path.push_back(toInt(p, origin));
        paths.push_back(std::move(path));
    }
    return paths;
}

std::vector<std::vector<Point>> fromPaths(const cl::Paths& paths, Point origin) {
    std::vector<std::vector<Point>> shapes;
    shapes.reserve(paths.size());
    for (const cl::Path& path : paths) {
        if (path.empty())
            continue;
        std::vector<Point> shape;
        shape.reserve(path.size());
        for (const cl::IntPoint& q : path)
            shape.push_back(fromInt(q, origin));
        shapes.push_back(std::move(shape));
    }
    return shapes;
}

Region boolean(cl::ClipType type, const Region& a, const Region& b, Point origin) {
    try {
        cl::Clipper clipper;
        clipper.AddPaths(toPaths(a, origin), cl::ptSubject, true);
        clipper.AddPaths(toPaths(b, origin), cl::ptClip, true);
        cl::Paths out;
        clipper.Execute(type, out, cl::pftNonZero, cl::pftNonZero);
        return fromPaths(out, origin);
    } catch (const std::exception&) {
        return {};
    }
}

void collectParts(const cl::PolyNode& node, Point origin, std::vector<Region>& out) {
    for (const cl::PolyNode* outer : node.Childs) {
        Region part;
        part.push_back(fromPaths({outer->Contour}, origin).front());
        for (const cl::PolyNode* hole : outer->Childs) {
            part.push_back(fromPaths({hole->Contour}, origin).front());
            collectParts(*hole, origin, out);
        }
        out.push_back(std::move(part));
    }
}

} // namespace

Region Offsetter::offset(const Region& region, double delta) const {
    try {
        cl::ClipperOffset co(miterLimit, arcTolerance * kUnitsPerMm);
        co.AddPaths(toPaths(region, origin), cl::jtMiter, cl::etClosedPolygon);
        cl::Paths out;
        co.Execute(out, delta * kUnitsPerMm);
        return fromPaths(out, origin);
    } catch (const std::exception&) {
        return {};
    }
}

Region Offsetter::buffer(const std::vector<Polyline>& chains, double halfWidth) const {
    try {
        cl::ClipperOffset co(miterLimit, arcTolerance * kUnitsPerMm);
        co.AddPaths(toPaths(chains, origin), cl::jtRound, cl::etOpenRound);
        cl::Paths out;
        co.Execute(out, halfWidth * kUnitsPerMm);
        return fromPaths(out, origin);
    } catch (const std::exception&) {
        return {};
    }
}

Region Offsetter::unite(const Region& a, const Region& b) const {
    return boolean(cl::ctUnion, a, b, origin);
}

Region Offsetter::subtract(const Region& a, const Region& b) const {
    return boolean(cl::ctDifference, a, b, origin);
}

Region Offsetter::intersect(const Region& a, const Region& b) const {
    return boolean(cl::ctIntersection, a, b, origin);
}

std::vector<Polyline> Offsetter::clipLines(const std::vector<Polyline>& lines,
                                           const Region& region) const {
    try {
        cl::Clipper clipper;
        clipper.AddPaths(toPaths(lines, origin), cl::ptSubject, false);
        clipper.AddPaths(toPaths(region, origin), cl::ptClip, true);
        cl::PolyTree tree;
        clipper.Execute(cl::ctIntersection, tree, cl::pftNonZero, cl::pftNonZero);
        cl::Paths open;
        cl::OpenPathsFromPolyTree(tree, open);
        return fromPaths(open, origin);
    } catch (const std::exception&) {
        return {};
    }
}

std::vector<Region> Offsetter::parts(const Region& region) const {
    try {
        cl::Clipper clipper;
        clipper.AddPaths(toPaths(region, origin), cl::ptSubject, true);
        cl::PolyTree tree;
        clipper.Execute(cl::ctUnion, tree, cl::pftNonZero, cl::pftNonZero);
        std::vector<Region> out;
        collectParts(tree, origin, out);
        return out;
    } catch (const std::exception&) {
        return {};
    }
}

double regionArea(const Region& region) {
    double sum = 0;
    for (const Polygon& p : region)
        sum += signedArea(p);
    return sum;
}

} // namespace zorva::layout
