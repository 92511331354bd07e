// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What zorva-calc prints for a project file, and in which form.

#include "cli/exitstatus.h"

#include <QByteArray>

namespace zorva::cli {

struct ProjectOutput {
    QByteArray bytes;     // UTF-8
    Result<void> outcome; // unreadable file, or loops without a result
    qint64 loops = 0;     // loops computed
    int failedLoops = 0;  // loops whose check has a 不合格
};

// Materials: the bill of materials as CSV, for any project.
enum class ProjectFormat { Csv, CsvWithMark, Json, Materials, MaterialsWithMark };

} // namespace zorva::cli
