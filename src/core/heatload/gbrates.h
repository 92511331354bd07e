// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rates and factors of the GB method as small functions of their
// inputs: orientation ranges, height, outer-door and partial-heating rates,
// the air density and the handbook defaults a room editor offers
// (docs/heat-load.md §2).

#include "core/heatload/envelope.h"

#include <span>

namespace zorva::heatload {

struct RateRange {
    double low = 0;
    double high = 0;
    double preset = 0; // the end that gives the larger load
};

// Orientation rate of a vertical outer element, GB 50736-2012 §5.2.6 with
// its note 2 for a winter sunshine percentage below 35 % (§2.2).
RateRange orientationRange(Orientation facing, std::optional<double> winterSunshine);

// Height rate β_h = min(rate·(h − 4), cap), GB 50736-2012 §5.2.7: 1 %/m
// capped at 8 % for floor heating, 2 %/m capped at 15 % for radiators; 0
// for stairwells and rooms up to 4 m (§2.2).
double heightRate(double height, HeatingSystem system, bool stairwell);

// Outer-door rate on the door's basic loss, GB 50736-2012 §5.2.6: 65 %·n,
// 80 %·n, 60 %·n or 500 % for the main entrance of a public building (§2.2).
double doorRate(DoorEntrance entrance, int storeys);

// Factor on the whole-room radiant load for heating part of the floor,
// JGJ 142 §3.3 (Table 3.3.3 products, interpolated; ≥ 0.75 → 1, ≤ 0.20 →
// 0.30) (§2.6).
double partialHeatingFactor(double heatedShare);

// Air density at the outdoor design temperature, 353/(273 + t), kg/m³ (§2.4).
double airDensity(double outdoorTemp);

// A labelled default a room editor offers in a drop-down; labels are UTF-8.
struct Preset {
    const char* label;
    double value;
};

// The temperature-difference corrections α of the handbook table (§2.1).
std::span<const Preset> alphaPresets();
// Indoor design temperatures of dwelling rooms, GB 50096-2011 Table 8.3.6
// and our defaults (§2.7).
std::span<const Preset> indoorTempPresets();
// Air changes for infiltration by the air-change method, h⁻¹ (§2.4).
std::span<const Preset> airChangePresets();

} // namespace zorva::heatload
