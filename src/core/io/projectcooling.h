// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cooling members of a project file (docs/project-format.md,
// "cooling"): `settings.cooling` (season, dew-point margin), each manifold's
// `cooling` (the chilled water) and each room's `cooling` (design state,
// humidity, sensible load, occupancy). A file without them reads as a
// heating project; a heating project with the default cooling values writes
// none of them, so its bytes are those of before.

#include "core/project/project.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace zorva::io {

// Reads the cooling members of the version-2 object `top` into `out`, whose
// settings, manifolds and rooms are read already (their kept unknown keys
// lose "cooling", which this reads). Empty, or the message naming the place.
QString readProjectCooling(const QJsonObject& top, project::Project& out);

// Adds the cooling members to the written settings, manifolds and rooms;
// the message of the first value that would not read back.
QString writeProjectCooling(const project::Project& p, QJsonObject& settings, QJsonArray& manifolds,
                            QJsonArray& rooms);

} // namespace zorva::io
