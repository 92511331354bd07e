// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commissioning sheet's data (docs/hydraulics.md §6): per loop what the
// installer dials and reads, and the pressure test and first-heating steps
// of JGJ 142 and EN 1264-4, each with its clause, as numbers for the report
// to print with blanks for the measured values.

#include "core/hydraulics/manifoldduty.h"

#include <span>
#include <string>
#include <vector>

namespace zorva::hydraulics {

struct CommissioningLoopInput {
    std::string name;      // UTF-8
    std::string room;      // UTF-8
    double lengthM = 0;    // pipe length of the loop, m
    double returnTemp = 0; // expected return temperature θ_R,j, ℃
};

struct CommissioningRow {
    std::string name;
    std::string room;
    double lengthM = 0;
    bool preset = false;     // false: the loop could not be balanced, no setting
    double dialSetting = 0;  // the setting to dial
    bool fullyOpen = false;  // the index loop and its equals
    bool belowTable = false; // the valve cannot throttle to the target
    double flowMeterLpm = 0; // target on the flow meter, l/min
    double returnTemp = 0;   // expected, ℃
};

// One row per loop; loops.size() must equal the loops of `h`.
std::vector<CommissioningRow> commissioningRows(std::span<const CommissioningLoopInput> loops,
                                                const ManifoldHydraulics& h);

enum class Standard { Jgj142, En1264Part4 };

enum class StepKind {
    PressureTest,        // test pressure, hold time, allowed drop
    ScreedUnderPressure, // EN: the pipes stay under pressure while the screed is laid
    WaitBeforeHeating,   // days after laying the screed
    HeatingStart,        // start temperature held for a time
    HeatingRaise,        // raise to a temperature, held for a time
    HeatingDesign,       // the design supply temperature held for a time
    Record               // what the record holds
};

enum class ScreedKind { Cement, CalciumSulphate };

struct CommissioningStep {
    Standard standard = Standard::Jgj142;
    StepKind kind = StepKind::PressureTest;
    std::string clause; // e.g. "JGJ 142-2004 §5.6"
    // The clause number is that of the edition named; whether the current
    // edition keeps it was not checked: the report says so.
    bool clauseChecked = false;
    double pressureMPa = 0;      // PressureTest, ScreedUnderPressure
    double holdHours = 0;        // PressureTest: hold time; heating: time at the temperature
    double maxDropMPa = 0;       // PressureTest, JGJ
    double supplyTemp = 0;       // heating steps, ℃ (upper value of a range)
    double supplyTempLow = 0;    // heating steps with a range, ℃; else = supplyTemp
    double days = 0;             // WaitBeforeHeating
    bool dependsOnMaker = false; // WaitBeforeHeating: or as the screed's maker says
};

struct CommissioningInput {
    // The system's working pressure, MPa; JGJ 142 allows at most 0.8.
    double workingPressureMPa = 0.4;
    double designSupplyTemp = 0; // θ_V, ℃
    double surroundingTemp = 5;  // air at the site during first heating, ℃
    ScreedKind screed = ScreedKind::Cement;
};

enum class CommissioningFault { None, NotFinite, PressureNotPositive, SupplyOutside };

struct CommissioningPlan {
    const char* method = "docs/hydraulics.md §6: JGJ 142-2004 §5.6, §6.1; EN 1264-4:2009";
    CommissioningFault fault = CommissioningFault::None;
    bool workingPressureHigh = false;     // above 0.8 MPa
    std::vector<CommissioningStep> steps; // JGJ first, then EN, each in order
    bool ok() const { return fault == CommissioningFault::None; }
};

// The design supply must lie above the surroundings and not above 60 ℃.
CommissioningPlan commissioningPlan(const CommissioningInput& in);

} // namespace zorva::hydraulics
