// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rooms from a CSV table (docs/project-format.md, "Rooms from a CSV
// table"): one row per room with its name, use, indoor temperature, floor
// and heated area, covering, leader length, typed load and manifold.
// Columns are found by caption; every value is checked against the ranges
// of the project file; the first bad row stops the import, naming its line
// and field.

#include "core/csv/textencoding.h"
#include "core/io/result.h"
#include "core/project/project.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

namespace zorva::io {

// The captions of the columns, in the order an export would write them.
QStringList roomsCsvHeader();

struct RoomsCsvImport {
    csv::Encoding encoding = csv::Encoding::Utf8;
    std::vector<project::Room> rooms; // each with the defaults where a column is absent
};

// `project` names the manifolds a row may name (by name; a blank cell or no
// column: the first manifold). UTF-8 (with or without its mark), UTF-16
// with its mark, or GBK; at most kMaxRooms rows.
Result<RoomsCsvImport> importRoomsCsv(QByteArrayView bytes, const project::Project& project);
Result<RoomsCsvImport> importRoomsCsvFile(const QString& path, const project::Project& project);

} // namespace zorva::io
