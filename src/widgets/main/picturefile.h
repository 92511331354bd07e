// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The principle diagram as a picture file: a Windows bitmap.

#include "core/io/safesave.h"

#include <QImage>
#include <QString>

namespace zorva::ui {

// Writes `image` as a Windows bitmap to exactly `fileName`, whatever its
// extension, through writeFileSafely: the file is replaced whole or not at
// all, and what is no regular file is refused; on failure the error names
// the file and the reason.
Result<void> writeBitmapFile(const QImage& image, const QString& fileName);

} // namespace zorva::ui
