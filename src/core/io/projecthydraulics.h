// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "hydraulics" section of a project file (docs/project-format.md,
// "hydraulics"): per manifold its presetting valve, connection pipes, body,
// pump curve, meter range and mixing station; the bill's rolls and
// options; per room what the bill needs of it. A project whose values are
// all a new project's is written without the section, and a file without
// it reads as a new project's values.

#include "core/project/project.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace zorva::io {

// Reads the section of `top`, if any, into the manifolds and rooms already
// read. Empty, or the message.
QString readHydraulicsSection(const QJsonObject& top, project::Project& p);
// Inserts the section into `top` unless every value is a new project's.
// Empty, or the first value that would not read back.
QString writeHydraulicsSection(const project::Project& p, QJsonObject& top);

// Reads every valve file the manifolds name, relative paths from `folder`,
// into their tables. A file that cannot be read leaves its table empty (the
// manifold then gets no settings); the messages say which and why.
QStringList loadValveFiles(project::Project& p, const QString& folder);

} // namespace zorva::io
