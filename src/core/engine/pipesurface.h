// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/engine/workingvars.h"

namespace zorva {

// Temperature of the pipe's outer surface (℃) when the floor gives off the
// trial output q (W/m²): the mean water temperature less the drop across
// the water-side film and the drop across the pipe wall. Reads the working
// variables, changes none (docs/method.md, "Pipe surface temperature").
float pipeSurfaceTemp(const WorkingVars& vars, float q);

// The same function for the many calls of one run. The terms that depend
// only on the pipe and the loop (not on q) are computed, in their place in
// the sequence of steps, by the first call and reused by the later ones, so
// every call gives exactly what pipeSurfaceTemp gives.
class PipeSurface {
public:
    explicit PipeSurface(const WorkingVars& vars) : v_(vars) {}
    float operator()(float q);

private:
    const WorkingVars& v_;
    bool ready_ = false;
    double area_ = 0;           // loopLength × pipeSpacing, m²
    double tempDrop_ = 0;       // supplyTemp − returnTemp, ℃
    double flowSection_ = 0;    // (π/4) × innerDiam², m²
    double innerPerimeter_ = 0; // innerDiam × π, m
    double wallLog_ = 0;        // ln(outerDiam / innerDiam)
    double wallConduct_ = 0;    // lambdaPipe × 2π
};

} // namespace zorva
