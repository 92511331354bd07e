// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floor plan of a project (docs/project.md, "The floor plan"): per room
// an optional outline with its doors, no-pipe areas, pattern, wall
// clearance and leader path; per manifold its place on the plan; the
// background the plan was drawn over. Lengths and coordinates in metres,
// x to the right and y up. A room without an outline keeps the estimated
// loop lengths. Plain values; no Qt.

#include "core/layout/geometry.h"
#include "core/layout/plan.h"

#include <optional>
#include <string>
#include <vector>

namespace zorva::project {

// A point of the plan, m.
using PlanPoint = layout::Point;

struct PlanDoor {
    PlanPoint position; // the middle of the opening, on the outline, m
    double width = 0.9; // clear width, m
};

struct PlanNoPipeArea {
    std::vector<PlanPoint> outline; // m
    std::string label;
};

// A line dividing the room's loop areas, through its two points.
struct PlanDivider {
    PlanPoint a;
    PlanPoint b;
    friend bool operator==(const PlanDivider&, const PlanDivider&) = default;
};

struct RoomPlan {
    std::vector<PlanPoint> outline; // m; empty: the room has no outline
    std::vector<PlanDoor> doors;    // the first one takes the leaders
    std::vector<PlanNoPipeArea> noPipeAreas;
    layout::Pattern pattern = layout::Pattern::Spiral;
    double wallClearance = 0.10; // pipe centre to a wall, m
    // The leaders' path from the door to the manifold; empty lets the
    // layout draw it.
    std::vector<PlanPoint> leaderPath;
    // The lines dividing the loop areas as the user placed them; empty lets
    // the layout divide the room into loop areas of equal area.
    std::vector<PlanDivider> dividers;
    std::string extraKeys; // the file's keys this version does not know (JSON object text)
    bool hasOutline() const { return !outline.empty(); }
    bool empty() const {
        return outline.empty() && doors.empty() && noPipeAreas.empty() && leaderPath.empty() &&
               dividers.empty() && pattern == layout::Pattern::Spiral && wallClearance == 0.10 &&
               extraKeys.empty();
    }
};

struct ManifoldPlan {
    std::optional<PlanPoint> position = std::nullopt; // m; empty: not placed
    std::string extraKeys;
    bool empty() const { return !position && extraKeys.empty(); }
};

// What the plan was drawn over, shown behind it and never computed with.
struct PlanBackground {
    std::string dxfFile;   // a DXF drawing in its own units; empty: none
    std::string imageFile; // a PNG/JPEG; empty: none
    double imageScale = 0; // m per pixel of the image (0: not scaled yet)
    PlanPoint imageOrigin; // where its lower-left corner lies, m
    // The plan section's keys this version does not know (JSON object text).
    std::string extraKeys;
    bool empty() const {
        return dxfFile.empty() && imageFile.empty() && imageScale == 0 &&
               imageOrigin == PlanPoint{} && extraKeys.empty();
    }
};

} // namespace zorva::project
