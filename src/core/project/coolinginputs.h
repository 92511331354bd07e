// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a project needs to cool with its heating loops (docs/project.md,
// "Cooling"): the season it is designed for and the dew-point margin in the
// settings, the cooling water of each manifold, and the cooling design state
// and sensible load of each room. The loops themselves are the heating ones:
// cooling runs chilled water through the pipes the heating design lays.

#include "core/cooling/limits.h"

#include <optional>
#include <string>

namespace zorva::project {

// Which seasons the project is designed for.
enum class Season {
    Heating, // 供暖: the heating results only (a project of before)
    Cooling, // 供冷: the loops as laid, computed with chilled water
    Both,    // 供暖和供冷: both, side by side
};

bool coolsIn(Season season);          // Cooling or Both
bool heatsIn(Season season);          // Heating or Both
const char* seasonKey(Season season); // "heating", "cooling", "both"
bool seasonFromKey(const std::string& key, Season& out);
const char* seasonName(Season season); // 供暖, 供冷, 供暖和供冷

struct CoolingSettings {
    Season season = Season::Heating;
    // Δθ_s, K, at least 1 (JGJ 142-2012 §3.1).
    double dewMargin = cooling::kDefaultDewMargin;
    std::string extraKeys; // the file's keys this version does not know (JSON object text)
};

// The chilled water of a manifold; the supply is the colder one.
struct ManifoldCooling {
    double supplyTemp = 18; // θ_V, ℃
    double returnTemp = 21; // θ_R, ℃
    std::string extraKeys;
};

// A room's cooling design state (GB 50736-2012 §3.0.2) and load.
struct RoomCooling {
    double roomTemp = cooling::kDefaultRoomTemp; // θ_i, ℃
    double humidity = cooling::kDefaultHumidity; // φ, a fraction (0.5 for 50 %)
    // Sensible cooling load Q_s, W; empty: capacity only, no load check.
    std::optional<double> sensibleLoad = std::nullopt;
    cooling::Occupancy occupancy = cooling::Occupancy::Standing; // the comfort limit
    std::string extraKeys;
};

bool isDefault(const CoolingSettings& s);
bool isDefault(const ManifoldCooling& m);
bool isDefault(const RoomCooling& r);

const char* occupancyKey(cooling::Occupancy occupancy); // "standing", "seated", "transit"
bool occupancyFromKey(const std::string& key, cooling::Occupancy& out);
const char* occupancyName(cooling::Occupancy occupancy); // 站立或行走, 以坐姿为主, 门厅走廊

} // namespace zorva::project
