// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design report: one design on A4 pages, for handing in. Title and
// date; the inputs of the main and construction windows with their units;
// the seven results as the main window shows them; the design check with
// its limits and verdicts by the chosen method (with EN 1264-2 its numbers of
// the design); with cooling chosen, the cooling check on a page of its own; the EN 1264-2
// cross-check; the heat output of the spacing family; the principle diagram. Without a converged
// calculation the report says so where the results would stand.

#include "core/engine/designcheck.h"
#include "core/engine/inputs.h"
#include "models/session/designsession.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>

class QPagedPaintDevice;

namespace zorva::ui {

struct DesignReportData {
    FieldRecord fields; // both windows' texts as they stand
    std::optional<models::CalculatedDesign> calculation;
    bool editedSinceCalculation = false;
    CheckLimits limits;
    method::Method method = method::Method::Program;
    models::Season season = models::Season::Heating;
    models::CoolingSettings cooling = models::CoolingSettings::defaults();
    QDateTime when;
};

// The report of the session's design as it stands, dated `when`.
DesignReportData designReportData(const models::DesignSession& session, const QDateTime& when);

// The report as PDF bytes; empty when the PDF could not be made.
QByteArray designReportPdf(const DesignReportData& data);

// The report printed on `device`; false when it could not be painted on.
bool printDesignReport(const DesignReportData& data, QPagedPaintDevice& device);

} // namespace zorva::ui
