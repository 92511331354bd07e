// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a whole file so that a failure never costs the old one: the bytes
// go to a temporary file in the same folder under a short name, are flushed
// and checked on disk, and only then replace the target in one rename. On any
// failure the target is left byte-identical (or not created) and the result
// says why, in Chinese, with the system's own text after it.
//
// Targets:
// - A missing file is created with the usual permissions (0666 less the
//   umask).
// - An existing regular file is replaced when the user may write it; the
//   new file keeps its permission bits and, when the program runs as root,
//   its owner and group.
// - A symbolic link is followed to the file it names, and that file is
//   replaced (or created); the link itself stays a link.
// - A folder, a named pipe, a character or block device or a socket is
//   refused before anything is written, and so is a symbolic link loop.

#include "core/io/result.h"

#include <QByteArray>
#include <QString>

namespace zorva::io {

// Whether `path` may be written by writeFileSafely: fine for a missing file
// and for a regular file (also through symbolic links); otherwise the
// reason. Nothing is opened or written.
Result<void> checkSaveTarget(const QString& path);

Result<void> writeFileSafely(const QString& path, const QByteArray& bytes);

// Both programs call this first thing: with a file-size limit set (ulimit -f,
// as a hosting or school account may have), a write past it then fails with
// EFBIG, which the safe save and zorva-calc report, instead of the signal
// SIGXFSZ ending the program and leaving a temporary file behind.
void ignoreFileSizeSignal();

} // namespace zorva::io
