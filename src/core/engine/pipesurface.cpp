// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/pipesurface.h"

#include "core/engine/checked.h"
#include "core/engine/constants.h"

namespace zorva {

using namespace checked;
namespace k = constants;

float PipeSurface::operator()(float q) {
    // Heat of the whole loop, W, and the water flow that carries it, kg/h.
    if (!ready_)
        area_ = mul(v_.loopLength, v_.pipeSpacing);
    const double loopHeat = mul(area_, q);
    if (!ready_)
        tempDrop_ = sub(v_.supplyTemp, v_.returnTemp);
    const double flow = mul(div(div(loopHeat, k::specificHeat), tempDrop_), k::flowConversion);
    // Water velocity, m/s, and the water-side heat transfer coefficient.
    if (!ready_)
        flowSection_ = mul(k::pi / 4, square(v_.innerDiam));
    const double velocity = div(div(div(flow, k::secondsPerHour), k::waterDensity), flowSection_);
    const double alpha = mul(power(velocity, k::filmExponent), k::filmCoefficient);
    // Heat per metre of pipe, W/m.
    const double perMetre = div(loopHeat, v_.loopLength);
    // Drop across the water film, then across the pipe wall.
    if (!ready_)
        innerPerimeter_ = mul(v_.innerDiam, k::pi);
    const double filmDrop = div(div(perMetre, innerPerimeter_), alpha);
    const double innerWall = sub(v_.meanWaterTemp, filmDrop);
    if (!ready_) {
        wallLog_ = log(div(v_.outerDiam, v_.innerDiam));
        wallConduct_ = mul(v_.lambdaPipe, k::twoPi);
    }
    const double wallDrop = div(mul(wallLog_, perMetre), wallConduct_);
    const float result = toFloat(sub(innerWall, wallDrop));
    ready_ = true;
    return result;
}

float pipeSurfaceTemp(const WorkingVars& vars, float q) {
    return PipeSurface(vars)(q);
}

} // namespace zorva
