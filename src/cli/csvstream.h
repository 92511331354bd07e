#pragma once
// A CSV table of designs (the manifold sheet's columns, one whole design a
// row) computed row by row into a CSV table of inputs and results, without
// holding the table in memory: the bytes are read in chunks and cut into
// batches of whole rows; each batch is decoded, read, computed and written
// out as CSV text on the thread pool, and the batches' output is written in
// input order with only a bounded number of batches in flight.
//
// The encoding (UTF-8, with or without the byte-order mark, or GBK) is
// decided from the first chunk. A row that is not a valid design stops the
// run with a message naming its line and field; rows before it have been
// written. A design that faults or does not converge is written with the
// reason in its 状态 column.

#include "cli/exitstatus.h"
#include "core/engine/manifold.h"

#include <QIODevice>

#include <cstdio>

namespace zorva::cli {

struct CsvStreamOptions {
    ManifoldInput base;         // for manifold columns that are absent or blank
    bool byteOrderMark = false; // start the output with the UTF-8 mark
    qsizetype batchBytes = 64 * 1024;
    qsizetype chunkBytes = 1024 * 1024;
    qsizetype maxRowBytes = 16 * 1024 * 1024; // one row, quoted line breaks and all
};

struct CsvStreamStats {
    qint64 designs = 0;     // rows computed
    qint64 notComputed = 0; // of them faulted or not converged
    QString encoding;       // "UTF-8" or "GBK"
};

// Reads `in` to its end and writes the result table to `out`.
Problem streamCsvDesigns(QIODevice& in, std::FILE* out, const CsvStreamOptions& options,
                         CsvStreamStats& stats);

} // namespace zorva::cli
