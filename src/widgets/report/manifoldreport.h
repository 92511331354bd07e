// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manifold report: the manifold's inputs, one table row per loop with
// its inputs, results and balancing, and the totals, on as many A4
// landscape pages as the loops need, the table's header row repeated at the
// top of each page. Made from plain values, so that any window holding a
// manifold can export or print it, and laid out by the program itself in
// time linear in the loops (pagedreport.h), on any thread, with progress
// and cancel.

#include "core/engine/manifold.h"
#include "core/method/method.h"
#include "core/project/projectresult.h"
#include "widgets/report/reportprogress.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>
#include <span>

class QPagedPaintDevice;

namespace zorva::ui {

// The method the sheet was computed by, named on every page; with EN 1264-2
// the EN 1264-3 design of the loops (in their order), whose summary and
// columns replace the program's results.
struct ManifoldReportMethod {
    method::Method method = method::Method::Program;
    std::optional<project::ManifoldResult> standard;
    double designDrop = 5; // σ_des, K
};

// The report as PDF bytes, dated `when`; results.size() is loops.size(), or 0
// when nothing has been computed. Empty when the PDF could not be made or
// `progress` said stop.
QByteArray manifoldReportPdf(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                             std::span<const LoopResult> results, const ManifoldTotals& totals,
                             const QDateTime& when = QDateTime::currentDateTime(),
                             ReportProgress* progress = nullptr,
                             const ManifoldReportMethod& method = {});

// The same report printed on `device` (a printer the user chose); false when
// it could not be painted on.
bool printManifoldReport(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                         std::span<const LoopResult> results, const ManifoldTotals& totals,
                         QPagedPaintDevice& device,
                         const QDateTime& when = QDateTime::currentDateTime(),
                         const ManifoldReportMethod& method = {});

} // namespace zorva::ui
