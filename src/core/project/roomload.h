// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A room's heat load in a project (docs/project.md, "Heat loads"): typed,
// or computed from its envelope by the project's method with the outdoor
// design temperature of the project's place.

#include "core/heatload/citytable.h"
#include "core/project/projectresult.h"

#include <optional>

namespace zorva::project {

// The outdoor design temperature and winter sunshine of the project's
// place: the typed values win over the station's; the station is looked up
// in `cities` (no table: none found).
struct ClimateValues {
    LoadProblem problem = LoadProblem::None; // NoOutdoorTemp or UnknownStation
    std::optional<double> outdoorTemp;
    std::optional<double> winterSunshine;
};
ClimateValues climateValues(const Climate& climate, const heatload::CityTable* cities);

RoomLoad roomLoad(const Project& project, const Room& room, const ClimateValues& climate);

} // namespace zorva::project
