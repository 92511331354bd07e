// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A manifold project file computed as the manifold sheet computes it: every
// loop's run (on the thread pool), balancing, the design check of each loop
// and the totals, written as the sheet's CSV table with a 校核 column,
// followed by a blank row and a table of the totals with the overall
// verdict, or as one JSON object.

#include "cli/calcmode.h"
#include "cli/projectoutput.h"
#include "core/engine/designcheck.h"

#include "core/method/method.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zorva::cli {

// A version-1 file prints the manifold sheet's output; a version-2 file,
// and the bill of materials of either, the project output
// (projectdocumentrun.h). `path` is the file's name as the system has it (any bytes), `shownName`
// the name the messages quote. Pipes and devices are read as well. `limits`
// give the room category and the limits other than the load; each loop's
// load ÷ area is its load per m².
// `modes` change the project for this run (its method, season and the
// rooms' cooling state); a version-1 file by the program's method and
// without other changes keeps the sheet's output.
ProjectOutput runProject(const QByteArray& path, const QString& shownName, ProjectFormat format,
                         const CheckLimits& limits, const ProjectModes& modes = {});

} // namespace zorva::cli
