// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the plan window's editing files share: the plan's metres on the
// scene, and the dialogs that ask whom an outline belongs to.

#include "widgets/plan/plandrag.h"
#include "widgets/plan/planwindow.h"

#include <QPointF>

namespace zorva::ui {

// Plan metres to the scene's millimetres, y turned down, and back.
inline QPointF toScene(project::PlanPoint p) {
    return {p.x * 1000, -p.y * 1000};
}
inline project::PlanPoint fromScene(QPointF p) {
    return {p.x() / 1000, -p.y() / 1000};
}

// The default choosers: modal dialogs.
std::optional<OutlineOwner> askOutlineOwner(QWidget* parent, const project::Project& project,
                                            const std::vector<project::PlanPoint>& outline);
std::optional<std::vector<OutlineOwner>>
askImportOwners(QWidget* parent, const project::Project& project,
                const std::vector<dxf::ImportedOutline>& outlines);

// The rooms of the project that have no outline yet.
std::vector<int> roomsWithoutOutline(const project::Project& project);

} // namespace zorva::ui
