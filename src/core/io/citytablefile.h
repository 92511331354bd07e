// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table of heating outdoor design temperatures as the program ships it:
// data/cities.csv compiled in as the resource ":/zorva/data/cities.csv"
// (and installed as share/zorva/cities.csv), or a table the user keeps in
// a file of the same form. The text is parsed by the engine
// (core/heatload/citytable.h); this only reads the bytes.

#include "core/heatload/citytable.h"
#include "core/io/result.h"

#include <QString>
#include <QtGlobal>

namespace zorva::io {

// A city table larger than this is not read.
constexpr qint64 kCityTableSizeLimit = qint64(4) << 20;

inline constexpr char kBuiltinCityTable[] = ":/zorva/data/cities.csv";

// A table read: rows that did not read are in table.errors. A failure says
// in Chinese why and names the file.
using CityTableLoad = Result<heatload::CityTable>;

// The table compiled into the program.
CityTableLoad loadBuiltinCityTable();

// A table from a file (readFileBytes: a named pipe is refused without
// waiting for a writer). Refuses what is not a regular file, files over the
// size limit and files in which no station reads.
CityTableLoad loadCityTableFile(const QString& fileName);

} // namespace zorva::io
