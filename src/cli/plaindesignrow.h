// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common rows of a UTF-8 design table read and written straight on
// their bytes, without decoding them into QString: rows without quotation
// marks whose numbers are plain decimals ("18", "-3", "80.25") within their
// ranges and whose loop name has no blank or apostrophe at its ends. Such a
// row reads and writes exactly as through CsvRowReader, readCsvDesignRow and
// manifoldCsvRow; any other row (a blank cell, an exponent, a value out of
// range, a name to trim) is left to that general path, which also words its
// errors.

#include "core/engine/manifold.h"
#include "core/io/manifoldcsv.h"

#include <span>
#include <string>
#include <string_view>

namespace zorva::cli {

// Reads the design of one unquoted row cut at its commas. False when the row
// is not plain (see above); `loop` and `manifold` are then unspecified.
bool readPlainDesign(const io::CsvColumns& columns, std::span<const std::string_view> cells,
                     const ManifoldInput& base, LoopInput& loop, ManifoldInput& manifold);

// The thirteen manifold cells joined by commas, as manifoldCsvCells writes them.
std::string manifoldCellBytes(const ManifoldInput& manifold);

// Appends the row manifoldCsvRow(manifold, loop, &result, cells) writes, CR LF
// ended, as UTF-8; `manifoldCells` is manifoldCellBytes(manifold).
void appendResultRow(std::string& out, const ManifoldInput& manifold, const LoopInput& loop,
                     const LoopResult& result, std::string_view manifoldCells);

} // namespace zorva::cli
