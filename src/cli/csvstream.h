// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A CSV table of designs (the manifold sheet's columns, one whole design a
// row) computed row by row into a CSV table of inputs and results, without
// holding the table in memory: the bytes are read in chunks and cut into
// batches of whole rows; each batch is decoded, read, computed and written
// out as CSV text on the thread pool, and the batches' output is written in
// input order with only a bounded number of batches in flight.
//
// The encoding (UTF-8 with or without byte-order marks, GBK, or UTF-16 with
// its mark, which is turned into UTF-8 as it is read) is decided from the
// start of the input (csv::detectEncoding). A row that is not a valid design stops the
// run with a message naming its line and field; rows before it have been
// written. A design that faults or does not converge is written with the
// reason in its 状态 column.

#include "cli/calcmode.h"
#include "cli/exitstatus.h"
#include "core/engine/manifold.h"
#include "core/io/result.h"

#include <QIODevice>

#include <cstdio>

namespace zorva::cli {

struct CsvStreamOptions {
    ManifoldInput base;         // for manifold columns that are absent or blank
    CalcMode mode;              // the program's heating method: the sheet's fast rows
    bool byteOrderMark = false; // start the output with the UTF-8 mark
    qsizetype batchBytes = 64 * 1024;
    qsizetype chunkBytes = 1024 * 1024;
    qsizetype maxRowBytes = 16 * 1024 * 1024; // one row, quoted line breaks and all
};

struct CsvStreamStats {
    qint64 designs = 0;     // rows computed
    qint64 notComputed = 0; // of them faulted or not converged
    QString encoding;       // "UTF-8", "GBK", "UTF-16LE" or "UTF-16BE"
    QString note;           // columns of the header that were not read (unreadColumnsNote)
};

// Reads `in` to its end and writes the result table to `out`. Fails with the
// exit status in Problem::code: InputError for input that cannot be read or
// output that cannot be written, SomeNotComputed when designs faulted or
// did not converge.
Result<void> streamCsvDesigns(QIODevice& in, std::FILE* out, const CsvStreamOptions& options,
                              CsvStreamStats& stats);

} // namespace zorva::cli
