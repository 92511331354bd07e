#pragma once
// The table of heating outdoor design temperatures as the program ships it:
// data/cities.csv compiled in as the resource ":/zorva/data/cities.csv"
// (and installed as share/zorva/cities.csv), or a table the user keeps in
// a file of the same form. The text is parsed by the engine
// (core/heatload/citytable.h); this only reads the bytes.

#include "core/heatload/citytable.h"

#include <QString>
#include <QtGlobal>

namespace zorva::io {

// A city table larger than this is not read.
constexpr qint64 kCityTableSizeLimit = qint64(4) << 20;

inline constexpr char kBuiltinCityTable[] = ":/zorva/data/cities.csv";

struct CityTableLoad {
    bool ok = false;
    heatload::CityTable table; // when ok; rows that did not read are in table.errors
    QString error;             // empty when ok: Chinese, names the file
};

// The table compiled into the program.
CityTableLoad loadBuiltinCityTable();

// A table from a file. Refuses what is not a regular file, files over the
// size limit and files in which no station reads.
CityTableLoad loadCityTableFile(const QString& fileName);

} // namespace zorva::io
