// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the loop layout gives a room with an outline (docs/project.md,
// "The floor plan"): the routed loops with their lengths and leaders, the
// rules the drawing breaks, and whether the routed lengths replaced the
// estimates in the loop tables. Plain values.

#include "core/layout/routing.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorva::project {

enum class PlanState {
    NoOutline,   // the room keeps the estimated lengths
    NotDesigned, // no spacing to lay at: the room's loops were not designed
    NotPlaced,   // its manifold has no place on the plan
    Routed,      // laid; see lengthsUsed
    NotRouted,   // the layout refused the room: layout->reason
};

// What a room was laid from: its plan in millimetres and its manifold's
// place. A later calculation of a room with the same input takes the
// layout as it is.
struct LaidInput {
    layout::Room room;
    layout::Point manifold;
    friend bool operator==(const LaidInput&, const LaidInput&) = default;
};

struct RoomPlanResult {
    PlanState state = PlanState::NoOutline;
    // In millimetres, as the layout lays it; lengths in metres.
    std::optional<layout::RoomLayout> layout = std::nullopt;
    // The routed lengths replaced the estimates: as many loops were laid as
    // the design has. A length the user typed is kept.
    bool lengthsUsed = false;
    std::vector<double> estimates;          // m, the design's lengths before, per loop
    std::string note;                       // in Chinese, when the estimates stay
    std::shared_ptr<const LaidInput> input; // what `layout` was laid from
    bool routed() const { return state == PlanState::Routed && layout.has_value(); }
};

} // namespace zorva::project
