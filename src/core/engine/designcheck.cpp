// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/designcheck.h"

#include "core/engine/constants.h"
#include "core/engine/numparse.h"
#include "core/engine/numtext.h"

#include <algorithm>
#include <cmath>

namespace zorva {

double floorTempLimit(RoomCategory category) {
    switch (category) {
    case RoomCategory::LongStay:
        return 29;
    case RoomCategory::ShortStay:
        return 32;
    case RoomCategory::Unoccupied:
        return 42;
    case RoomCategory::Residential:
        return 29;
    case RoomCategory::Bathroom:
        return 33;
    case RoomCategory::Peripheral:
        return 35;
    }
    return 29;
}

bool limitCurveCategory(RoomCategory category) {
    return category == RoomCategory::Residential || category == RoomCategory::Bathroom ||
           category == RoomCategory::Peripheral;
}

std::optional<TempRange> recommendedFloorTemp(RoomCategory category) {
    switch (category) {
    case RoomCategory::LongStay:
        return TempRange{25, 27};
    case RoomCategory::ShortStay:
        return TempRange{28, 30};
    case RoomCategory::Unoccupied:
        return TempRange{35, 40};
    case RoomCategory::Residential:
    case RoomCategory::Bathroom:
    case RoomCategory::Peripheral:
        break;
    }
    return std::nullopt;
}

Comparison ruleComparison(Rule rule) {
    switch (rule) {
    case Rule::HeatOutput:
    case Rule::Velocity:
        return Comparison::AtLeast;
    case Rule::TempDiff:
        return Comparison::Within;
    default:
        return Comparison::AtMost;
    }
}

int ruleDecimals(Rule rule) {
    switch (rule) {
    case Rule::HeatOutput:
    case Rule::FloorTemp:
    case Rule::Resistance:
        return 1;
    case Rule::Velocity:
        return 2;
    default:
        return -1;
    }
}

Verdict judge(const RuleCheck& c, double value, double limit) {
    if (c.rule == Rule::HeatOutput && value > c.highLimit)
        return Verdict::High;
    switch (ruleComparison(c.rule)) {
    case Comparison::AtLeast:
        return value >= limit ? Verdict::Pass : Verdict::Fail;
    case Comparison::AtMost:
        return value <= limit ? Verdict::Pass : Verdict::Fail;
    case Comparison::Within:
        if (!(value > 0) || value > limit)
            return Verdict::Fail;
        return value < c.lowLimit ? Verdict::Low : Verdict::Pass;
    }
    return Verdict::Fail;
}

Verdict judge(const RuleCheck& c, double value) {
    return judge(c, value, c.limit);
}

Advice adviceFor(const RuleCheck& c, double value) {
    if (!c.recommended)
        return Advice::None;
    if (value < c.recommended->low)
        return Advice::Below;
    return value > c.recommended->high ? Advice::Above : Advice::Within;
}

namespace {

bool checksResults(Rule rule) {
    return rule == Rule::HeatOutput || rule == Rule::FloorTemp || rule == Rule::Velocity ||
           rule == Rule::Resistance;
}

// The value as its general decimal text shows it (15 significant digits):
// 40.7 − 30.7 is the 10 the user means, not 10.000000000000004.
double asShown(double value) {
    if (!std::isfinite(value))
        return value;
    return parseLeadingNumber(generalText(value).view());
}

// The value rounded as patternText writes it with `decimals` decimals.
double rounded(double value, int decimals) {
    if (!std::isfinite(value))
        return value;
    return parseLeadingNumber(patternText(value, decimals).view());
}

// The most decimals shownDecimals tries before it falls back to the general
// text, which has 15 significant digits.
constexpr int kMoreDecimals = 8;

} // namespace

std::array<RuleCheck, kRuleCount> checkDesign(const Evaluation& run, const CheckLimits& limits,
                                              const En1264Result* en) {
    const double values[kRuleCount] = {
        run.heatOutput,          run.surfaceTemp,         run.velocity,
        run.resistance,          asShown(run.supplyTemp), asShown(run.supplyTemp - run.returnTemp),
        asShown(run.loopLength),
    };
    const double limitValues[kRuleCount] = {
        limits.loadPerArea.value_or(0),
        floorTempLimit(limits.category),
        limits.minVelocity,
        limits.maxResistance,
        limits.maxSupplyTemp,
        limits.maxTempDiff,
        limits.maxLoopLength,
    };
    const bool inputsRead = run.status != RunStatus::Faulted;
    std::array<RuleCheck, kRuleCount> checks;
    for (int i = 0; i < kRuleCount; ++i) {
        RuleCheck& c = checks[i];
        c.rule = static_cast<Rule>(i);
        c.value = values[i];
        c.limit = limitValues[i];
        switch (c.rule) {
        case Rule::HeatOutput:
            c.highLimit = limits.loadPerArea.value_or(0) * (1 + limits.highMargin);
            break;
        case Rule::FloorTemp:
            c.floorLimit = floorTempLimit(limits.category);
            c.limitCurve = limitCurveCategory(limits.category);
            c.recommended = recommendedFloorTemp(limits.category);
            break;
        case Rule::SupplyTemp:
            c.recommended = kRecommendedSupplyTemp;
            break;
        case Rule::TempDiff:
            c.lowLimit = limits.minTempDiff;
            break;
        default:
            break;
        }
        if (c.limitCurve) {
            // EN 1264-2 by itself: checked whenever the inputs were read.
            if (inputsRead && en != nullptr)
                c = limitCurveCheck(*en);
            c.floorLimit = floorTempLimit(limits.category);
            continue;
        }
        if (!inputsRead || (checksResults(c.rule) && !run.converged()))
            continue;
        if (c.rule == Rule::HeatOutput && !limits.loadPerArea)
            continue;
        c.verdict = judge(c, c.value);
    }
    return checks;
}

RuleCheck limitCurveCheck(const En1264Result& en) {
    RuleCheck c;
    c.rule = Rule::FloorTemp;
    c.limitCurve = true;
    c.floorLimit = en.floorLimit;
    if (!en.applicable())
        return c;
    c.value = en.heatFlux;
    c.limit = std::min(en.limitFlux, en.limitFluxMax);
    c.verdict = judge(c, c.value);
    return c;
}

int shownDecimals(const RuleCheck& c) {
    const int base = ruleDecimals(c.rule);
    if (base < 0 || !std::isfinite(c.value))
        return base;
    const Advice advice = adviceOf(c);
    for (int d = base; d <= base + kMoreDecimals; ++d) {
        const double value = rounded(c.value, d);
        const double limit = c.limitCurve ? rounded(c.limit, d) : c.limit;
        const bool sameVerdict =
            c.verdict == Verdict::NotChecked || judge(c, value, limit) == c.verdict;
        if (sameVerdict && adviceFor(c, value) == advice)
            return d;
    }
    return -1;
}

int separatingDecimals(double value, double other, int decimals) {
    if (!std::isfinite(value) || !std::isfinite(other))
        return decimals;
    const auto side = [](double a, double b) { return (a > b) - (a < b); };
    for (int d = std::max(decimals, 0); d <= decimals + kMoreDecimals; ++d)
        if (side(rounded(value, d), other) == side(value, other))
            return d;
    return -1;
}

Verdict worseVerdict(Verdict a, Verdict b) {
    const auto rank = [](Verdict v) {
        switch (v) {
        case Verdict::Fail:
            return 3;
        case Verdict::High:
        case Verdict::Low:
            return 2;
        case Verdict::Pass:
            return 1;
        case Verdict::NotChecked:
            break;
        }
        return 0;
    };
    return rank(b) > rank(a) ? b : a;
}

Verdict worstVerdict(const std::array<RuleCheck, kRuleCount>& checks) {
    Verdict worst = Verdict::NotChecked;
    for (const RuleCheck& c : checks)
        worst = worseVerdict(worst, c.verdict);
    return worst;
}

double maxOutputForFloorLimit(double roomTemp, double floorLimit) {
    namespace k = constants;
    if (!(floorLimit > roomTemp))
        return 0;
    return k::emissionDivisor *
           std::pow((floorLimit - roomTemp) / k::emissionCoefficient, 1 / k::emissionExponent);
}

FloorOutputLimit floorOutputLimit(double roomTemp, RoomCategory category, const En1264Result* en) {
    FloorOutputLimit limit;
    limit.floorLimit = floorTempLimit(category);
    if (!limitCurveCategory(category)) {
        limit.basis = FloorOutputLimit::Basis::MeanTemp;
        limit.output = maxOutputForFloorLimit(roomTemp, limit.floorLimit);
    } else if (en != nullptr && en->applicable()) {
        limit.basis = FloorOutputLimit::Basis::LimitCurve;
        limit.output = std::min(en->limitFlux, en->limitFluxMax);
    }
    return limit;
}

FloorOutputLimit floorOutputLimit(const FieldRecord& fields, RoomCategory category) {
    const double room = parseLeadingNumber(fields.design[RoomTempField]);
    if (!limitCurveCategory(category))
        return floorOutputLimit(room, category, nullptr);
    const En1264Result en = en1264TypeA(en1264Inputs(fields, floorTempLimit(category)));
    return floorOutputLimit(room, category, &en);
}

double outputShortfall(double loadPerArea, double maxOutput) {
    return loadPerArea > maxOutput ? loadPerArea - maxOutput : 0;
}

namespace {

// Whole runs on a copy of the fields with the supply temperature k/10 and
// the return temperature k/10 − difference.
class SupplyProbe {
public:
    SupplyProbe(const FieldRecord& fields, double difference, double load)
        : copy_(fields), difference_(difference), load_(load) {}

