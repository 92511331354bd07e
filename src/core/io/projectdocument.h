// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A project file's top level as the project model holds it
// (docs/project-format.md): version 1, the manifold sheet's file, read as a
// project of one manifold of manual loops by the program's own method;
// version 2 with its sections, each read and written by its own pair of
// functions (projectsettings, projectmanifolds, projectrooms). A later
// capability adds its section file and one call to each function here.

#include "core/project/project.h"

#include <QJsonObject>
#include <QString>

namespace zorva::io {

// The top-level object of a file of `version` (1 or 2, already checked)
// into `out`. Empty, or the message naming the place and field.
QString readProjectObject(const QJsonObject& top, int version, project::Project& out);

// The version-2 object, with the keys kept from the file. Empty, or why a
// value would not read back (the file is then not written).
QString writeProjectObject(const project::Project& project, QJsonObject& out);

} // namespace zorva::io
