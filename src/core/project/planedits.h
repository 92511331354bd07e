// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the plan window does to a room or a point when the user draws
// (docs/project.md, "Editing the floor plan"): snapping a clicked point,
// giving a room its outline with the area and perimeter the outline has,
// moving a vertex or the whole room. Plain values in metres; no Qt.

#include "core/project/project.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace zorva::project {

// A clicked point on the grid (`grid` m; 0 leaves it where it is) and,
// when `from` is given and `orthogonal` is set, moved so that the segment
// from `from` runs along x or y, whichever is nearer to the drawn
// direction. The result lies on the grid in whole millimetres.
PlanPoint snapPlanPoint(PlanPoint p, std::optional<PlanPoint> from, double grid, bool orthogonal);

// The polygon's area, m², to the square millimetre.
double planArea(const std::vector<PlanPoint>& outline);
// The closed polygon's length, m, to the micrometre.
double planPerimeter(const std::vector<PlanPoint>& outline);

// Why an outline is refused, in Chinese; empty when the outline can be a
// room's (three or more points, no crossing edges, an area).
std::string outlineProblem(const std::vector<PlanPoint>& outline);

// The room's outline replaced: the floor area and the perimeter of the
// materials follow the polygon, and so does the heated area unless the
// user gave one of its own (one below the floor area), which is kept as
// long as the new floor area holds it. The outline is stored
// counter-clockwise. An empty outline removes the room's outline, doors,
// no-pipe areas, dividers and leader path and leaves the areas as they were.
void setRoomOutline(Room& room, std::vector<PlanPoint> outline);

// The point moved by (dx, dy), to the micrometre, so that moves by whole
// grid steps keep decimal coordinates decimal.
PlanPoint offsetPoint(PlanPoint p, double dx, double dy);

// Every point of the room's plan (outline, doors, no-pipe areas, dividers)
// moved by (dx, dy); the leader path keeps its end at the manifold and
// moves its other points with the room.
void moveRoomPlan(RoomPlan& plan, double dx, double dy);

// The outline with vertex `index` moved to `to`; nullopt when the index is
// out of range.
std::optional<std::vector<PlanPoint>> movedVertex(const std::vector<PlanPoint>& outline,
                                                  std::size_t index, PlanPoint to);

// A rectangle width × depth, m, counter-clockwise from its corner `corner`
// (both to the millimetre): a negative width or depth lies left of or
// below the corner.
std::vector<PlanPoint> planRectangle(PlanPoint corner, double width, double depth);

// The point on the room's outline nearest to p, and its distance, m.
struct OutlineHit {
    PlanPoint point;
    std::size_t edge = 0;
    double distance = 0;
};
std::optional<OutlineHit> nearestOnOutline(const std::vector<PlanPoint>& outline, PlanPoint p);

} // namespace zorva::project
