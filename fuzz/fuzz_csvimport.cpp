// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV table reader and the loop import over arbitrary bytes.
//
// - Neither crashes; a refusal always says why. Any number of byte-order
//   marks, UTF-16 by its mark, GBK and UTF-8 are all read.
// - Rows parsed from any text, written out again, parse back as the same
//   rows.
// - Loops imported without fault lie within their ranges, and exporting and
//   importing them is stable: the second export has the bytes of the first.

#include "core/csv/csvreader.h"
#include "core/csv/csvwriter.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"
#include "fuzzcheck.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

using namespace zorva;
using namespace zorva::io;
using zorva::csv::csvBytes;

namespace {

QByteArray exported(const LoopCsvImport& in) {
    std::vector<LoopInput> loops;
    for (const CsvDesignRow& row : in.rows)
        loops.push_back(row.loop);
    const ManifoldInput manifold = in.rows.isEmpty() ? ManifoldInput{} : in.rows[0].manifold;
    return csvBytes(manifoldCsvRows(manifold, loops, {}));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const Result<csv::CsvTable> table = csv::readCsv(bytes);
    if (table) {
        FUZZ_CHECK(table->rows.size() == table->lines.size());
        const Result<csv::CsvTable> again = csv::readCsv(csvBytes(table->rows));
        FUZZ_CHECK(again && again->rows == table->rows);
    } else {
        FUZZ_CHECK(!table.error().isEmpty());
    }

    const Result<LoopCsvImport> in = importLoopsCsv(bytes, ManifoldInput{});
    if (!in) {
        FUZZ_CHECK(!in.error().isEmpty());
        return 0;
    }
    for (const CsvDesignRow& row : in->rows) {
        for (int i = 0; i < kLoopNumberCount; ++i) {
            const std::optional<double> v = loopNumber(row.loop, i);
            FUZZ_CHECK(v ? inRange(loopRanges()[i], *v) : loopRanges()[i].optional);
        }
        for (int i = 0; i < kManifoldNumberCount; ++i)
            FUZZ_CHECK(inRange(manifoldRanges()[i], manifoldNumber(row.manifold, i)));
    }
    // The first row's manifold stands for all in the export, so only a
    // table whose rows share it reads back as itself.
    const QByteArray first = exported(*in);
    const Result<LoopCsvImport> back = importLoopsCsv(first, ManifoldInput{});
    FUZZ_CHECK(back && back->rows.size() == in->rows.size());
    FUZZ_CHECK(exported(*back) == first);
    return 0;
}
