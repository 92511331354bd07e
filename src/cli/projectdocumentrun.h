// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A project of rooms and manifolds computed by computeProject() and printed
// as zorva-calc's project output (docs/cli.md): JSON, CSV, or the bill of
// materials as CSV. Valve files the manifolds name are read from `folder`.

#include "cli/projectoutput.h"
#include "core/io/projectfile.h"
#include "core/method/method.h"

#include <optional>

namespace zorva::cli {

// `method`, when given, replaces the project's own method.
ProjectOutput runProjectDocument(const io::ProjectDocument& document, const QString& folder,
                                 ProjectFormat format,
                                 std::optional<method::Method> method = std::nullopt);

} // namespace zorva::cli
