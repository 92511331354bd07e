// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/commissioning.h"

#include <algorithm>
#include <cmath>

namespace zorva::hydraulics {

std::vector<CommissioningRow> commissioningRows(std::span<const CommissioningLoopInput> loops,
                                                const ManifoldHydraulics& h) {
    std::vector<CommissioningRow> rows;
    rows.reserve(loops.size());
    for (std::size_t i = 0; i < loops.size(); ++i) {
        CommissioningRow r;
        r.name = loops[i].name;
        r.room = loops[i].room;
        r.lengthM = loops[i].lengthM;
        r.returnTemp = loops[i].returnTemp;
        if (i < h.presetting.loops.size() && h.presetting.characteristic.ok() &&
            h.presetting.loops[i].ok()) {
            const LoopPresetting& p = h.presetting.loops[i];
            r.preset = true;
            r.dialSetting = p.dialSetting;
            r.fullyOpen = p.range == SettingRange::FullyOpen;
            r.belowTable = p.range == SettingRange::BelowTable;
        }
        if (i < h.flowMeterLpm.size())
            r.flowMeterLpm = h.flowMeterLpm[i];
        rows.push_back(std::move(r));
    }
    return rows;
}

namespace {

// JGJ 142 (2004 numbering): pressure test before the screed, §5.6; first
// heating, §6.1.
constexpr char kJgjPressureClause[] = "JGJ 142-2004 §5.6";
constexpr char kJgjHeatingClause[] = "JGJ 142-2004 §6.1";
constexpr char kEnClause[] = "EN 1264-4:2009";

// The lowest test pressure both standards accept, MPa (6 bar).
constexpr double kMinTestPressureMPa = 0.6;
constexpr double kMaxWorkingPressureMPa = 0.8;
constexpr double kMaxSupplyTemp = 60;
// JGJ first heating: about 10 ℃ above the surroundings, at most 32 ℃, for
// 48 h, then 3 ℃ more every 24 h.
constexpr double kJgjStartAbove = 10;
constexpr double kJgjStartMax = 32;
constexpr double kJgjRaise = 3;

CommissioningStep step(Standard standard, StepKind kind, const char* clause) {
    CommissioningStep s;
    s.standard = standard;
    s.kind = kind;
    s.clause = clause;
    return s;
}

CommissioningStep heating(Standard standard, StepKind kind, const char* clause, double temp,
                          double hours) {
    CommissioningStep s = step(standard, kind, clause);
    s.supplyTemp = temp;
    s.supplyTempLow = temp;
    s.holdHours = hours;
    return s;
}

void jgjSteps(const CommissioningInput& in, std::vector<CommissioningStep>& out) {
    CommissioningStep test = step(Standard::Jgj142, StepKind::PressureTest, kJgjPressureClause);
    test.pressureMPa = std::max(1.5 * in.workingPressureMPa, kMinTestPressureMPa);
    test.holdHours = 1;
    test.maxDropMPa = 0.05;
    out.push_back(test);

    const double design = in.designSupplyTemp;
    const double start = std::min({in.surroundingTemp + kJgjStartAbove, kJgjStartMax, design});
    const bool startIsDesign = start >= design;
    out.push_back(heating(Standard::Jgj142,
                          startIsDesign ? StepKind::HeatingDesign : StepKind::HeatingStart,
                          kJgjHeatingClause, start, 48));
    // (design − start)/3 steps at most, with design ≤ 60 ℃ and the
    // surroundings checked: a bounded count.
    double temp = start;
    for (int i = 0; temp < design && i < 64; ++i) {
        temp = std::min(temp + kJgjRaise, design);
        out.push_back(heating(Standard::Jgj142,
                              temp >= design ? StepKind::HeatingDesign : StepKind::HeatingRaise,
                              kJgjHeatingClause, temp, 24));
    }
    out.push_back(step(Standard::Jgj142, StepKind::Record, kJgjPressureClause));
}

void enSteps(const CommissioningInput& in, std::vector<CommissioningStep>& out) {
    CommissioningStep test = step(Standard::En1264Part4, StepKind::PressureTest, kEnClause);
    test.pressureMPa = std::max(2 * in.workingPressureMPa, kMinTestPressureMPa);
    out.push_back(test);
    out.push_back(step(Standard::En1264Part4, StepKind::ScreedUnderPressure, kEnClause));

    CommissioningStep wait = step(Standard::En1264Part4, StepKind::WaitBeforeHeating, kEnClause);
    wait.days = in.screed == ScreedKind::Cement ? 21 : 7;
    wait.dependsOnMaker = in.screed == ScreedKind::CalciumSulphate;
    out.push_back(wait);

    CommissioningStep start =
        heating(Standard::En1264Part4, StepKind::HeatingStart, kEnClause, 25, 72);
    start.supplyTempLow = 20;
    out.push_back(start);
    out.push_back(heating(Standard::En1264Part4, StepKind::HeatingDesign, kEnClause,
                          in.designSupplyTemp, 96));
    out.push_back(step(Standard::En1264Part4, StepKind::Record, kEnClause));
}

} // namespace

CommissioningPlan commissioningPlan(const CommissioningInput& in) {
    CommissioningPlan plan;
    if (!std::isfinite(in.workingPressureMPa) || !std::isfinite(in.designSupplyTemp) ||
        !std::isfinite(in.surroundingTemp)) {
        plan.fault = CommissioningFault::NotFinite;
        return plan;
    }
    if (!(in.workingPressureMPa > 0)) {
        plan.fault = CommissioningFault::PressureNotPositive;
        return plan;
    }
    // The supply must lie above the surroundings and not above 60 ℃
    // (JGJ 142-2004 §3.1.1).
    if (!(in.designSupplyTemp > in.surroundingTemp) || in.designSupplyTemp > kMaxSupplyTemp ||
        in.surroundingTemp < -50) {
        plan.fault = CommissioningFault::SupplyOutside;
        return plan;
    }
    plan.workingPressureHigh = in.workingPressureMPa > kMaxWorkingPressureMPa;
    jgjSteps(in, plan.steps);
    enSteps(in, plan.steps);
    return plan;
}

} // namespace zorva::hydraulics
