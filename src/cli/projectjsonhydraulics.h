// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The installer's keys of zorva-calc's project JSON (docs/cli.md,
// "Hydraulics and materials"): per loop the valve setting, kv, extra
// pressure drop and flow-meter target; per manifold the pump's duty, the
// mixed return and the mixing station; the bill of materials.

#include "core/project/projectresult.h"

#include <QJsonObject>
#include <QList>
#include <QStringList>

namespace zorva::cli {

// Adds the keys to the loops and manifolds of `root` (projectJson's object)
// and the top-level `materials` and `cuttingPlan`.
void addHydraulicsJson(const project::Project& project, const project::ProjectResult& result,
                       QJsonObject& root);

// The bill of materials as zorva-calc --materials prints it: a header row,
// one row per item, then after a blank row the cutting plan.
QList<QStringList> materialsCsvRows(const project::ProjectResult& result);

} // namespace zorva::cli
