// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages of the project report, each in a file of its own, and the
// number texts they share.

#include "widgets/report/projectreportdata.h"
#include "widgets/report/reportprogress.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace zorva::ui {

class PagedReport;

namespace projectreport {

// `value` with `decimals` decimals; "—" for a value that is no number,
// "" for an empty optional.
QString number(double value, int decimals);
QString number(const std::optional<double>& value, int decimals);

// A two-column list of quantities, two pairs a row.
void pairTable(PagedReport& report, const QList<QStringList>& pairs);

void addSummary(PagedReport& report, const ProjectReportData& data);
bool addRoomSchedule(PagedReport& report, const ProjectReportData& data, ReportProgress& progress);
bool addManifoldLoops(PagedReport& report, const ProjectReportData& data, ReportProgress& progress);
void addMaterials(PagedReport& report, const ProjectReportData& data);
void addCooling(PagedReport& report, const ProjectReportData& data);

} // namespace projectreport
} // namespace zorva::ui
