// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project report (docs/project-report.md): the computed project on A4
// landscape pages. A summary of the settings and totals, the room schedule
// with each room's load and its breakdown, the loops of each manifold under
// its EN 1264-3 design line with their valve settings and flow-meter
// targets and the manifold's pump duty, the bill of materials with the
// cutting plan and, for a project that cools, the cooling page. Every
// figure names the method and clause it comes from. Made from plain values
// on any thread, with progress and cancel (pagedreport.h).

#include "widgets/report/projectreportdata.h"
#include "widgets/report/reportprogress.h"

#include <QByteArray>

class QPagedPaintDevice;

namespace zorva::ui {

class PagedReport;

// Fills `report`; false when `progress` said stop.
bool buildProjectReport(PagedReport& report, const ProjectReportData& data,
                        ReportProgress* progress = nullptr);

// The report as PDF bytes; empty when the PDF could not be made or
// `progress` said stop.
QByteArray projectReportPdf(const ProjectReportData& data, ReportProgress* progress = nullptr);

// The report printed on `device`; false when it could not be painted on.
bool printProjectReport(const ProjectReportData& data, QPagedPaintDevice& device);

} // namespace zorva::ui
