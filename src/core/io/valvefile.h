// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A presetting valve's characteristic from a small file the user writes
// from the maker's data sheet (docs/hydraulics.md §2.2): JSON, or CSV, in
// UTF-8 (any number of byte-order marks), GBK or UTF-16 with its mark
// (csv::detectEncoding). Every rule of the characteristic is checked; a refusal
// names the line (CSV) or the key (JSON) in Chinese.

#include "core/hydraulics/valve.h"
#include "core/io/result.h"

#include <QByteArray>
#include <QString>

namespace zorva::io {

// The largest valve file read, bytes.
constexpr qint64 kMaxValveFileBytes = 1024 * 1024;

// The characteristic read, or why not (Chinese, naming the line or key).
using ValveFileRead = Result<hydraulics::ValveCharacteristic>;

// JSON when the first character of the text other than white space is "{",
// else CSV.
ValveFileRead readValveFile(const QByteArray& bytes);
// The same from a regular file (readFileBytes: a named pipe is refused
// without waiting), refusing one over kMaxValveFileBytes before reading.
ValveFileRead readValveFilePath(const QString& path);

} // namespace zorva::io
