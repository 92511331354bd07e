// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the project report is made of (projectreport.h).

#include "core/project/project.h"
#include "core/project/projectresult.h"

#include <QDateTime>
#include <QString>

namespace zorva::ui {

// What the report is made of: a copy, so that editing goes on meanwhile.
struct ProjectReportData {
    project::Project project;
    project::ProjectResult result;
    QString title;  // the project's name (its file's base name), shown on the first page
    QDateTime when; // the date printed
};

} // namespace zorva::ui
