#pragma once
// Record files on disk: writing the record buffer as a file and reading a
// file back into a record. Each function returns its outcome and, on
// failure, a Chinese text that names the file and says what failed.

#include "core/io/safesave.h"

#include <QString>
#include <QtGlobal>

namespace zorva::io {

// Files larger than this are not records and are not read.
constexpr qint64 kRecordSizeLimit = qint64(1) << 20;

// Writes the record buffer as a record file (recordFileBytes) through
// writeFileSafely: the file is replaced whole or not at all, and what is no
// regular file is refused. Fails without writing when Qt has no GBK codec.
WriteResult writeRecordFile(const QString& fileName, const QString& buffer);

struct RecordRead {
    bool ok = false;
    QString record; // the fields read (readRecordFields), when ok
    QString error;  // empty when ok
};

// Reads a record file field by field. Refuses what is not a regular file
// (a pipe or a device would make the read wait), files over the size limit,
// and every file when Qt has no GBK codec.
RecordRead readRecordFile(const QString& fileName);

} // namespace zorva::io
