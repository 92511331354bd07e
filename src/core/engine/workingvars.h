// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's numeric state of the heat calculation. The values keep
// what the last run left in them until the next run overwrites them.

#include <array>

namespace zorva {

constexpr int kPassLimit = 500;

struct WorkingVars {
    // Floor construction, copied by readSettings.
    double lambdaSurface = 0; // W/(m·℃), floor surface layer
    double lambdaLevel = 0;   // W/(m·℃), levelling layer
    double lambdaFill = 0;    // W/(m·℃), filling layer holding the pipe
    float lambdaPipe = 0;     // W/(m·℃), plastic pipe wall
    double thickSurface = 0;  // mm
    double thickLevel = 0;    // mm
    double thickFill = 0;     // mm
    float thickPipeWall = 0;  // mm

    // Design parameters and derived quantities, set by every run.
    double roomTemp = 0;     // ℃
    double supplyTemp = 0;   // ℃
    double returnTemp = 0;   // ℃
    float meanWaterTemp = 0; // ℃
    double elbowCount = 0;
    double loopLength = 0;  // m
    double outerDiam = 0;   // m
    float wallThick = 0;    // m
    double innerDiam = 0;   // m
    double pipeSpacing = 0; // m
    double equivDepth = 0;  // m

    // Results.
    float shapeFactor = 0;
    float heatOutput = 0;   // W/m²
    double surfaceTemp = 0; // ℃
    double heatStep = 0;    // W/m²
    std::array<float, kPassLimit + 1> residuals{};
    double waterFlow = 0; // kg/h
    double velocity = 0;  // m/s
    float resistance = 0; // kPa
};

} // namespace zorva
