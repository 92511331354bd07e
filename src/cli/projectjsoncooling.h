// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cooling part of zorva-calc's project JSON (docs/cli.md, "Cooling in
// the project output"): the key `cooling` with the season, every manifold's
// chilled water, loops and the flows of both seasons, every room's capacity
// against its load with the dew point and the verdicts, and the totals.

#include "core/project/projectresult.h"

#include <QJsonObject>

namespace zorva::cli {

// Adds `cooling` to `root` when the project's season includes cooling; a
// heating project's output stays as it was.
void addCoolingJson(const project::Project& project, const project::ProjectResult& result,
                    QJsonObject& root);

} // namespace zorva::cli
