// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DXF out through dxflib: an ASCII DXF of AutoCAD R2000 (AC1015) in
// millimetres ($INSUNITS 4), each layer with its colour, polylines as
// LWPOLYLINE, texts with non-ASCII characters as \U+XXXX escapes, which
// CAD programs of any code page read back (docs/layout.md §8).

#include "core/dxf/drawing.h"

#include <string>

namespace zorva::dxf {

// The file's bytes.
std::string dxfText(const Drawing& drawing);

// Writes the file through a new temporary file beside it, renamed over the
// target when complete, so that a failed save leaves an old file whole and
// no temporary file behind. False, with `error` set (in Chinese), when it
// cannot be written.
bool writeDxfFile(const Drawing& drawing, const std::string& path, std::string* error = nullptr);

// UTF-8 text with every character beyond ASCII as \U+XXXX (characters
// beyond the basic plane, and broken UTF-8, as '?').
std::string escapedText(const std::string& utf8);

} // namespace zorva::dxf
