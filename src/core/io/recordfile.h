// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Record files on disk: writing the record buffer as a file and reading a
// file back into a record. A failure says, in Chinese, which file and what
// failed, then the system's reason.

#include "core/io/result.h"

#include <QString>
#include <QtGlobal>

namespace zorva::io {

// Files larger than this are not records and are not read.
constexpr qint64 kRecordSizeLimit = qint64(1) << 20;

// Writes the record buffer as a record file (recordFileBytes) through
// writeFileSafely: the file is replaced whole or not at all, and what is no
// regular file is refused. Fails without writing when Qt has no GBK codec.
Result<void> writeRecordFile(const QString& fileName, const QString& buffer);

// Reads a record file field by field (readRecordFields). Refuses what is not
// a regular file (readFileBytes: a pipe is refused without waiting for a
// writer), files over the size limit, and every file when Qt has no GBK
// codec.
Result<QString> readRecordFile(const QString& fileName);

} // namespace zorva::io
