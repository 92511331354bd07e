// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One design given on the command line: the whole Calculate run of the main
// window on its texts (the filling-layer clamp included), the seven results
// as the main window shows them, then the design check's verdicts, what to
// change, and the EN 1264-2 cross-check, as the design check window shows
// them.

#include "cli/exitstatus.h"
#include "core/engine/designcheck.h"
#include "core/engine/inputs.h"

#include <QString>
#include <QStringList>

namespace zorva::cli {

struct DesignReport {
    QString text;    // for standard output: notes, results, check, advice
    QString message; // for standard error: a fault or a run that did not converge
    ExitStatus status = AllComputed;
    Verdict overall = Verdict::NotChecked; // the worst verdict of the check
};

// `notes` are "注：" lines to print first (from reading the options).
DesignReport runDesign(const FieldRecord& fields, const CheckLimits& limits,
                       const QStringList& notes = {});

} // namespace zorva::cli
