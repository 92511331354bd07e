// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The same drawing as SVG: one group per layer (its id the layer's name),
// the drawing's millimetres as user units with y turned down for SVG, and
// a white margin (docs/layout.md §8).

#include "core/dxf/drawing.h"

#include <string>

namespace zorva::dxf {

struct SvgOptions {
    double margin = 500;      // mm around the drawing
    double lineWidth = 20;    // mm, a pipe's drawn width
    double outlineWidth = 40; // mm, the room outlines' (layers named ROOMS)
    std::string title;        // <title>, for screen readers
};

std::string svgText(const Drawing& drawing, const SvgOptions& options = {});

// The colour of an AutoCAD colour index as #rrggbb (7 as black on paper).
std::string colourOf(int index);

} // namespace zorva::dxf
