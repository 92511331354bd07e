#pragma once
// One design given on the command line: the whole Calculate run of the main
// window on its texts (the filling-layer clamp included), the seven results
// as the main window shows them, then the design check's verdicts.

#include "cli/exitstatus.h"
#include "core/engine/designcheck.h"
#include "core/engine/inputs.h"

#include <QString>

namespace zorva::cli {

struct DesignReport {
    QString text;    // for standard output: results, then the check
    QString message; // for standard error: a fault or a run that did not converge
    ExitStatus status = AllComputed;
};

DesignReport runDesign(const FieldRecord& fields, const CheckLimits& limits);

} // namespace zorva::cli
