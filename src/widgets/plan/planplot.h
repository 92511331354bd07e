// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The installation drawing on paper (docs/plan-plot.md): the routed plan
// at a chosen scale (1:50, 1:100, or the largest standard scale that fits)
// on an A3 or A4 sheet in landscape, inside a frame with a title block
// (project, drawing title, scale, date, sheet), a legend of the loops (loop,
// room, routed length, spacing, colour), a north arrow and a scale bar;
// room outlines and names, no-pipe areas, manifolds, the loops in their
// colours and the rule violations in red. Everything is placed in sheet
// millimetres, so that 4.0 m of wall at 1:50 is 80 mm on the paper.
// Painted on any thread, with progress and cancel.

#include "core/layout/geometry.h"
#include "core/project/project.h"
#include "core/project/projectresult.h"
#include "widgets/report/reportprogress.h"

#include <QByteArray>
#include <QDateTime>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace zorva::ui {

struct PlanPlotOptions {
    QPageSize::PageSizeId paper = QPageSize::A3; // A3 or A4, always landscape
    int scale = 50;                              // 1:scale; 0: the largest standard scale that fits
    QString project;                             // for the title block
    QDateTime when;
};

// The standard scales offered, finest first: 20, 25, 50, 75, 100, …
const std::vector<int>& planPlotScales();

// Where everything goes on the sheet, in millimetres from its top left.
struct PlanPlotFrame {
    QSizeF paper;       // landscape
    QRectF border;      // the drawing frame
    QRectF drawingArea; // where the plan is drawn
    QRectF legendArea;  // the legend, the north arrow and the scale bar
    QRectF titleBlock;
    layout::Box plan;     // the plan's extent, plan millimetres (y up)
    bool empty = true;    // nothing to draw
    int scale = 0;        // 1:scale as drawn
    bool fits = true;     // the plan lies within the drawing area at `scale`
    int fittingScale = 0; // the finest standard scale that fits; 0: none does
    // A point of the plan (mm, y up) on the sheet (mm, y down).
    QPointF toSheet(layout::Point p) const;
};

PlanPlotFrame planPlotFrame(const project::Project& project, const project::ProjectResult& result,
                            const PlanPlotOptions& options);

// Paints the sheet with `painter` on a device of `dotsPerMm` device pixels
// per millimetre whose top-left is the sheet's. False when `progress` said
// stop.
bool paintPlanPlot(QPainter& painter, double dotsPerMm, const project::Project& project,
                   const project::ProjectResult& result, const PlanPlotOptions& options,
                   ReportProgress* progress = nullptr);

// The sheet as a one-page PDF; empty when it could not be made or
// `progress` said stop.
QByteArray planPlotPdf(const project::Project& project, const project::ProjectResult& result,
                       const PlanPlotOptions& options, ReportProgress* progress = nullptr);

// The sheet printed on `device` (a printer the user chose), set to the
// options' paper in landscape; false when it could not be painted on.
bool printPlanPlot(const project::Project& project, const project::ProjectResult& result,
                   const PlanPlotOptions& options, QPagedPaintDevice& device);

} // namespace zorva::ui
