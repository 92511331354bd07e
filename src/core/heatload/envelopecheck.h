// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The checks both methods run before they compute: numbers that are not
// finite, temperatures in the wrong order, negative areas, conductances and
// rates (docs/heat-load.md §5.1). A refused input yields no numbers, never a
// negative load.

#include "core/heatload/loadresult.h"

namespace zorva::heatload {

std::vector<Issue> checkRoom(const RoomEnvelope& room, Method method, double outdoorTemp);
std::vector<Issue> checkOptions(const RoomEnvelope& room, const Gb50736Options& options);
std::vector<Issue> checkOptions(const En12831Options& options);

// Numbers too large for a double (areas of 1e300 m²) end as a fault, not as
// an infinite load: the result keeps its fault and no numbers.
void refuseOverflow(HeatLoadResult& result);

// The room's volume for the air change: typed, or floor area × height.
double roomVolume(const RoomEnvelope& room);

// The air flow, m³/h: typed, or air changes × volume.
double roomAirFlow(const RoomEnvelope& room);

} // namespace zorva::heatload