    bool reaches(int tenths) {
        ++probes;
        const double supply = tenths / 10.0;
        copy_.design[SupplyTempField] = generalText(supply).view();
        copy_.design[ReturnTempField] = generalText(supply - difference_).view();
        last = evaluateDesign(copy_);
        return last.converged() && last.heatOutput >= load_;
    }

    int probes = 0;
    Evaluation last; // the run of the last probe

private:
    FieldRecord copy_;
    double difference_;
    double load_;
};

struct Range {
    int low = 0;  // tenths
    int high = 0; // tenths
};

// The search range in tenths, or nothing when there is none.
std::optional<Range> searchRange(double room, double difference) {
    if (!std::isfinite(room) || !std::isfinite(difference) || !(difference > 0))
        return std::nullopt;
    // The lowest whole tenth not below room + difference + 0.1; the small
    // allowance keeps 28.1 from reading as a hair above 281 tenths.
    const double lowest = std::ceil((room + difference + 0.1) * 10 - 1e-6);
    const int high = static_cast<int>(kMaxSearchSupplyTemp * 10);
    if (!(lowest <= high))
        return std::nullopt;
    return Range{static_cast<int>(std::max(lowest, -1e6)), high};
}

// A converged run: its supply temperature (℃), mean water excess over the
// room (℃) and heat output (W/m²).
struct Point {
    double supply = 0;
    double excess = 0;
    double output = 0;
};

std::optional<Point> pointOf(const Evaluation& e) {
    if (!e.converged() || !(e.heatOutput > 0))
        return std::nullopt;
    return Point{e.supplyTemp, (e.supplyTemp + e.returnTemp) / 2 - e.roomTemp, e.heatOutput};
}

// Where the output reaches the load, in tenths of a degree: along the line
// through the last two converged runs, or from one run on the rough law
// q ~ excess^1.2 of this method. Nothing when no estimate is possible.
std::optional<double> estimateTenths(const std::optional<Point>& previous,
                                     const std::optional<Point>& last, double room,
                                     double difference, double load) {
    if (!last || !(load > 0))
        return std::nullopt;
    double supply = 0;
    if (previous && previous->output != last->output && previous->supply != last->supply) {
        const double slope = (last->output - previous->output) / (last->supply - previous->supply);
        supply = last->supply + (load - last->output) / slope;
    } else if (last->excess > 0) {
        const double excess = last->excess * std::pow(load / last->output, 1 / 1.2);
        supply = room + excess + difference / 2;
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(supply) || std::fabs(supply) > 1e6)
        return std::nullopt;
    return supply * 10;
}

// Guided probes before the search falls back to the plain bisection.
constexpr int kGuidedProbes = 4;

SupplySearch search(const FieldRecord& fields, double load, const Evaluation& base) {
    SupplySearch result;
    const double room = parseLeadingNumber(fields.design[RoomTempField]);
    const double difference = parseLeadingNumber(fields.design[SupplyTempField]) -
                              parseLeadingNumber(fields.design[ReturnTempField]);
    const std::optional<Range> range = searchRange(room, difference);
    if (!range || std::isnan(load))
        return result;
    result.rangeLow = range->low / 10.0;
    result.rangeHigh = range->high / 10.0;

    SupplyProbe probe(fields, difference, load);
    // lo: not reached, or just below the range; hi: reached.
    int lo = range->low - 1;
    std::optional<int> hi;
    Evaluation atHigh;
    std::optional<Point> previous;
    std::optional<Point> last = pointOf(base);
    int guided = 0;
    while (!hi || *hi - lo > 1) {
        const int lower = lo + 1;
        const int upper = hi ? *hi - 1 : range->high;
        if (lower > upper)
            break; // nothing left below the top: not reachable
        const std::optional<double> guess =
            guided < kGuidedProbes ? estimateTenths(previous, last, room, difference, load)
                                   : std::nullopt;
        int k = 0;
        if (guess) {
            ++guided;
            k = static_cast<int>(
                std::clamp(std::ceil(*guess - 1e-9), double(lower), double(upper)));
        } else {
            guided = kGuidedProbes;
            k = hi ? lo + (*hi - lo) / 2 : range->high;
        }
        const bool reached = probe.reaches(k);
        if (reached) {
            hi = k;
            atHigh = probe.last;
        } else {
            lo = k;
        }
        // A probe without a converged run leaves nothing to steer by.
        const std::optional<Point> point = pointOf(probe.last);
        previous = point ? last : std::nullopt;
        last = point;
    }
    result.probes = probe.probes;
    if (!hi) {
        result.result = SupplySearch::Result::NotReachable;
        return result;
    }
    result.result = SupplySearch::Result::Found;
    result.supplyTemp = *hi / 10.0;
    result.returnTemp = atHigh.returnTemp;
    result.heatOutput = atHigh.heatOutput;
    return result;
}

} // namespace

SupplySearch requiredSupplyTemp(const FieldRecord& fields, double loadPerArea) {
    const Evaluation base = evaluateDesign(fields);
    SupplySearch result = search(fields, loadPerArea, base);
    ++result.probes;
    return result;
}

SupplySearch requiredSupplyTemp(const FieldRecord& fields, double loadPerArea,
                                const Evaluation& base) {
    return search(fields, loadPerArea, base);
}

} // namespace zorva
