// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A loop's result by a method: the one call the manifold sheet, the curves,
// the design check, the report and zorva-calc make for a loop, whichever
// method the user chose (docs/method.md, "Two methods"). The program's
// method is one whole Calculate run, bit for bit computeLoop's numbers; EN
// 1264-2 is the type A characteristic with its limit curve, the flow by EN
// 1264-3 (with the downward loss when the space below is known) and the
// pressure drop by Darcy–Weisbach with the water's properties at the loop's
// mean temperature. Pure; never throws.

#include "core/engine/en1264.h"
#include "core/engine/manifold.h"
#include "core/hydraulics/pipeflow.h"
#include "core/method/loopsetup.h"
#include "core/method/method.h"

#include <optional>

namespace zorva::method {

enum class LoopProblem {
    None,
    Faulted,             // the program's run stopped at a step without a real value
    NotConverged,        // the program's run did not converge in 500 passes
    MethodNotApplicable, // EN 1264-2 gives no numbers (see `applicability`)
    NoTempDrop,          // EN 1264-2: supply not above return, so no flow
    HeatFromBelow,       // EN 1264-2: q + q_u not above 0
    InvalidLength,       // EN 1264-2: the loop length not a number above 0
    InvalidPipe,         // EN 1264-2: no flow section, or water properties
                         // without a value at the mean temperature
};

// Validity notes of a computed loop (bits), besides EN 1264-2's own flags.
enum LoopNote : unsigned {
    DownwardLossLeftOut = 1u << 0, // nothing known below: q_u and its share of the flow left out
    WaterOutsideRange = 1u << 1,   // the mean water temperature outside 0–100 ℃
    LaminarFlow = 1u << 2,         // Re < 2300: the laminar law
    TransitionFlow = 1u << 3,      // 2300 ≤ Re < 4000: no law is reliable here
};

struct MethodLoopResult {
    Method method = Method::Program;
    const char* methodName = ""; // methodName(method)
    const char* clause = "";     // methodClause(method)
    LoopProblem problem = LoopProblem::Faulted;
    Fault fault = Fault::DivisionByZero;                                 // Faulted only
    En1264Applicability applicability = En1264Applicability::Applicable; // EN only
    unsigned en1264Flags = 0; // En1264Flag bits: tables held, rules extended
    unsigned notes = 0;       // LoopNote bits

    // Meaningful when computed().
    double heatOutput = 0;     // q, W/m²
    double floorTempMean = 0;  // θ_F,m, ℃
    double floorLimit = 0;     // the limit the floor is checked against, ℃
    double limitOutput = 0;    // q at that limit, W/m² (EN: q_G of the limit curve)
    double limitOutputMax = 0; // EN: q_G,max of the basic characteristic; program: limitOutput
    bool withinLimit = false;  // program: θ_F,m ≤ limit; EN: q ≤ q_G and q ≤ q_G,max
    std::optional<double>
        downwardOutput;      // q_u, W/m², EN only and only when the space below is known
    double area = 0;         // m², length × spacing
    double loopOutput = 0;   // q × area, W
    double flowKgh = 0;      // kg/h
    double flowLpm = 0;      // l/min
    double velocity = 0;     // m/s
    double pressureDrop = 0; // kPa

    // The method's own numbers in full.
    std::optional<LoopResult> program;
    std::optional<En1264Result> standard;
    std::optional<hydraulics::PipeFlow> hydraulics; // EN only

    bool computed() const { return problem == LoopProblem::None; }
};

// One loop by `method`; defined in loopfill.cpp beside the steps it shares
// with LoopMethodRunner.
MethodLoopResult loopByMethod(Method method, const LoopSetup& setup);

} // namespace zorva::method
