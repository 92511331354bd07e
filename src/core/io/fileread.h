// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program reads a whole file: the project, a CSV table, a
// calculation record. For the windows only regular files are read, and the
// file is opened without blocking, so that a named pipe without a writer is
// refused at once instead of freezing the window; zorva-calc also reads
// pipes and devices (`zorva-calc <(generate)` is a normal use there).

#include "core/io/result.h"

#include <QByteArray>
#include <QString>

namespace zorva::io {

enum class FileKinds {
    RegularOnly, // anything else: "“name”不是普通文件，未读取。"
    Any,         // pipes and devices too, read to their end
};

// Problem::code of a failed read.
enum ReadFailure {
    CannotOpen = 1, // reason: ours ("文件不存在", …), then the system's text
    NotRegularFile, // a folder, pipe, device or socket (RegularOnly)
    TooLarge,       // more than the limit
    ReadError,      // reason: the system's text
};

// Reads the file at `path` (its bytes as the system names it) up to
// `maxBytes`. `shownName` is the name the messages quote. A file larger
// than `maxBytes` is refused before it is read where its size is known,
// otherwise after maxBytes + 1 bytes.
Result<QByteArray> readFileBytes(const QByteArray& path, const QString& shownName, qint64 maxBytes,
                                 FileKinds kinds = FileKinds::RegularOnly);
// The same for a name in the program's text.
Result<QByteArray> readFileBytes(const QString& path, qint64 maxBytes,
                                 FileKinds kinds = FileKinds::RegularOnly);

// The name as the messages quote it: native separators.
QString shownFileName(const QString& path);

} // namespace zorva::io
