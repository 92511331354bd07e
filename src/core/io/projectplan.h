// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floor plan's section of a project file, "plan" (docs/project-format.md,
// "plan"): the background, the manifolds' places and the rooms' outlines,
// each room and manifold by its index. A file without the section reads as
// a project without a plan, and a project without one writes none.

#include "core/project/project.h"

#include <QJsonObject>
#include <QString>

namespace zorva::io {

// Reads top["plan"] into the project's rooms and manifolds, which must be
// read already. Empty, or the message naming the place and field.
QString readPlanSection(const QJsonObject& top, project::Project& out);
// Writes out["plan"] when the project holds any of it; the message of the
// first value that would not read back.
QString writePlanSection(const project::Project& p, QJsonObject& out);

} // namespace zorva::io
