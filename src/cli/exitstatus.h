// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exit statuses of zorva-calc. A Problem that ends a run carries its
// status in Problem::code.

#include "core/io/result.h"

#include <QString>

namespace zorva::cli {

enum ExitStatus {
    AllComputed = 0,     // every design converged
    UsageError = 1,      // the command line is wrong
    InputError = 2,      // input unreadable or invalid (or output not written)
    SomeNotComputed = 3, // some designs faulted or did not converge
    CheckFailed = 4,     // --strict: a design check verdict is 不合格
};

// A problem that ends the run with `status`.
inline Problem stop(ExitStatus status, const QString& message, const QString& reason = {}) {
    return {message, reason, status};
}

// The status a failed (or a successful) outcome ends the run with.
inline int exitStatus(const Result<void>& outcome) {
    return outcome ? AllComputed : outcome.problem().code;
}

} // namespace zorva::cli
