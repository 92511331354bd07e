// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/en12831.h"

#include "core/heatload/envelopecheck.h"

#include <algorithm>

namespace zorva::heatload {

namespace {

constexpr double kAirHeatCapacity = 0.34; // ρ·c_p, Wh/(m³·K)

} // namespace

double defaultFx(const EnvelopeElement& element, double indoorTemp, double outdoorTemp) {
    switch (element.boundary) {
    case Boundary::Outdoors:
        return 1.0;
    case Boundary::UnheatedSpace:
        return 0.5;
    case Boundary::Ground:
        return 0.3;
    case Boundary::KnownTemperature:
    case Boundary::HeatedNeighbour:
        return (indoorTemp - element.adjacentTemp) / (indoorTemp - outdoorTemp);
    }
    return 1.0;
}

HeatLoadResult computeEn12831(const RoomEnvelope& room, const En12831Options& options) {
    HeatLoadResult r;
    r.method = Method::En12831;
    r.clauses = "EN 12831-1:2017 简化房间法（式 39、50–53，附录 B 表 B.1、B.11、B.12）";
    r.outdoorTemp = options.outdoorTemp;
    r.faults = checkRoom(room, Method::En12831, options.outdoorTemp);
    for (const Issue& issue : checkOptions(options))
        r.faults.push_back(issue);
    if (!r.faults.empty())
        return r;
    if (options.outdoorTemp < -50 || options.outdoorTemp > 25)
        r.warnings.push_back({-1, Warning::OutdoorOutsideTable});

    r.indoorTemp = room.indoorTemp;
    r.deltaT = room.indoorTemp - options.outdoorTemp;
    for (std::size_t i = 0; i < room.elements.size(); ++i) {
        const EnvelopeElement& e = room.elements[i];
        ElementLoad row;
        row.name = e.name;
        row.kind = e.kind;
        row.area = e.area;
        if (e.heatedFloor) {
            row.u = e.u;
            row.counted = false;
            r.elements.push_back(row);
            continue;
        }
        row.u = e.u + options.thermalBridgeAddition;
        row.factor = e.fx ? *e.fx : defaultFx(e, room.indoorTemp, options.outdoorTemp);
        if (row.factor < 0) {
            // A warmer neighbour: no gain is counted.
            r.warnings.push_back({int(i), Warning::NeighbourWarmer});
            row.factor = 0;
        }
        row.deltaT = r.deltaT;
        row.conductance = e.area * row.u * row.factor;
        row.basic = row.conductance * r.deltaT;
        row.total = row.basic;
        r.transmissionConductance += row.conductance;
        r.transmission += row.basic;
        r.elements.push_back(row);
    }
    r.airFlow = roomAirFlow(room);
    r.ventilationConductance = kAirHeatCapacity * r.airFlow;
    r.infiltration = r.ventilationConductance * r.deltaT;
    r.additions = room.floorArea * room.heatingUpFlux;
    r.heatLoad = r.transmission + r.additions + r.infiltration;
    r.perArea = r.heatLoad / room.floorArea;
    r.convectiveLoad = r.heatLoad;
    r.loadForLoops = r.heatLoad;
    refuseOverflow(r);
    return r;
}

} // namespace zorva::heatload
