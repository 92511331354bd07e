// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One design given on the command line by the method and season the user
// chose (--method, --mode): EN 1264-2's heating loop with its limit curve,
// or the cooled floor with its dew point, limits and verdicts, as plain text
// or as one JSON object; and the program's method as JSON.

#include "cli/calcmode.h"
#include "cli/designrun.h"

namespace zorva::cli {

// `notes` are "注：" lines from reading the options. With `json` the text is
// one JSON object (the notes under "inputNotes").
DesignReport runMethodDesign(const FieldRecord& fields, const CheckLimits& limits,
                             const CalcMode& mode, bool json, const QStringList& notes = {});

} // namespace zorva::cli
