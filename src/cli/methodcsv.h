// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CSV rows of designs computed by EN 1264-2 or for cooling: the input
// columns of the manifold sheet's table, then the method's results. A line
// naming the method goes before the header whenever --method or --mode is
// given (docs/cli.md, "Method and season of a design").

#include "cli/calcmode.h"
#include "core/engine/manifold.h"

#include <QStringList>

namespace zorva::cli {

// Whether rows are computed here rather than by the sheet's own run.
bool methodRows(const CalcMode& mode);

// "计算方法,EN 1264-2,<clause>", or empty for today's output.
QStringList methodLine(const CalcMode& mode);

QStringList methodCsvHeader(const CalcMode& mode);

// One row; `computed` tells whether the design has figures. `inputs` are the
// sheet's input cells of the row (manifoldCsvRow without results).
QStringList methodCsvRow(const CalcMode& mode, const ManifoldInput& manifold, const LoopInput& loop,
                         QStringList inputs, bool& computed);

// The number of input columns of the sheet's table.
int sheetInputColumns();

} // namespace zorva::cli
