// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rooms/roomdesign.h"

#include <algorithm>
#include <cmath>

namespace zorva::rooms {

namespace {

// What the floor can give at a spacing without passing its limit, W/m².
double deliverable(const FloorOutput& out) {
    if (!out.valid || !std::isfinite(out.heatFlux) || !std::isfinite(out.limitFlux))
        return 0;
    return std::max(0.0, std::min(out.heatFlux, out.limitFlux));
}

bool usable(const FloorOutput& out) {
    return out.valid && std::isfinite(out.heatFlux) && std::isfinite(out.limitFlux);
}

} // namespace

SpacingChoice chooseSpacing(const Room& room, const DesignConditions& conditions,
                            const ThermalMethod& thermal) {
    SpacingChoice c;
    if (!thermal) {
        c.fault = RoomFault::NoValidSpacing;
        return c;
    }
    std::vector<double> spacings;
    if (room.overrides.spacing)
        spacings.push_back(*room.overrides.spacing);
    else
        spacings = conditions.spacings;
    std::erase_if(spacings, [](double t) { return !(std::isfinite(t) && t > 0); });
    std::sort(spacings.begin(), spacings.end());
    spacings.erase(std::unique(spacings.begin(), spacings.end()), spacings.end());
    if (spacings.empty()) {
        c.fault = RoomFault::NoSpacing;
        return c;
    }

    if (room.peripheral) {
        const PeripheralZone& zone = *room.peripheral;
        c.peripheralArea = zone.width * zone.length;
        const bool sized = std::isfinite(c.peripheralArea) && zone.width > 0 && zone.length > 0 &&
                           std::isfinite(zone.spacing) && zone.spacing > 0;
        // The zone is part of the heated area; the rest must stay.
        if (!sized || !(c.peripheralArea < room.heatedArea)) {
            c.fault = RoomFault::PeripheralInvalid;
            return c;
        }
        const FloorOutput out = thermal({&room, zone.spacing, true, conditions.supplyTemp});
        if (!usable(out)) {
            c.fault = RoomFault::PeripheralInvalid;
            return c;
        }
        c.peripheralHeat = deliverable(out) * c.peripheralArea;
    }
    const double occupied = room.heatedArea - c.peripheralArea;
    c.requiredFlux = std::max(room.heatLoad - c.peripheralHeat, 0.0) / occupied;

    bool anyValid = false;
    int best = -1;
    for (double spacing : spacings) {
        SpacingTrial trial;
        trial.spacing = spacing;
        trial.output = thermal({&room, spacing, false, conditions.supplyTemp});
        trial.deliverable = deliverable(trial.output);
        // A relative hair, so that a load computed from this very output
        // still counts as met.
        trial.meetsLoad = usable(trial.output) && trial.deliverable >= c.requiredFlux * (1 - 1e-12);
        if (usable(trial.output)) {
            anyValid = true;
            if (best < 0 || trial.deliverable >= c.trials[std::size_t(best)].deliverable)
                best = int(c.trials.size());
        }
        if (trial.meetsLoad)
            c.chosen = int(c.trials.size()); // the widest that meets, as they ascend
        c.trials.push_back(trial);
    }
    if (!anyValid) {
        c.fault = RoomFault::NoValidSpacing;
        return c;
    }
    c.meets = c.chosen >= 0;
    if (!c.meets)
        c.chosen = best; // the most the floor can give; the rest is supplementary
    return c;
}

} // namespace zorva::rooms
