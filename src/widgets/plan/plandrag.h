// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drag in the plan window: what is being moved, from where.

#include "core/project/planinputs.h"

#include <QPoint>

#include <cstddef>
#include <vector>

namespace zorva::ui {

struct PlanDrag {
    enum class Kind { None, Pan, Vertex, Room, Divider, Leader, Manifold };
    Kind kind = Kind::None;
    int room = -1;         // the room, or the manifold for Kind::Manifold
    std::size_t index = 0; // the vertex, divider or leader point
    project::PlanPoint start;
    QPoint panFrom;                             // the pointer in the viewport, for Kind::Pan
    std::vector<project::PlanDivider> dividers; // Kind::Divider: those in use
    std::vector<project::PlanPoint> leaderPath; // Kind::Leader: the path in use
};

} // namespace zorva::ui
