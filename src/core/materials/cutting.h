// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cutting plan for one kind of pipe (docs/materials.md §2): every loop is
// one whole piece cut from one roll, never joined, and the pieces cut from
// a roll never add up to more than the roll. Among the roll lengths the
// user stocks the plan chooses rolls and assigns loops to them so that
// little is left over, by best-fit decreasing packing with each stocked
// length as the length new rolls are opened with, then every roll shrunk to
// the shortest stocked length that still holds its pieces; the best of
// these plans is kept. Lengths are counted in whole millimetres (a loop
// rounded up, a roll down), so the plan's sums are exact.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zorva::materials {

// The longest roll or loop accepted, m: beyond it the input is an error.
constexpr double kMaxCutLengthM = 100000;
constexpr std::size_t kMaxRollKinds = 32;

struct RollCut {
    std::int64_t rollMm = 0;        // the roll's length
    std::vector<std::size_t> loops; // indices into the loop lengths, longest first
    std::int64_t usedMm = 0;        // the pieces' sum
    std::int64_t offcutMm() const { return rollMm - usedMm; }
};

enum class CuttingFault {
    None,
    NoRolls,         // no roll length given
    TooManyRolls,    // more than kMaxRollKinds lengths
    RollInvalid,     // a roll length not a number, not positive or too long
    LoopInvalid,     // a loop length not a number, not positive or too long
    AllowanceInvalid // the allowance not a number, negative or too long
};

struct RollCount {
    double lengthM = 0;
    std::size_t count = 0;
};

struct CuttingPlan {
    const char* method = "docs/materials.md §2: best-fit decreasing over the stocked rolls";
    CuttingFault fault = CuttingFault::None;
    std::size_t faultIndex = 0; // the roll or loop at fault
    std::vector<RollCut> rolls; // longest roll first
    // Loops longer than the longest roll: they cannot be cut whole from any
    // stocked roll and are not in the plan.
    std::vector<std::size_t> unplaced;
    std::vector<RollCount> rollCounts; // per stocked length that is used, longest first
    double piecesM = 0;                // the planned loops' lengths with allowances, m
    double purchasedM = 0;             // the rolls' lengths, m
    double offcutM = 0;                // purchasedM − piecesM
    // The least length any plan could buy: the pieces' sum rounded up to a
    // multiple of the greatest common divisor of the roll lengths (with one
    // roll length, ⌈total/roll⌉ rolls), m.
    double lowerBoundM = 0;
    double ratio = 0; // purchasedM/lowerBoundM; 0 with nothing planned
    bool ok() const { return fault == CuttingFault::None; }
};

// `allowanceM` is added to every loop for its connections before cutting.
CuttingPlan planCuts(std::span<const double> loopLengthsM, std::span<const double> rollLengthsM,
                     double allowanceM = 0);

} // namespace zorva::materials
