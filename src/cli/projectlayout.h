// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zorva-calc project.zorvaproj --layout out.dxf|out.svg: the project
// computed with the loop layout of every room with an outline, and the
// installation drawing written (docs/cli.md, "The drawing").

#include "core/dxf/drawing.h"
#include "core/io/result.h"
#include "core/project/projectresult.h"

#include <QByteArray>
#include <QString>

namespace zorva::cli {

// The drawing of a computed project: the rooms with an outline, the
// manifolds, and the routed loops, one layer per loop.
dxf::Drawing projectDrawing(const project::Project& project, const project::ProjectResult& result);

struct LayoutOutput {
    Result<void> outcome;
    qsizetype rooms = 0; // rooms laid out
    qsizetype loops = 0; // loops drawn
    double pipe = 0;     // m of pipe, leaders included
    qsizetype violations = 0;
};

// Reads the project at `path` (`shownName` in messages), computes it
// (rooms on all cores) and writes the drawing to `out`: DXF when it ends
// in .dxf, SVG when in .svg. The file is replaced whole or not at all.
LayoutOutput writeProjectLayout(const QByteArray& path, const QString& shownName,
                                const QString& out);

} // namespace zorva::cli
