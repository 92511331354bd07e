// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The circulating pump's duty point for one manifold (docs/hydraulics.md
// §4): the total flow and the head that the index branch, the manifold body,
// the connection pipes and, where it lies in the pump's circuit, the mixing
// valve need; and with a pump curve of a few points, where that curve meets
// the system curve and whether the pump suffices.

#include <cstddef>
#include <span>

namespace zorva::hydraulics {

// The manifold's bars with their flow meters and ball valves. The numbers
// are illustrative; a product's data sheet replaces them.
struct ManifoldBody {
    double kv = 5.0;                 // m³/h of the whole body
    double barInnerDiameter = 0.025; // m
    double barVelocityLimit = 0.8;   // m/s, JGJ 142-2004 §3.6.1
};

struct PumpDutyInput {
    double branchPressureKpa = 0; // Δp_branch: index loop with its valve fully open
    double totalFlowKgh = 0;      // ṁ_s, all loops
    double supplyDensity = 0;     // ρ at the supply temperature, kg/m³
    ManifoldBody body;
    // Pipes between the heat source or mixing station and the manifold, at
    // the total flow. Typed by the user until their friction is computed
    // from length and size, kPa.
    double connectionPressureDropKpa = 0;
    // The mixing valve's drop when the valve lies in the pump's circuit,
    // else 0, kPa.
    double mixingValveDropKpa = 0;
};

enum class DutyFault {
    None,
    NotFinite,
    FlowNotPositive,
    DensityNotPositive,
    NegativeDrop,
    BodyInvalid,
    NoBranch,         // no loop could be balanced, so there is no branch pressure
    ConnectionInvalid // the connection pipes cannot be computed (size, flow)
};

struct PumpDuty {
    const char* method = "docs/hydraulics.md §4: index branch + body + connection + mixing "
                         "valve; bar velocity by JGJ 142-2004 §3.6.1";
    DutyFault fault = DutyFault::None;
    double flowM3h = 0;      // V̇_s at the supply density
    double flowLh = 0;       // the same in l/h
    double bodyDropKpa = 0;  // Δp_body = (V̇_s/kv_body)²·1 bar
    double barVelocity = 0;  // m/s in the bar at the total flow
    bool barTooFast = false; // above the body's velocity limit
    double headKpa = 0;      // Δp_pump
    double headM = 0;        // H = Δp_pump/(ρ·g), m of water
    bool ok() const { return fault == DutyFault::None; }
};

// Δp_pump = Δp_branch + Δp_body + Δp_conn + Δp_v; no margin is added.
PumpDuty pumpDuty(const PumpDutyInput& in);

// Head in kPa of a head in metres of water at a density, and back, with
// standard gravity 9.80665 m/s².
double headKpaFromMetres(double metres, double density);
double headMetresFromKpa(double kpa, double density);

// One point of a pump's curve (at the speed or setting the user chose).
struct PumpCurvePoint {
    double flowM3h = 0;
    double headKpa = 0;
};

constexpr std::size_t kMaxPumpCurvePoints = 100;

enum class PumpCurveFault {
    None,
    TooFewPoints,     // fewer than 2
    TooManyPoints,    // more than kMaxPumpCurvePoints
    NotFinite,        // point index
    NegativeValue,    // point index
    FlowNotIncreasing // point index (the later of the two)
};

enum class OperatingFound {
    Inside,      // the curves meet between the curve's points
    BeyondCurve, // no crossing, the pump still above the system at its last point
    BelowCurve,  // no crossing, the pump below the system at its last point
    NoDuty       // no curve to check (fault) or no duty to meet
};

struct OperatingPoint {
    const char* method = "docs/hydraulics.md §4: pump curve against the system parabola";
    PumpCurveFault fault = PumpCurveFault::None;
    std::size_t point = 0; // 0-based, for the point faults
    OperatingFound found = OperatingFound::NoDuty;
    double flowM3h = 0; // where the curves meet, when Inside
    double headKpa = 0;
    bool moreCrossings = false; // the curves meet more than once: the lowest flow is given
    bool dutyOnCurve = false;   // the duty flow lies between the curve's first and last flow
    double headAtDutyKpa = 0;   // the pump's head at the duty flow, when dutyOnCurve
    // The pump's curve reaches the duty point: its head at the duty flow is
    // at least the duty head.
    bool suffices = false;
};

// The system curve is Δp = Δp_duty·(V̇/V̇_duty)², through the origin and the
// duty point; the pump curve is straight between its points.
OperatingPoint operatingPoint(std::span<const PumpCurvePoint> curve, double dutyFlowM3h,
                              double dutyHeadKpa);

} // namespace zorva::hydraulics
