// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What lies under a heated floor, as a project file holds it for a room
// and for a manifold's manual loops (docs/project-format.md, "below").

#include "core/en1264/below.h"

#include <QJsonObject>
#include <QString>

namespace zorva::io {

// Reads `obj` into `below` (absent keys keep its values); `where` names
// the owner. Unknown keys go to `extras`. Empty, or the message.
QString readBelow(const QJsonObject& obj, en1264::Below& below, const QString& where,
                  QJsonObject& extras);
QString writeBelow(const en1264::Below& below, const QString& where, QJsonObject& out);

} // namespace zorva::io
