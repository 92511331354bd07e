// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "settings" section of a project file (docs/project-format.md,
// "settings"): the calculation method, the heat-load method with the
// project's place and the options of GB 50736 and EN 12831, the rules the
// rooms' loops are designed within, and the EN 1264-3 design.

#include "core/project/project.h"

#include <QJsonObject>
#include <QString>

namespace zorva::io {

// Reads `obj` into `settings`, which holds the defaults: an absent
// "method" is the program's own. Unknown keys go to settings.extraKeys.
// Empty, or the message naming the field.
QString readSettings(const QJsonObject& obj, project::Settings& settings);

// The section's object; empty message, or why a value would not read back.
QString writeSettings(const project::Settings& settings, QJsonObject& out);

} // namespace zorva::io
