// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/pump.h"

#include "core/hydraulics/valve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorva::hydraulics {

namespace {

// Standard gravity, m/s².
constexpr double kGravity = 9.80665;

} // namespace

PumpDuty pumpDuty(const PumpDutyInput& in) {
    PumpDuty d;
    for (const double v :
         {in.branchPressureKpa, in.totalFlowKgh, in.supplyDensity, in.connectionPressureDropKpa,
          in.mixingValveDropKpa, in.body.kv, in.body.barInnerDiameter, in.body.barVelocityLimit}) {
        if (!std::isfinite(v)) {
            d.fault = DutyFault::NotFinite;
            return d;
        }
    }
    if (!(in.totalFlowKgh > 0))
        d.fault = DutyFault::FlowNotPositive;
    else if (!(in.supplyDensity > 0))
        d.fault = DutyFault::DensityNotPositive;
    else if (in.branchPressureKpa < 0 || in.connectionPressureDropKpa < 0 ||
             in.mixingValveDropKpa < 0)
        d.fault = DutyFault::NegativeDrop;
    else if (!(in.body.kv > 0) || !(in.body.barInnerDiameter > 0))
        d.fault = DutyFault::BodyInvalid;
    if (!d.ok())
        return d;
    d.flowM3h = volumeFlowM3h(in.totalFlowKgh, in.supplyDensity);
    d.flowLh = d.flowM3h * 1000;
    d.bodyDropKpa = valveDropKpa(d.flowM3h, in.body.kv);
    const double barArea =
        std::numbers::pi * in.body.barInnerDiameter * in.body.barInnerDiameter / 4;
    d.barVelocity = d.flowM3h / 3600 / barArea;
    d.barTooFast = d.barVelocity > in.body.barVelocityLimit;
    d.headKpa =
        in.branchPressureKpa + d.bodyDropKpa + in.connectionPressureDropKpa + in.mixingValveDropKpa;
    d.headM = headMetresFromKpa(d.headKpa, in.supplyDensity);
    return d;
}

double headKpaFromMetres(double metres, double density) {
    return metres * density * kGravity / 1000;
}

double headMetresFromKpa(double kpa, double density) {
    return kpa * 1000 / (density * kGravity);
}

namespace {

OperatingPoint curveFault(PumpCurveFault fault, std::size_t point = 0) {
    OperatingPoint op;
    op.fault = fault;
    op.point = point;
    return op;
}

// The larger root of k·V² − s·V − c = 0 (the pump line h0 + s·(V − V0)
// with c = h0 − s·V0 meets the parabola k·V²), written so that neither
// branch subtracts nearly equal numbers.
double largerRoot(double k, double s, double c) {
    const double root = std::sqrt(std::max(0.0, s * s + 4 * k * c));
    return s >= 0 ? (s + root) / (2 * k) : -2 * c / (s - root);
}

} // namespace

OperatingPoint operatingPoint(std::span<const PumpCurvePoint> curve, double dutyFlowM3h,
                              double dutyHeadKpa) {
    if (curve.size() < 2)
        return curveFault(PumpCurveFault::TooFewPoints);
    if (curve.size() > kMaxPumpCurvePoints)
        return curveFault(PumpCurveFault::TooManyPoints);
    for (std::size_t i = 0; i < curve.size(); ++i) {
        if (!std::isfinite(curve[i].flowM3h) || !std::isfinite(curve[i].headKpa))
            return curveFault(PumpCurveFault::NotFinite, i);
        if (curve[i].flowM3h < 0 || curve[i].headKpa < 0)
            return curveFault(PumpCurveFault::NegativeValue, i);
        if (i > 0 && !(curve[i].flowM3h > curve[i - 1].flowM3h))
            return curveFault(PumpCurveFault::FlowNotIncreasing, i);
    }
    OperatingPoint op;
    if (!std::isfinite(dutyFlowM3h) || !std::isfinite(dutyHeadKpa) || !(dutyFlowM3h > 0) ||
        dutyHeadKpa < 0)
        return op;

    const double front = curve.front().flowM3h;
    const double back = curve.back().flowM3h;
    op.dutyOnCurve = dutyFlowM3h >= front && dutyFlowM3h <= back;
    if (op.dutyOnCurve) {
        std::size_t i = 0;
        while (i + 2 < curve.size() && dutyFlowM3h > curve[i + 1].flowM3h)
            ++i;
        const PumpCurvePoint& a = curve[i];
        const PumpCurvePoint& b = curve[i + 1];
        const double share = (dutyFlowM3h - a.flowM3h) / (b.flowM3h - a.flowM3h);
        op.headAtDutyKpa = a.headKpa + share * (b.headKpa - a.headKpa);
        op.suffices = op.headAtDutyKpa >= dutyHeadKpa;
    }

    // g(V) = pump − system; the operating point is where g goes from ≥ 0 to < 0.
    const double k = dutyHeadKpa / (dutyFlowM3h * dutyFlowM3h);
    const auto g = [&](const PumpCurvePoint& p) { return p.headKpa - k * p.flowM3h * p.flowM3h; };
    bool found = false;
    for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
        const PumpCurvePoint& a = curve[i];
        const PumpCurvePoint& b = curve[i + 1];
        if (!(g(a) >= 0 && g(b) < 0))
            continue;
        if (found) {
            op.moreCrossings = true;
            break;
        }
        found = true;
        const double slope = (b.headKpa - a.headKpa) / (b.flowM3h - a.flowM3h);
        // g(b) < 0 with a head ≥ 0 means k > 0.
        const double flow = largerRoot(k, slope, a.headKpa - slope * a.flowM3h);
        op.flowM3h = std::clamp(flow, a.flowM3h, b.flowM3h);
        op.headKpa = a.headKpa + slope * (op.flowM3h - a.flowM3h);
        op.found = OperatingFound::Inside;
    }
    if (!found)
        op.found = g(curve.back()) >= 0 ? OperatingFound::BeyondCurve : OperatingFound::BelowCurve;
    return op;
}

} // namespace zorva::hydraulics
