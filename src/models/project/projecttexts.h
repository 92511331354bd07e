// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The short texts the project tables and the window share: numbers with
// their decimals, the names of the load methods, boundaries and
// orientations, and the totals lines with the method they come from.

#include "core/heatload/envelope.h"
#include "core/project/projectresult.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zorva::models {

// `value` with `decimals` decimals; "" for an empty optional.
QString fixed(double value, int decimals);
QString fixed(const std::optional<double>& value, int decimals);
// A number typed into a cell: plain digits, full-width digits and a
// decimal comma accepted; empty when it is no finite number.
std::optional<double> cellNumber(const QString& text);

QString loadMethodText(project::LoadMethod method);
QString elementKindText(heatload::ElementKind kind);
QString orientationText(heatload::Orientation orientation);
QString boundaryText(heatload::Boundary boundary);

// "本程序方法：…" / "EN 1264-2：…", the clause of the method.
QString methodLine(method::Method method);
// The manifold's EN 1264-3 design line (design supply temperature and the
// room that sets it), or the method's line when it has no design.
QString designLine(const project::Project& project, const project::ProjectResult& result,
                   std::size_t manifold);
// The totals of one manifold and of the whole project, one line each.
QString manifoldTotalsText(const project::ProjectResult& result, std::size_t manifold);
QString projectTotalsText(const project::ProjectResult& result);

} // namespace zorva::models
