// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plan window's drawing commands: a row above the plan with the paper
// (A3, A4), the scale (1:50, 1:100, 适合图纸) and 导出平面图 PDF… /
// 打印平面图…. A plan that does not fit on the sheet at the chosen scale
// is not cut: the user is told and offered the finest standard scale that
// fits. The PDF is painted and written in the background with progress
// and cancel, through the safe save.

#include "core/project/project.h"
#include "core/project/projectresult.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace zorva::ui {

class DialogSeam;

// What a plot draws: the project, its result and the name in the title block.
struct PlanPlotSource {
    project::Project project;
    project::ProjectResult result;
    QString title;
};

// Adds the commands to `planWindow` (a PlanWindow); each export or print
// draws what `source` gives at that moment, so a plan window that follows
// its project's edits plots the latest result.
void addPlanPlotCommands(QWidget& planWindow, DialogSeam& dialogs,
                         std::function<std::shared_ptr<const PlanPlotSource>()> source);
// The same for a copy of one project and its result.
void addPlanPlotCommands(QWidget& planWindow, DialogSeam& dialogs, const project::Project& project,
                         const project::ProjectResult& result, const QString& title);

} // namespace zorva::ui
