// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The re-balancing keys of zorva-calc's project JSON (docs/cli.md,
// "Re-balancing"): per measured loop its actual output against the design
// and the proposed valve setting, with the settings before and after.

#include "core/project/projectresult.h"

#include <QJsonObject>

namespace zorva::cli {

// Adds `rebalance` to the measured loops of `root` (projectJson's object)
// and `rebalanceUnmatched` to manifolds with measurements of no loop.
void addRebalanceJson(const project::Project& project, const project::ProjectResult& result,
                      QJsonObject& root);

} // namespace zorva::cli
