// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The installation drawing of a laid-out plan: room outlines, no-pipe
// areas, dividing lines, the manifolds, one layer per loop with its supply
// and return pipes, and the labels (docs/layout.md §8).

#include "core/dxf/drawing.h"
#include "core/layout/routing.h"

#include <string>
#include <vector>

namespace zorva::dxf {

// Layer names of the drawing.
inline constexpr const char* kRoomsLayer = "ROOMS";
inline constexpr const char* kNoPipeLayer = "NO-PIPE";
inline constexpr const char* kDividersLayer = "DIVIDERS";
inline constexpr const char* kManifoldLayer = "MANIFOLD";
inline constexpr const char* kLabelsLayer = "LABELS";

// The layer of the n-th loop of the plan, counted from 1 over all rooms:
// "LOOP-01", "LOOP-02", …
std::string loopLayer(int n);

// `layouts` holds one layout per room of the plan, in order (as routePlan
// returns them); rooms without a layout are drawn without pipes.
Drawing layoutDrawing(const layout::Plan& plan, const std::vector<layout::RoomLayout>& layouts);

} // namespace zorva::dxf
