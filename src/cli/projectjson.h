// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A computed project as zorva-calc prints it with --json (docs/cli.md): one
// JSON object with the method, every manifold with its loops, design and
// totals, every room with its load, breakdown and loops, and the project's
// totals. Every number of the result reaches it unrounded.

#include "core/project/projectresult.h"

#include <QJsonObject>

namespace zorva::cli {

QJsonObject projectJson(const project::Project& project, const project::ProjectResult& result);

} // namespace zorva::cli
