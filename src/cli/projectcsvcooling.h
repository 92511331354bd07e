// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cooling tables of zorva-calc's project CSV (docs/cli.md, "Cooling in
// the project output"): after the heating tables, a blank row and the loops
// with their heating and cooling results side by side, a blank row and the
// rooms' capacity against their sensible load with the dew point.

#include "core/project/projectresult.h"

#include <QList>
#include <QStringList>

namespace zorva::cli {

// Appends the tables when the project's season includes cooling.
void appendCoolingRows(const project::Project& project, const project::ProjectResult& result,
                       QList<QStringList>& rows);

} // namespace zorva::cli
