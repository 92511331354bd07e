// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The season the design check works in and the design data of a cooled
// floor: the room's cooling design state, the chilled water, the dew-point
// margin, who uses the floor and the room's sensible load per m² of loop
// area (docs/cooling.md, "Inputs the cooling mode adds").

#include "core/cooling/dewpoint.h"
#include "core/cooling/limits.h"

#include <optional>

class QSettings;

namespace zorva::models {

enum class Season { Heating, Cooling }; // 供暖 / 供冷

struct CoolingSettings {
    double roomTemp = cooling::kDefaultRoomTemp;   // θ_i, ℃
    double humidity = cooling::kDefaultHumidity;   // φ, a fraction
    double supplyTemp = 0;                         // θ_V, ℃ (defaults(): the design water)
    double returnTemp = 0;                         // θ_R, ℃
    double dewMargin = cooling::kDefaultDewMargin; // Δθ_s, K
    cooling::Occupancy occupancy = cooling::Occupancy::Standing;
    std::optional<double> loadPerArea; // sensible load, W/m²; empty: not checked

    // 26 ℃, 50 %, a 2 K margin and the design water the dew point allows
    // at a rise of 3 K (16.8/19.8 ℃), never a supply below θ_d + Δθ_s.
    static CoolingSettings defaults();
};

// The settings as stored under "cooling/" (defaults for what is missing or
// out of range), and back.
CoolingSettings loadCoolingSettings(QSettings& settings);
void saveCoolingSettings(QSettings& settings, const CoolingSettings& cooling);
Season loadSeason(QSettings& settings);
void saveSeason(QSettings& settings, Season season);

} // namespace zorva::models
