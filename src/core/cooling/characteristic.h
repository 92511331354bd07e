// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cooling characteristic K_C of a type A floor: the EN 1264-2 heating
// characteristic computed twice for the same construction, once with a bare
// floor (R_λ,B = 0) and once with R_λ,B* = 0.15 m²·K/W, and converted to
// cooling by ISO 11855-2 A.33 with the extra surface resistance ΔR_α of a
// cooled floor (A.35). docs/cooling.md, "Cooling characteristic".

#include "core/cooling/limits.h"
#include "core/engine/en1264.h"

#include <array>
#include <cstddef>

namespace zorva::cooling {

struct Characteristic {
    // The reason of the heating runs when they give no numbers; Applicable
    // otherwise.
    En1264Applicability heating = En1264Applicability::InvalidConstruction;
    // En1264Flag bits of the two heating runs that concern the
    // characteristic (spacing, diameter, thin screed).
    unsigned heatingFlags = 0;

    double coveringResistance = 0; // R_λ,B of the real covering, m²·K/W
    double bareHeating = 0;        // K_H,0, W/(m²·K)
    double coveredHeating = 0;     // K_H,0.15, W/(m²·K)
    double coveringRatio = 0;      // x = (ΔR_α + R_λ,B)/0.15
    double cooling = 0;            // K_C, W/(m²·K)
    // x > 1: the real covering lies beyond the second run and K_C is
    // extrapolated (part of the method, shown as a note).
    bool extrapolated = false;

    bool applicable() const { return heating == En1264Applicability::Applicable; }
};

// K_C for the construction of `construction` (T, D, s_R, λ_R, s_u, λ_E,
// R_λ,B; its temperatures, floor limit and space below are not read). Both
// heating runs take the thick-screed and wide-spacing rules exactly as the
// heating method does for this construction.
Characteristic coolingCharacteristic(const En1264Inputs& construction);

// The conversion alone: K_C = K_H,0 / (1 + x·(K_H,0/K_H,0.15 − 1)) with
// x = (extraResistance + coveringResistance)/0.15. With extraResistance = 0
// it returns K_H,0 at R_λ,B = 0 and K_H,0.15 at R_λ,B = 0.15.
double convertToCooling(double bareHeating, double coveredHeating, double coveringResistance,
                        double extraResistance = kExtraSurfaceResistance);

// The characteristics of the last few constructions met, so that the loops
// of a project, which share a handful of constructions, run the two heating
// runs once per construction. One cache per caller (and thread); it holds no
// state beyond its entries, and a hit gives exactly what a fresh
// coolingCharacteristic gives.
class CharacteristicCache {
public:
    // The reference holds until the next call of get.
    const Characteristic& get(const En1264Inputs& construction);

private:
    struct Entry {
        std::array<double, 7> key{};
        Characteristic value;
    };
    static constexpr std::size_t kSize = 8;
    std::array<Entry, kSize> entries_{};
    std::size_t used_ = 0;
    std::size_t next_ = 0; // the entry replaced next, oldest first
};

} // namespace zorva::cooling
