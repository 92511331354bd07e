// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loops of one manifold: common supply temperature, floor construction
// and pipe, and per loop its room, spacing, length and load. Every loop is
// one whole Calculate run of the method on its own field texts; balancing
// and the totals work on the loop results. All functions are pure, so a
// caller may compute the loops of a range on as many threads as it likes.

#include "core/engine/evaluation.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace zorva {

// What the loops of one manifold share.
struct ManifoldInput {
    double supplyTemp = 45; // ℃
    double tempDiff = 10;   // supply − return, ℃
    // The construction window's eight values: thicknesses (mm) of the
    // surface layer, levelling layer, filling layer and pipe wall, and the
    // conductivities (W/(m·℃)) of surface, levelling, filling and pipe.
    std::array<double, 4> thickness{20, 20, 50, 2};
    std::array<double, 4> conductivity{2.91, 1.84, 1.28, 0.41};
    double pipeDiameter = 20; // outside, mm
    double elbows = 2;        // per loop
    double allowance = 0;     // manifold and connections, kPa, added to the pump head
};

// Whether two manifolds hold the same values (== on every number).
bool sameManifold(const ManifoldInput& a, const ManifoldInput& b);

// One loop's own inputs.
struct LoopInput {
    std::string name;                  // UTF-8
    double roomTemp = 18;              // ℃
    double spacingMm = 200;            // mm
    double lengthM = 100;              // m
    std::optional<double> loadW;       // heat load, W
    std::optional<double> ownTempDiff; // ℃; empty: the manifold's difference
};

// The supply–return difference a loop is computed with.
double loopTempDiff(const ManifoldInput& manifold, const LoopInput& loop);

// The field texts of the loop's whole run: numbers as general decimal text,
// the return temperature as supply − difference and the burial depth as the
// sum of the three layers above the pipe's bottom.
FieldRecord loopFields(const ManifoldInput& manifold, const LoopInput& loop, double supplyTemp,
                       double tempDiff);

// The manifold inputs and the loop of one design as the main and construction
// windows hold it (field texts read with the leading-number parse; the depth
// field is not read, the sheet takes the layer sum). The allowance stays 0.
ManifoldInput manifoldFromFields(const FieldRecord& fields);
LoopInput loopFromFields(const FieldRecord& fields);

struct LoopResult {
    Evaluation run;      // the whole run: status, fault and unrounded numbers
    double tempDiff = 0; // the difference used, ℃

    // Meaningful when run.converged().
    double area = 0;       // m², length × spacing as the method uses it
    double heatOutput = 0; // W/m²
    double floorTemp = 0;  // mean floor surface temperature, ℃
    double loopOutput = 0; // W, heat output × area
    double flowKgh = 0;    // kg/h
    double flowLpm = 0;    // l/min
    double velocity = 0;   // m/s
    double resistance = 0; // kPa

    // Balancing, set by balance(); empty for a loop without a result.
    bool indexLoop = false;         // the loop with the largest resistance
    std::optional<double> valveKpa; // pressure its valve must add, kPa
    std::optional<double> meterLpm; // flow-meter setting, l/min

    bool converged() const { return run.converged(); }
};

// One whole run of the method for the loop at the manifold's supply
// temperature. Never throws: a fault or a run that does not converge is in
// result.run.status.
LoopResult computeLoop(const ManifoldInput& manifold, const LoopInput& loop);

// computeLoop for loops one after another, most of them of the same
// manifold: the manifold's field texts are made once and kept while the
// manifold stays the same (bit for bit), so only the loop's own texts are
// made per run. The results are computeLoop's. One per thread.
class LoopRunner {
public:
    LoopResult compute(const ManifoldInput& manifold, const LoopInput& loop);

private:
    bool ready_ = false;
    ManifoldInput manifold_;
    FieldRecord fields_;
};

// computeLoop for every loop, on the calling thread; out.size() must equal
// loops.size().
void computeLoops(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                  std::span<LoopResult> out);

// litres per minute of a mass flow in kg/h
double litresPerMinute(double flowKgh);
// metres of water column of a pressure in kPa
double metresOfWater(double kPa);

// Marks the index loop (largest resistance among the converged loops, the
// first of equals) and sets every converged loop's valve pressure (largest −
// own) and flow-meter setting; clears them on the others. Returns the index
// loop's position, empty when no loop has a result.
std::optional<std::size_t> balance(std::span<LoopResult> results);

struct ManifoldTotals {
    std::size_t loops = 0;    // all loops
    std::size_t computed = 0; // loops with a result
    double area = 0;          // m², over computed loops
    double output = 0;        // W
    double flowKgh = 0;       // kg/h
    double flowLpm = 0;       // l/min
    std::optional<std::size_t> indexLoop;
    double maxResistance = 0; // kPa, of the index loop
    double pumpHeadKpa = 0;   // largest resistance + allowance
    double pumpHeadM = 0;     // the same in metres of water
};

ManifoldTotals manifoldTotals(const ManifoldInput& manifold, std::span<const LoopResult> results);

} // namespace zorva
