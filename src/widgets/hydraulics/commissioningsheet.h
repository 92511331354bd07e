// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commissioning sheet (调试单, docs/hydraulics.md §6): per manifold one
// row per loop with the valve setting to dial, the flow-meter target and
// the expected return temperature, a box to tick and blanks for what is
// measured; the pump's duty point and the mixed return; the pressure test
// and first-heating steps with their clauses; a line for the installer's
// signature and date. Made from plain values on A4 pages by the paged
// report, so that it can be made on any thread with progress and cancel.

#include "core/hydraulics/commissioning.h"
#include "core/hydraulics/manifoldduty.h"
#include "core/project/projectresult.h"
#include "widgets/report/reportprogress.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <span>
#include <vector>

class QPagedPaintDevice;

namespace zorva::ui {

class PagedReport;

struct CommissioningManifold {
    QString name;
    QString valve;     // the valve's name, "（通用特性）" added for the generic one
    QString valveNote; // why there are no settings, when there are none
    double supplyTemp = 0;
    std::vector<hydraulics::CommissioningRow> rows;
    // The duty point and the mixed return, when the manifold has them.
    bool computed = false;
    hydraulics::PumpDuty pump;
    hydraulics::MixedReturn mixedReturn;
    hydraulics::CommissioningPlan plan;
};

// What the steps are made for: the same for every manifold of a project
// but its design supply temperature.
struct CommissioningSite {
    double workingPressureMPa = 0.4;
    double surroundingTemp = 5; // ℃ at the site during first heating
    hydraulics::ScreedKind screed = hydraulics::ScreedKind::Cement;
};

struct CommissioningSheet {
    QString title;  // the project's name
    QString method; // the calculation method's name
    CommissioningSite site;
    std::vector<CommissioningManifold> manifolds;
};

// One manifold from the engine's numbers: rows for `loops` (the balanced
// loops, in the order of h's loops) and the steps at `supplyTemp`.
CommissioningManifold commissioningManifold(
    const QString& name, std::span<const hydraulics::CommissioningLoopInput> loops,
    const hydraulics::ManifoldHydraulics& h, double supplyTemp, const CommissioningSite& site);

// Every manifold of a computed project.
CommissioningSheet commissioningSheet(const project::Project& project,
                                      const project::ProjectResult& result, const QString& title,
                                      const CommissioningSite& site = {});

// The sheet's blocks, for the PDF, the printer and the tests.
void buildCommissioningReport(PagedReport& report, const CommissioningSheet& sheet,
                              const QDateTime& when);

// The sheet as PDF bytes; empty when the PDF could not be made or the
// progress said stop.
QByteArray commissioningSheetPdf(const CommissioningSheet& sheet, const QDateTime& when,
                                 ReportProgress* progress = nullptr);
// The sheet on a printer the user chose; false when it could not be painted on.
bool printCommissioningSheet(const CommissioningSheet& sheet, QPagedPaintDevice& device,
                             const QDateTime& when);

} // namespace zorva::ui
