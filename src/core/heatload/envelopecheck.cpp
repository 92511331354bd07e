// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/envelopecheck.h"

#include <cmath>

namespace zorva::heatload {

namespace {

bool finite(double v) {
    return std::isfinite(v);
}
bool finite(const std::optional<double>& v) {
    return !v || std::isfinite(*v);
}

bool usesTemperatureForm(Boundary b) {
    return b == Boundary::KnownTemperature || b == Boundary::HeatedNeighbour;
}

void checkElement(std::vector<Issue>& issues, const EnvelopeElement& e, int index, Method method) {
    const auto add = [&](Fault f) { issues.push_back({index, f}); };
    if (!finite(e.area) || !finite(e.u) || !finite(e.alpha) || !finite(e.fx) ||
        !finite(e.adjacentTemp) || !finite(e.orientationRate) || !finite(e.otherRate)) {
        add(Fault::NotFinite);
        return;
    }
    if (e.heatedFloor)
        return; // not part of the room's load, whatever it holds
    if (e.area < 0)
        add(Fault::AreaNegative);
    if (!(e.u > 0))
        add(Fault::UNotPositive);
    if (method == Method::Gb50736) {
        if (!usesTemperatureForm(e.boundary) && !(e.alpha >= 0 && e.alpha <= 1))
            add(Fault::AlphaOutsideRange);
        if (e.otherRate < 0)
            add(Fault::RateNegative);
    } else if (e.fx && *e.fx < 0) {
        add(Fault::FxNegative);
    }
}

} // namespace

double roomVolume(const RoomEnvelope& room) {
    return room.volume ? *room.volume : room.floorArea * room.height;
}

double roomAirFlow(const RoomEnvelope& room) {
    return room.airFlow ? *room.airFlow : room.airChanges * roomVolume(room);
}

void refuseOverflow(HeatLoadResult& result) {
    if (std::isfinite(result.heatLoad) && std::isfinite(result.loadForLoops) &&
        std::isfinite(result.convectiveLoad) && std::isfinite(result.perArea))
        return;
    HeatLoadResult refused;
    refused.method = result.method;
    refused.clauses = std::move(result.clauses);
    refused.outdoorTemp = result.outdoorTemp;
    refused.faults.push_back({-1, Fault::NotFinite});
    result = std::move(refused);
}

std::vector<Issue> checkRoom(const RoomEnvelope& room, Method method, double outdoorTemp) {
    std::vector<Issue> issues;
    const auto add = [&](Fault f) { issues.push_back({-1, f}); };
    if (!finite(room.indoorTemp) || !finite(outdoorTemp) || !finite(room.floorArea) ||
        !finite(room.height) || !finite(room.volume) || !finite(room.airChanges) ||
        !finite(room.airFlow) || !finite(room.heatedShare) || !finite(room.heatingUpFlux)) {
        add(Fault::NotFinite);
        return issues;
    }
    if (!(outdoorTemp > -273.15))
        add(Fault::OutdoorImpossible);
    if (!(room.indoorTemp > outdoorTemp))
        add(Fault::IndoorNotAboveOutdoor);
    if (!(room.floorArea > 0))
        add(Fault::FloorAreaNotPositive);
    if (room.airChanges < 0)
        add(Fault::AirChangesNegative);
    if (room.airFlow && *room.airFlow < 0)
        add(Fault::AirFlowNegative);
    if (room.volume && *room.volume < 0)
        add(Fault::VolumeNegative);
    // The height matters for the volume only when the air flow comes from
    // air changes; a negative height is refused anyway.
    const bool volumeNeeded = !room.volume && !room.airFlow && room.airChanges > 0;
    if (room.height < 0 || (volumeNeeded && !(room.height > 0)))
        add(Fault::HeightNotPositive);
    if (room.heatedShare && !(*room.heatedShare > 0 && *room.heatedShare <= 1))
        add(Fault::ShareOutsideRange);
    if (method == Method::En12831 && room.heatingUpFlux < 0)
        add(Fault::HeatingUpNegative);
    for (std::size_t i = 0; i < room.elements.size(); ++i)
        checkElement(issues, room.elements[i], int(i), method);
    return issues;
}

std::vector<Issue> checkOptions(const RoomEnvelope& room, const Gb50736Options& options) {
    std::vector<Issue> issues;
    const auto add = [&](Fault f) { issues.push_back({-1, f}); };
    if (!finite(options.windRate) || !finite(options.intermittentRate) ||
        !finite(options.allowanceShare) || !finite(options.interDwellingDelta) ||
        !finite(options.interDwellingCap) || !finite(options.winterSunshine)) {
        add(Fault::NotFinite);
        return issues;
    }
    if (options.windRate < 0 || options.intermittentRate < 0 || options.interDwellingDelta < 0 ||
        options.interDwellingCap < 0)
        add(Fault::RateNegative);
    if (options.allowance == FloorAllowance::ShareOfLoad &&
        !(options.allowanceShare > 0 && options.allowanceShare <= 1))
        add(Fault::ShareOutsideRange);
    for (std::size_t i = 0; i < room.elements.size(); ++i) {
        const EnvelopeElement& e = room.elements[i];
        const bool perStorey = e.entrance == DoorEntrance::OneDoor ||
                               e.entrance == DoorEntrance::TwoDoors ||
                               e.entrance == DoorEntrance::ThreeDoors;
        if (e.kind == ElementKind::Door && e.boundary == Boundary::Outdoors && perStorey &&
            options.storeys < 1 && !e.heatedFloor)
            issues.push_back({int(i), Fault::StoreysNotPositive});
    }
    return issues;
}

std::vector<Issue> checkOptions(const En12831Options& options) {
    if (!finite(options.thermalBridgeAddition))
        return {{-1, Fault::NotFinite}};
    if (options.thermalBridgeAddition < 0)
        return {{-1, Fault::ThermalBridgeNegative}};
    return {};
}

} // namespace zorva::heatload
