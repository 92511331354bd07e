// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A project of rooms and manifolds computed by computeProject() and printed
// as zorva-calc's project output (docs/cli.md): JSON, CSV, or the bill of
// materials as CSV. Valve files the manifolds name are read from `folder`.

#include "cli/calcmode.h"
#include "cli/projectoutput.h"
#include "core/io/projectfile.h"

namespace zorva::cli {

// `modes` replace the project's method, season and rooms' cooling state for
// this run. `failedLoops` of the output counts the loops with a 不合格 of
// either season.
ProjectOutput runProjectDocument(const io::ProjectDocument& document, const QString& folder,
                                 ProjectFormat format, const ProjectModes& modes = {});

} // namespace zorva::cli
