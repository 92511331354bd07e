// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/planedits.h"

#include "core/layout/geometry.h"

#include <algorithm>
#include <cmath>

namespace zorva::project {

namespace {

constexpr double kMm = 1000; // mm per m

layout::Polygon toMm(const std::vector<PlanPoint>& points) {
    layout::Polygon out;
    out.reserve(points.size());
    for (const PlanPoint& p : points)
        out.push_back({p.x * kMm, p.y * kMm});
    return out;
}

// Whole millimetres back to metres: the nearest double to the decimal.
PlanPoint toMetres(layout::Point mm) {
    return {std::round(mm.x) / kMm, std::round(mm.y) / kMm};
}

} // namespace

PlanPoint snapPlanPoint(PlanPoint p, std::optional<PlanPoint> from, double grid, bool orthogonal) {
    const double gridMm = std::isfinite(grid) ? std::max(1.0, std::round(grid * kMm)) : 1.0;
    PlanPoint out = toMetres(layout::snapToGrid({p.x * kMm, p.y * kMm}, gridMm));
    if (orthogonal && from) {
        const layout::Point o = layout::snapOrthogonal(*from, out);
        out = {o.x, o.y};
    }
    return out;
}

double planArea(const std::vector<PlanPoint>& outline) {
    return std::round(layout::area(toMm(outline))) / (kMm * kMm);
}

double planPerimeter(const std::vector<PlanPoint>& outline) {
    return std::round(layout::perimeter(toMm(outline)) * kMm) / (kMm * kMm);
}

std::string outlineProblem(const std::vector<PlanPoint>& outline) {
    switch (layout::checkOutline(toMm(outline))) {
    case layout::OutlineFault::None:
        return {};
    case layout::OutlineFault::TooFewVertices:
        return "轮廓至少要有三个不同的点";
    case layout::OutlineFault::NotFinite:
        return "轮廓的坐标超出范围";
    case layout::OutlineFault::ZeroArea:
        return "轮廓没有面积";
    case layout::OutlineFault::SelfIntersecting:
        return "轮廓的边相交";
    }
    return "轮廓无效";
}

void setRoomOutline(Room& room, std::vector<PlanPoint> outline) {
    RoomPlan& plan = room.plan;
    if (outline.empty()) {
        plan.outline.clear();
        plan.doors.clear();
        plan.noPipeAreas.clear();
        plan.dividers.clear();
        plan.leaderPath.clear();
        return;
    }
    if (layout::signedArea(toMm(outline)) < 0)
        std::reverse(outline.begin(), outline.end());
    const double area = planArea(outline);
    const bool ownHeatedArea = room.heatedArea < room.floorArea;
    room.floorArea = area;
    if (!ownHeatedArea || room.heatedArea > area)
        room.heatedArea = area;
    room.materials.perimeter = planPerimeter(outline);
    plan.outline = std::move(outline);
}

PlanPoint offsetPoint(PlanPoint p, double dx, double dy) {
    constexpr double kMicro = 1e6;
    return {std::round((p.x + dx) * kMicro) / kMicro, std::round((p.y + dy) * kMicro) / kMicro};
}

void moveRoomPlan(RoomPlan& plan, double dx, double dy) {
    const auto move = [&](PlanPoint& p) { p = offsetPoint(p, dx, dy); };
    for (PlanPoint& p : plan.outline)
        move(p);
    for (PlanDoor& d : plan.doors)
        move(d.position);
    for (PlanNoPipeArea& a : plan.noPipeAreas)
        for (PlanPoint& p : a.outline)
            move(p);
    for (PlanDivider& d : plan.dividers) {
        move(d.a);
        move(d.b);
    }
    for (std::size_t i = 0; i + 1 < plan.leaderPath.size(); ++i)
        move(plan.leaderPath[i]);
}

std::optional<std::vector<PlanPoint>> movedVertex(const std::vector<PlanPoint>& outline,
                                                  std::size_t index, PlanPoint to) {
    if (index >= outline.size())
        return std::nullopt;
    std::vector<PlanPoint> out = outline;
    out[index] = to;
    return out;
}

std::vector<PlanPoint> planRectangle(PlanPoint corner, double width, double depth) {
    // In whole millimetres, so that typed sizes give their decimal corners.
    const PlanPoint a = toMetres({corner.x * kMm, corner.y * kMm});
    const PlanPoint b = toMetres({(corner.x + width) * kMm, (corner.y + depth) * kMm});
    const double left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const double bottom = std::min(a.y, b.y), top = std::max(a.y, b.y);
    return {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
}

std::optional<OutlineHit> nearestOnOutline(const std::vector<PlanPoint>& outline, PlanPoint p) {
    std::optional<OutlineHit> best;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const PlanPoint a = outline[i];
        const PlanPoint b = outline[(i + 1) % outline.size()];
        const layout::Point q = layout::nearestOnSegment(p, a, b);
        const double d = layout::distance(p, q);
        if (!best || d < best->distance)
            best = OutlineHit{q, i, d};
    }
    return best;
}

} // namespace zorva::project
