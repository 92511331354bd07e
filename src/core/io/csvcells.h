// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cells of the tables the program imports (the manifold sheet's loops,
// rooms): names that a spreadsheet would run as a formula, captions with or
// without their unit, and numbers checked against their range.

#include "core/io/manifoldfields.h"

#include <QString>

#include <optional>

namespace zorva::io {

// A name a spreadsheet program would run as a formula (after any leading
// apostrophes, it starts with = + - or @) is written after one more
// apostrophe, which the import drops again.
bool formulaLike(const QString& name);
QString nameCell(const QString& name);
QString nameFromCell(const QString& cell);

// The cell is the field's caption, with or without its unit.
bool headerMatches(const QString& cell, const NumberRange& numberField);

// Reads one number cell: blank is empty for an optional field. Returns
// false with `error` set on a bad value ("“室内温度”不是数字：x2").
bool readNumber(const QString& cell, const NumberRange& numberField, std::optional<double>& value,
                QString& error);

} // namespace zorva::io
