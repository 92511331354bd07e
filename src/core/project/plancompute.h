// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loop layout step of the pipeline (docs/project.md, "The floor plan"):
// every designed room with an outline is laid at its design's spacing in
// as many loop areas as the design has loops, and the routed lengths
// replace the estimates before the manifolds are computed, so that the
// pressure drops, settings and totals follow the pipe as laid.

#include "core/layout/plan.h"
#include "core/project/projectresult.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace zorva::project {

// Runs job(0) … job(count − 1), on as many threads as the caller likes;
// each job writes only its own room. Empty runs them in order.
using ParallelFor =
    std::function<void(std::size_t count, const std::function<void(std::size_t)>& job)>;

// The project's plan in millimetres: every manifold (an unplaced one at
// the origin) and the rooms with an outline, in project order.
// `planRooms` receives, per room of the plan, the project room's index.
// `rooms` gives the designed spacings and loop counts; without it (or for
// a room not designed) a room is laid at the widest allowed spacing.
layout::Plan projectPlan(const Project& project, const std::vector<RoomResult>* rooms,
                         std::vector<std::size_t>* planRooms);

// Routes the rooms and writes each RoomResult::plan; replaces the loops'
// lengths where the layout laid as many loops as the design has. A room
// whose input equals that of the same row of `previous` (an earlier result
// of the project) keeps that layout rather than being laid again: after an
// edit only the rooms it touched are laid.
void routeProjectRooms(const Project& project, std::vector<RoomResult>& rooms,
                       const ParallelFor& parallel = {},
                       const std::vector<RoomResult>* previous = nullptr);

// The loop's routed length, m, when its room was routed and the routed
// lengths were used.
std::optional<double> routedLength(const ProjectResult& result, const ProjectLoop& loop);

} // namespace zorva::project
