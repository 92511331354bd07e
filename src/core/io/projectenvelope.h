// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A room's envelope in a project file (docs/project-format.md,
// "envelope"): height, volume, air change, and its elements with the
// values GB 50736 and EN 12831 read. The envelope's name, indoor
// temperature and floor area are the room's and not written.

#include "core/heatload/envelope.h"

#include <QJsonObject>
#include <QString>

namespace zorva::io {

// The most elements of one envelope.
constexpr int kMaxEnvelopeElements = 500;

// `where` names the room. Unknown keys (with those of the elements) go to
// `extras`. Empty, or the message naming the element and field.
QString readEnvelope(const QJsonObject& obj, heatload::RoomEnvelope& envelope, const QString& where,
                     QJsonObject& extras);
QString writeEnvelope(const heatload::RoomEnvelope& envelope, const QString& where,
                      QJsonObject& out);

} // namespace zorva::io
