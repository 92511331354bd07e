#pragma once
// The design rules of the program's guidance and of JGJ 142 / EN 1264,
// checked on the numbers of one converged run, and what to change when one
// fails: the output the floor-temperature limit allows and the supply
// temperature a heat load needs.

#include "evaluation.h"

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

struct RuleCheck {
    Rule rule = Rule::HeatOutput;
    double value = 0; // the run's unrounded value
    double limit = 0; // the limit it was compared with
    Verdict verdict = Verdict::NotChecked;
};

// The seven rules in the order of Rule, on a converged evaluation.
std::array<RuleCheck, kRuleCount> checkDesign(const Evaluation& run, const CheckLimits& limits);

// The worst verdict of a set: 不合格 over 偏大 over 合格 over 未校核.
Verdict worstVerdict(const std::array<RuleCheck, kRuleCount>& checks);

// The heat output (W/m²) at which the method's surface temperature
// t = room + 9.82·(q/100)^0.969 reaches `floorLimit`; 0 when the limit is not
// above the room temperature.
double maxOutputForFloorLimit(double roomTemp, double floorLimit);

struct SupplySearch {
    enum class Result { Found, NotReachable, NoRange } result = Result::NoRange;
    double supplyTemp = 0; // ℃, to 0.1 ℃, when Found
    int probes = 0;        // whole runs made
};

// The lowest supply temperature, to 0.1 ℃, keeping the supply–return
// difference and every other input, at which the method's output reaches
// `loadPerArea`; searched by bisection between room + difference + 0.1 ℃ and
// 95 ℃. A probe that faults or does not converge counts as not reached.
SupplySearch requiredSupplyTemp(const FieldRecord& fields, double loadPerArea);

} // namespace zorva
