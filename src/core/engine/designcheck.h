// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design rules of the program's guidance, JGJ 142-2012 / GB 50736-2012
// and EN 1264, checked on the numbers of one converged run, and what to change
// when one fails: the output the floor limit allows and the supply
// temperature a heat load needs. docs/checks.md gives every limit with its
// source and the rule by which a verdict and its number agree.

#include "core/engine/en1264.h"
#include "core/engine/evaluation.h"

#include <array>
#include <optional>

namespace zorva {

enum class Verdict { Pass, Fail, High, Low, NotChecked }; // 合格 不合格 偏大 偏小 未校核

// Room categories. The first three are the rows of JGJ 142-2012 表 3.1.3
// (mean floor surface temperature: a recommended range and an upper limit);
// the other three are EN 1264's maximum floor surface temperatures θ_F,max,
// judged by the EN 1264-2 limit curve.
enum class RoomCategory {
    LongStay,    // 人员经常停留 宜 25–27，上限 29
    ShortStay,   // 人员短期停留 宜 28–30，上限 32
    Unoccupied,  // 无人停留 宜 35–40，上限 42
    Residential, // 居住区 θ_F,max 29
    Bathroom,    // 浴室 θ_F,max 33
    Peripheral,  // 边缘区 θ_F,max 35
};
constexpr int kRoomCategoryCount = 6;

// The category's upper limit (℃): the mean floor temperature's for the JGJ
// rows, θ_F,max for the EN ones.
double floorTempLimit(RoomCategory category);
// Whether the floor is judged by the EN 1264-2 limit curve (q ≤ q_G at
// θ_F,max) rather than by its mean temperature.
bool limitCurveCategory(RoomCategory category);

struct TempRange {
    double low = 0;
    double high = 0;
};
// The recommended mean floor temperature of a JGJ row; none for EN rows.
std::optional<TempRange> recommendedFloorTemp(RoomCategory category);
// The recommended supply temperature of hot-water floor heating, ℃.
constexpr TempRange kRecommendedSupplyTemp{35, 45};

struct CheckLimits {
    std::optional<double> loadPerArea; // W/m²; empty: the output is not checked
    RoomCategory category = RoomCategory::LongStay;
    double minVelocity = 0.25;  // m/s
    double maxResistance = 30;  // kPa
    double maxSupplyTemp = 60;  // ℃
    double minTempDiff = 5;     // ℃, below it 偏小
    double maxTempDiff = 10;    // ℃
    double maxLoopLength = 120; // m
    double highMargin = 0.20;   // output above load × (1 + margin) is 偏大
};

enum class Rule { HeatOutput, FloorTemp, Velocity, Resistance, SupplyTemp, TempDiff, LoopLength };
constexpr int kRuleCount = 7;

// How a rule compares its value with its limit.
enum class Comparison {
    AtLeast, // value ≥ limit
    AtMost,  // value ≤ limit
    Within,  // 0 < value ≤ limit; between 0 and the low limit 偏小
};
Comparison ruleComparison(Rule rule);

// Decimals of the result field that shows the rule's value (0.0 for output,
// surface temperature and resistance, 0.00 for velocity); -1 for the rules
// on inputs, whose values read best as general decimal text.
int ruleDecimals(Rule rule);

// Where a value lies against a recommended range: advice, never a failure.
enum class Advice { None, Within, Below, Above };

struct RuleCheck {
    Rule rule = Rule::HeatOutput;
    double value = 0; // the run's unrounded value (the rules on inputs: as shown)
    double limit = 0; // the limit it was compared with
    // The supply–return difference only: below this it is 偏小.
    double lowLimit = 0;
    // The heat output only: above this (load × (1 + margin)) it is 偏大.
    double highLimit = 0;
    // The floor of an EN category: the value is EN 1264-2's heat flux q and
    // the limit min(q_G, q_G,max) at θ_F,max.
    bool limitCurve = false;
    double floorLimit = 0; // ℃: the mean temperature's upper limit, or θ_F,max
    std::optional<TempRange> recommended;
    Verdict verdict = Verdict::NotChecked;
};

// The seven rules in the order of Rule, on a converged evaluation. On a run
// that did not converge only the rules on inputs (supply temperature,
// difference, loop length) are checked; on a faulted run none is. The heat
// output is not checked without a load. For an EN category the floor is
// checked on `en` (the EN 1264-2 result at the category's θ_F,max); without
// it, or where the method does not apply, the floor is not checked.
std::array<RuleCheck, kRuleCount> checkDesign(const Evaluation& run, const CheckLimits& limits,
                                              const En1264Result* en = nullptr);

// The EN 1264-2 floor check on its own, as an EN category checks the floor:
// q against min(q_G, q_G,max) at the result's θ_F,max; 未校核 where the
// method does not apply.
RuleCheck limitCurveCheck(const En1264Result& en);

// The verdict of the check's rule for `value` against the given limits (the
// check's own when not given): how checkDesign judges a converged value.
Verdict judge(const RuleCheck& check, double value);
Verdict judge(const RuleCheck& check, double value, double limit);
Advice adviceFor(const RuleCheck& check, double value);
inline Advice adviceOf(const RuleCheck& check) {
    return adviceFor(check, check.value);
}

// How many decimals show the check's value so that the number shown leads to
// the same verdict and advice as the unrounded one: the result field's
// decimals, or more where the value lies that close to a limit (0.2498 m/s
// against 0.25 shows as "0.2498"). -1: general decimal text. A limit-curve
// limit, itself computed, is shown with the same decimals.
int shownDecimals(const RuleCheck& check);

// The decimals (at least `decimals`) that show `value` on the same side of
// `other` as it lies, or equal to it only when it is: 86.36 beside a load of
// 86.4 shows as "86.36", not "86.4". -1: general decimal text.
int separatingDecimals(double value, double other, int decimals);

// The worse of two verdicts, and the worst of a set: 不合格 over 偏大 and
// 偏小 over 合格 over 未校核 (of equals, the first).
Verdict worseVerdict(Verdict a, Verdict b);
Verdict worstVerdict(const std::array<RuleCheck, kRuleCount>& checks);

// The heat output (W/m²) at which the method's surface temperature
// t = room + 9.82·(q/100)^0.969 reaches `floorLimit`; 0 when the limit is not
// above the room temperature.
double maxOutputForFloorLimit(double roomTemp, double floorLimit);

// The most heat (W/m²) the floor may give in the category: for a JGJ row by
// the mean temperature's upper limit, for an EN category by the EN 1264-2
// limit curve, min(q_G, q_G,max).
struct FloorOutputLimit {
    enum class Basis { MeanTemp, LimitCurve, NotAvailable } basis = Basis::NotAvailable;
    double floorLimit = 0; // ℃
    double output = 0;     // W/m²
};
FloorOutputLimit floorOutputLimit(double roomTemp, RoomCategory category, const En1264Result* en);
// The same for the design of the fields (EN 1264-2 evaluated when needed).
FloorOutputLimit floorOutputLimit(const FieldRecord& fields, RoomCategory category);

// The part of the load (W/m²) that has to come from other heating because
// the floor may give at most `maxOutput`: load − maxOutput, or 0.
double outputShortfall(double loadPerArea, double maxOutput);

struct SupplySearch {
    // NoRange: the supply–return difference is not positive, the load is not
    // a number, or room + difference + 0.1 ℃ is above 95 ℃.
    enum class Result { Found, NotReachable, NoRange } result = Result::NoRange;
    double supplyTemp = 0; // ℃, to 0.1 ℃, when Found
    int probes = 0;        // whole runs made
    double returnTemp = 0; // ℃, supply − difference, when Found
    float heatOutput = 0;  // W/m², of the run at supplyTemp, when Found
    double rangeLow = 0;   // ℃, lowest supply temperature searched
    double rangeHigh = 0;  // ℃, highest
};

// The top of the search.
constexpr double kMaxSearchSupplyTemp = 95;

// The lowest supply temperature, to 0.1 ℃, keeping the supply–return
// difference and every other input, at which the method's output reaches
// `loadPerArea`; searched between room + difference + 0.1 ℃ and 95 ℃. A
// probe that faults or does not converge counts as not reached.
//
// Each probe writes the supply temperature k/10 (whole tenths, as general
// decimal text, the same value a user typing it gets) and the return
// temperature supply − difference into a copy of `fields` and makes one
// evaluateDesign run. The first probes are steered by the output of the
// fields' own run and of the probes before (the load scaled on the water's
// excess over the room, then the line through the last two runs); after a
// few of them, or when a probe leaves no converged run, it is plain
// bisection. Either way the result is a tenth that reaches while the tenth
// below it does not (or is below the range): where the output grows with
// the supply temperature, as it does in this method, the lowest one.
// NotReachable when no probe reached the load.
//
// This form makes the run of `fields` itself first and counts it as a probe.
SupplySearch requiredSupplyTemp(const FieldRecord& fields, double loadPerArea);

// The same with `base` = evaluateDesign(fields) already made. The result does
// not depend on `base` where the output grows with the supply temperature;
// only the number of probes does.
SupplySearch requiredSupplyTemp(const FieldRecord& fields, double loadPerArea,
                                const Evaluation& base);

} // namespace zorva
