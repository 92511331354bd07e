// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DXF in through dxflib: closed polylines become candidate room outlines
// (the user names them), everything else that can be drawn simply becomes
// the plan's background (docs/layout.md §8). Drawing units follow
// $INSUNITS; coordinates come out in millimetres.

#include "core/dxf/drawing.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zorva::dxf {

struct ImportedOutline {
    std::string layer;
    layout::Polygon outline; // mm, counter-clockwise, arcs as chords of at most 1 mm sagitta
    double area = 0;         // m²
    double perimeter = 0;    // m
};

struct ImportResult {
    bool ok = false;
    std::string error;         // in Chinese, when not ok
    double unitToMm = 1;       // millimetres per drawing unit
    bool unitsAssumed = false; // no or unknown $INSUNITS: millimetres assumed
    std::vector<ImportedOutline> outlines;
    Drawing background;
    std::size_t skipped = 0;        // entities left out (blocks, inserts, hatches, …)
    std::vector<std::string> notes; // in Chinese
};

// Files above this size are refused rather than read into memory.
constexpr std::size_t kMaxDxfBytes = 256u * 1024 * 1024;

ImportResult readDxfText(const std::string& bytes);
ImportResult readDxfFile(const std::string& path);

// DXF text with \U+XXXX escapes turned into UTF-8 (the MTEXT paragraph
// break \P into a line break).
std::string unescapedText(const std::string& text);

} // namespace zorva::dxf
