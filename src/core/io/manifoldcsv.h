// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manifold sheet as a CSV table: one row per loop holding the loop's
// inputs, the manifold's inputs (so that every row is a whole design) and
// the loop's results and balancing. Import reads the loop columns (and the
// manifold columns where a row has them) back, checking every value.

#include "core/csv/textencoding.h"
#include "core/engine/manifold.h"
#include "core/io/manifoldfields.h"
#include "core/io/result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <span>

namespace zorva::io {

// The largest CSV table imported, bytes: an export of kMaxLoops loops with
// the longest names and numbers takes less than half of it.
constexpr qint64 kMaxCsvImportBytes = 32 * 1024 * 1024;

// Loop inputs, then manifold inputs, then results.
QStringList manifoldCsvHeader();
// The status of a loop's run: "完成", "未收敛" or the fault.
QString loopStatusText(const LoopResult& result);
// One loop's row; `result` may be empty (results left blank).
QStringList manifoldCsvRow(const ManifoldInput& manifold, const LoopInput& loop,
                           const LoopResult* result);
// The thirteen manifold cells of a row, and the row with them made before,
// for a caller writing many rows of one manifold.
QStringList manifoldCsvCells(const ManifoldInput& manifold);
QStringList manifoldCsvRow(const ManifoldInput& manifold, const LoopInput& loop,
                           const LoopResult* result, const QStringList& manifoldCells);
// The header and a row per loop; results.size() is loops.size() or 0.
QList<QStringList> manifoldCsvRows(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                                   std::span<const LoopResult> results);

template <std::size_t N> constexpr std::array<int, N> noColumns() {
    std::array<int, N> columns{};
    columns.fill(-1);
    return columns;
}

// The export: the rows as a CSV file (csvBytes); refused when it holds more
// than kMaxLoops loops or more than kMaxCsvImportBytes bytes, so that every
// export can be imported again.
Result<QByteArray> manifoldCsvFileBytes(const QList<QStringList>& rows);

// Which header column holds which input: -1 when absent.
struct CsvColumns {
    int name = -1;
    std::array<int, kLoopNumberCount> loop = noColumns<kLoopNumberCount>(); // loopRanges() order
    std::array<int, kManifoldNumberCount> manifold = noColumns<kManifoldNumberCount>();
    // Captions of the non-blank columns that are neither inputs nor the
    // export's result columns, as written.
    QStringList unrecognised;
};

// Finds the input columns by caption (with or without its unit) in the
// header row on line `line`; the export's result columns are passed over.
// Fails on a column given twice and on a missing required column, naming
// the columns that were not recognised.
Result<CsvColumns> mapCsvHeader(const QStringList& header, int line = 1);

// When some input column is missing and some column was not recognised,
// the note that says which columns were not read (a typing error in a
// caption would otherwise go unnoticed); empty otherwise.
QString unreadColumnsNote(const CsvColumns& columns, int line = 1);

struct CsvDesignRow {
    LoopInput loop;
    ManifoldInput manifold; // `base` with the row's manifold columns
    int line = 0;
};

// One data row; fails naming the line and field (a value out of range is
// quoted as written).
Result<CsvDesignRow> readCsvDesignRow(const CsvColumns& columns, const QStringList& cells, int line,
                                      const ManifoldInput& base);

struct LoopCsvImport {
    csv::Encoding encoding = csv::Encoding::Utf8;
    QList<CsvDesignRow> rows;
    QString note; // unreadColumnsNote, when there is one
};

// The whole import: decoding, header, every row checked; the first fault
// stops it, and so does a row past kMaxLoops. Rows whose cells are all
// blank are skipped.
Result<LoopCsvImport> importLoopsCsv(QByteArrayView bytes, const ManifoldInput& base);
// The same from a regular file (readFileBytes), refusing one over
// kMaxCsvImportBytes before reading it.
Result<LoopCsvImport> importLoopsCsvFile(const QString& path, const ManifoldInput& base);

} // namespace zorva::io
