#pragma once
// The design rules of the program's guidance and of JGJ 142 / EN 1264,
// checked on the numbers of one converged run, and what to change when one
// fails: the output the floor-temperature limit allows and the supply
// temperature a heat load needs.

#include "core/engine/evaluation.h"

#include <array>
#include <optional>

namespace zorva {

enum class Verdict { Pass, Fail, High, NotChecked }; // 合格 不合格 偏大 未校核

// Room categories and their mean floor temperature limits (℃).
enum class RoomCategory {
    LongStay,    // 人员长期停留 28 (JGJ 142)
    ShortStay,   // 人员短期停留 32 (JGJ 142)
    Unoccupied,  // 无人停留 42 (JGJ 142)
    Residential, // 居住区 29 (EN 1264)
    Bathroom,    // 浴室 33 (EN 1264)
    Peripheral,  // 边缘区 35 (EN 1264)
};
constexpr int kRoomCategoryCount = 6;
double floorTempLimit(RoomCategory category);

struct CheckLimits {
    std::optional<double> loadPerArea; // W/m²; empty: the output is not checked
    RoomCategory category = RoomCategory::LongStay;
    double minVelocity = 0.25;  // m/s
    double maxResistance = 30;  // kPa
    double maxSupplyTemp = 60;  // ℃
    double maxTempDiff = 10;    // ℃, and more than 0
    double maxLoopLength = 120; // m
    double highMargin = 0.20;   // output above load × (1 + margin) is 偏大
};

enum class Rule { HeatOutput, FloorTemp, Velocity, Resistance, SupplyTemp, TempDiff, LoopLength };
constexpr int kRuleCount = 7;

// How a rule compares its value with its limit.
enum class Comparison {
    AtLeast,         // value ≥ limit
    AtMost,          // value ≤ limit
    AboveZeroAtMost, // 0 < value ≤ limit
};
Comparison ruleComparison(Rule rule);

// Decimals of the result field that shows the rule's value (0.0 for output,
// surface temperature and resistance, 0.00 for velocity); -1 for the rules
// on inputs, whose values read best as general decimal text.
int ruleDecimals(Rule rule);

struct RuleCheck {
    Rule rule = Rule::HeatOutput;
    double value = 0; // the run's unrounded value
    double limit = 0; // the limit it was compared with
    // The heat output only: above this (load × (1 + margin)) it is 偏大.
    double highLimit = 0;
    Verdict verdict = Verdict::NotChecked;
};

// The seven rules in the order of Rule, on a converged evaluation. On a run
// that did not converge only the rules on inputs (supply temperature,
// difference, loop length) are checked; on a faulted run none is. The heat
// output is not checked without a load.
std::array<RuleCheck, kRuleCount> checkDesign(const Evaluation& run, const CheckLimits& limits);

// The worst verdict of a set: 不合格 over 偏大 over 合格 over 未校核.
Verdict worstVerdict(const std::array<RuleCheck, kRuleCount>& checks);

// The heat output (W/m²) at which the method's surface temperature
// t = room + 9.82·(q/100)^0.969 reaches `floorLimit`; 0 when the limit is not
// above the room temperature.
double maxOutputForFloorLimit(double roomTemp, double floorLimit);

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
