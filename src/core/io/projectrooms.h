// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "rooms" section of a project file (docs/project-format.md, "rooms"):
// per room its data, what lies below, the peripheral zone, the typed load,
// the envelope, the user's overrides and the manifold that serves it.

#include "core/io/manifoldfields.h"
#include "core/project/project.h"

#include <QJsonArray>
#include <QString>

#include <vector>

namespace zorva::io {

// The most rooms of a project.
constexpr int kMaxRooms = 10000;

// The key, name, unit and range of a room's number in a file ("indoorTemp",
// "floorArea", "heatedArea", "covering", "leaderLength", "load"), for the
// rooms CSV import to check the same ranges.
const NumberRange& roomNumberRange(const char* key);

// "第 2 个房间（客厅）"
QString roomLabel(std::size_t index, const std::string& name);

// `manifolds` is the number of manifolds the rooms may name.
QString readRooms(const QJsonArray& array, std::size_t manifolds, std::vector<project::Room>& out);
QString writeRooms(const std::vector<project::Room>& rooms, std::size_t manifolds, QJsonArray& out);

} // namespace zorva::io
