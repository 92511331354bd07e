// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loop layout's keys of zorva-calc's project JSON (docs/cli.md, "The
// loop layout in the JSON"): per loop its routedLength, per room its
// layout with the routed loops and the rule violations. A project without
// any room outline gets none of them, so its JSON stays as it was.

#include "core/project/projectresult.h"

#include <QJsonObject>

namespace zorva::cli {

// Adds the keys to `json`, the object projectJson built for the project.
void addPlanKeys(const project::Project& project, const project::ProjectResult& result,
                 QJsonObject& json);

} // namespace zorva::cli
