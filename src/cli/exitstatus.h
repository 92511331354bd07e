#pragma once
// The exit statuses of zorva-calc.

#include <QString>

namespace zorva::cli {

enum ExitStatus {
    AllComputed = 0,     // every design converged
    UsageError = 1,      // the command line is wrong
    InputError = 2,      // input unreadable or invalid (or output not written)
    SomeNotComputed = 3, // some designs faulted or did not converge
};

// What went wrong and the status it ends the program with.
struct Problem {
    ExitStatus status = AllComputed;
    QString message; // Chinese; empty when nothing went wrong
    explicit operator bool() const { return status != AllComputed; }
};

} // namespace zorva::cli
