// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "rebalance" section of a project file (docs/project-format.md,
// "rebalance"): per manifold what was measured on its loops after
// commissioning, with the settings before and after re-balancing. A
// project that measured nothing is written without the section, and a file
// without it reads as before.

#include "core/project/project.h"

#include <QJsonObject>
#include <QString>

namespace zorva::io {

// Reads the section of `top`, if any, into the manifolds already read.
// Empty, or the message.
QString readRebalanceSection(const QJsonObject& top, project::Project& p);
// Inserts the section into `top` unless nothing was measured. Empty, or the
// first value that would not read back.
QString writeRebalanceSection(const project::Project& p, QJsonObject& top);

} // namespace zorva::io
