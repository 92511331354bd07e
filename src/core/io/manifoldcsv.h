#pragma once
// The manifold sheet as a CSV table: one row per loop holding the loop's
// inputs, the manifold's inputs (so that every row is a whole design) and
// the loop's results and balancing. Import reads the loop columns (and the
// manifold columns where a row has them) back, checking every value.

#include "core/engine/manifold.h"
#include "core/io/manifoldfields.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <span>

namespace zorva::io {

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

// Which header column holds which input: -1 when absent.
struct CsvColumns {
    int name = -1;
    std::array<int, kLoopNumberCount> loop = noColumns<kLoopNumberCount>(); // loopSpecs() order
    std::array<int, kManifoldNumberCount> manifold = noColumns<kManifoldNumberCount>();
};

// Finds the input columns by caption (with or without its unit); other
// columns are ignored. Empty string when fine, else why not (Chinese).
QString mapCsvHeader(const QStringList& header, CsvColumns& columns);

struct CsvDesignRow {
    LoopInput loop;
    ManifoldInput manifold; // `base` with the row's manifold columns
    int line = 0;
};

// One data row; returns an error naming the line and field, or empty.
QString readCsvDesignRow(const CsvColumns& columns, const QStringList& cells, int line,
                         const ManifoldInput& base, CsvDesignRow& out);

struct LoopCsvImport {
    bool ok = false;
    QString error;
    QString encoding; // "UTF-8" or "GBK"
    QList<CsvDesignRow> rows;
};

// The whole import: decoding, header, every row checked; the first fault
// stops it. Rows whose cells are all blank are skipped.
LoopCsvImport importLoopsCsv(const QByteArray& bytes, const ManifoldInput& base);
// The same from a file, refusing one over kMaxCsvBytes before reading it.
LoopCsvImport importLoopsCsvFile(const QString& path, const ManifoldInput& base);

} // namespace zorva::io
