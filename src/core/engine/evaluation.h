// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One whole Calculate run on a copy of the field texts, for the tools that
// explore a design (checks, searches, curves, the manifold sheet): the run
// never touches the windows, and its outcome and numbers come back as plain
// values. A run that faults or does not converge is reported, not thrown.

#include "core/engine/calculate.h"
#include "core/engine/checked.h"
#include "core/engine/inputs.h"
#include "core/engine/workingvars.h"

namespace zorva {

enum class RunStatus { Converged, NotConverged, Faulted };

struct Evaluation {
    RunStatus status = RunStatus::Faulted;
    Fault fault = Fault::DivisionByZero; // meaningful when Faulted
    int passes = 0;

    // The run's inputs as the method read them (after the filling-layer
    // clamp), in the units the user types: ℃, mm, m.
    double roomTemp = 0;
    double supplyTemp = 0;
    double returnTemp = 0;
    double spacingMm = 0;
    double diameterMm = 0;
    double loopLength = 0;
    double area = 0; // loopLength × spacing, m²

    // Results, unrounded (meaningful when Converged).
    float heatOutput = 0;   // W/m²
    double surfaceTemp = 0; // ℃
    float resistance = 0;   // kPa
    double convective = 0;  // W/m²
    double radiant = 0;     // W/m²
    double waterFlow = 0;   // kg/h
    double velocity = 0;    // m/s

    bool converged() const { return status == RunStatus::Converged; }
};

// The numbers a converged or unconverged run left in its working variables.
Evaluation evaluationOf(const WorkingVars& vars, const RunReport& report);

// The Calculate run of the main window (settings read, filling-layer clamp,
// settings read again, iteration) on a copy of `fields`. Allocation-free for
// field texts of up to 15 characters.
Evaluation evaluateDesign(const FieldRecord& fields);

// The seven result texts of a converged whole run, as the main window writes
// them (resultTexts of calculate.h on the run's working variables).
ResultTexts resultTexts(const Evaluation& run);

} // namespace zorva
