#pragma once
// A presetting valve's characteristic from a small file the user writes
// from the maker's data sheet (docs/hydraulics.md §2.2): JSON, or CSV in
// UTF-8 or GBK. Every rule of the characteristic is checked; a refusal
// names the line (CSV) or the key (JSON) in Chinese.

#include "core/hydraulics/valve.h"

#include <QByteArray>
#include <QString>

namespace zorva::io {

// The largest valve file read, bytes.
constexpr qint64 kMaxValveFileBytes = 1024 * 1024;

struct ValveFileRead {
    bool ok = false;
    QString error; // Chinese, when not ok
    hydraulics::ValveCharacteristic valve;
};

// JSON when the first character other than white space (after a UTF-8
// byte-order mark) is "{", else CSV.
ValveFileRead readValveFile(const QByteArray& bytes);
// The same from a file, refusing one over kMaxValveFileBytes before reading.
ValveFileRead readValveFilePath(const QString& path);

} // namespace zorva::io
