#pragma once
// A computed project as zorva-calc prints it (docs/cli.md): one JSON
// object with the method, every manifold with its loops, design and totals,
// every room with its load, breakdown and loops, and the project's totals;
// or the same as CSV tables (loops, rooms, manifolds) under a line naming
// the method. Every number of the result reaches the JSON unrounded; the
// CSV shows them with the decimals of the manifold sheet.

#include "core/project/projectresult.h"

#include <QJsonObject>
#include <QList>
#include <QStringList>

namespace zorva::cli {

QJsonObject projectJson(const project::Project& project, const project::ProjectResult& result);

QList<QStringList> projectCsvRows(const project::Project& project,
                                  const project::ProjectResult& result);

} // namespace zorva::cli
