// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A computed project as zorva-calc prints it as CSV (docs/cli.md): a line
// naming the method and one naming the heat-load method, then three tables
// apart by blank rows: the loops of every manifold, the rooms, the
// manifolds' totals; numbers with the decimals of the manifold sheet.

#include "core/project/projectresult.h"

#include <QList>
#include <QStringList>

namespace zorva::cli {

QList<QStringList> projectCsvRows(const project::Project& project,
                                  const project::ProjectResult& result);

} // namespace zorva::cli
