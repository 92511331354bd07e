// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/gb50736.h"

#include "core/heatload/envelopecheck.h"
#include "core/heatload/gbrates.h"

#include <algorithm>
#include <cmath>

namespace zorva::heatload {

namespace {

// §5.2.5: a partition to a heated neighbour counts from this difference on,
// or when its flow passes this share of the room's load.
constexpr double kNeighbourDifference = 5.0;
constexpr double kNeighbourShare = 0.10;
constexpr double kAirHeat = 1.0; // c_p, kJ/(kg·K)
constexpr double kPerKjh = 0.28; // W per kJ/h as GB 50019 prints it

bool vertical(ElementKind kind) {
    return kind == ElementKind::OuterWall || kind == ElementKind::Window ||
           kind == ElementKind::Door;
}

// The terms of the room at one indoor temperature.
struct Terms {
    std::vector<ElementLoad> rows;
    std::vector<Notice> notices;
    double basic = 0;        // Σ Q_j of the counted elements
    double transmission = 0; // Q_T
    double infiltration = 0;
};

ElementLoad rowOf(const EnvelopeElement& e) {
    ElementLoad row;
    row.name = e.name;
    row.kind = e.kind;
    row.area = e.area;
    row.u = e.u;
    return row;
}

Terms termsAt(const RoomEnvelope& room, const Gb50736Options& options, double indoor,
              double heightAdd) {
    Terms t;
    const double outdoor = options.outdoorTemp;
    const double delta = std::max(indoor - outdoor, 0.0);
    double envelope = 0; // Σ Q_e before the intermittent rate
    std::vector<std::size_t> neighbours;
    for (std::size_t i = 0; i < room.elements.size(); ++i) {
        const EnvelopeElement& e = room.elements[i];
        ElementLoad row = rowOf(e);
        if (e.heatedFloor) {
            row.counted = false;
            t.rows.push_back(row);
            continue;
        }
        if (e.boundary == Boundary::HeatedNeighbour) {
            neighbours.push_back(i);
            t.rows.push_back(row); // filled in below, once the base load is known
            continue;
        }
        if (e.boundary == Boundary::KnownTemperature) {
            row.deltaT = indoor - e.adjacentTemp;
            if (row.deltaT < 0) {
                t.notices.push_back({int(i), Warning::NeighbourWarmer});
                row.deltaT = 0;
            }
        } else {
            row.factor = e.alpha;
            row.deltaT = delta;
        }
        row.basic = row.factor * e.u * e.area * row.deltaT;
        if (e.boundary == Boundary::Outdoors && vertical(e.kind)) {
            const RateRange range = orientationRange(e.orientation, options.winterSunshine);
            if (e.orientationRate) {
                row.orientationRate = *e.orientationRate;
                // A hair of tolerance so that a typed −0.15 is inside −0.15.
                if (row.orientationRate < range.low - 1e-9 ||
                    row.orientationRate > range.high + 1e-9)
                    t.notices.push_back({int(i), Warning::OrientationRateOutsideRange});
            } else {
                row.orientationRate = range.preset;
                if (e.orientation == Orientation::None)
                    t.notices.push_back({int(i), Warning::OrientationMissing});
            }
            row.windRate = options.windRate;
            if (e.kind == ElementKind::Door)
                row.doorRate = doorRate(e.entrance, options.storeys);
        }
        row.otherRate = e.otherRate;
        row.heightRate = heightAdd;
        row.total = row.basic *
                    (1 + row.orientationRate + row.windRate + row.doorRate + row.otherRate) *
                    (1 + row.heightRate);
        t.basic += row.basic;
        envelope += row.total;
        t.rows.push_back(row);
    }

    t.infiltration = kPerKjh * kAirHeat * airDensity(outdoor) * roomAirFlow(room) * delta;
    const double base = envelope * (1 + options.intermittentRate) + t.infiltration;
    for (std::size_t i : neighbours) {
        const EnvelopeElement& e = room.elements[i];
        ElementLoad& row = t.rows[i];
        row.deltaT = indoor - e.adjacentTemp;
        if (row.deltaT < 0) {
            t.notices.push_back({int(i), Warning::NeighbourWarmer});
            row.deltaT = 0;
        }
        const double flow = e.u * e.area * row.deltaT;
        // The 5 K test compares the rooms' design temperatures, whatever
        // temperature the terms are computed at.
        row.counted = room.indoorTemp - e.adjacentTemp >= kNeighbourDifference ||
                      flow > kNeighbourShare * base;
        if (!row.counted)
            continue;
        row.basic = flow;
        row.otherRate = e.otherRate;
        row.heightRate = heightAdd;
        row.total = row.basic * (1 + row.otherRate) * (1 + row.heightRate);
        t.basic += row.basic;
        envelope += row.total;
    }
    t.transmission = envelope * (1 + options.intermittentRate);
    return t;
}

std::string clausesOf(FloorAllowance allowance, bool partial) {
    std::string text = "GB 50736-2012 §5.2.4–5.2.8；冷风渗透 GB 50019-2015 附录 F.0.1";
    if (allowance == FloorAllowance::LowerIndoorTemp)
        text += "；JGJ 142-2012 §3.3（室内计算温度降低 2 ℃）";
    else if (allowance == FloorAllowance::ShareOfLoad)
        text += "；JGJ 142-2012 §3.3（取对流供暖负荷的比例）";
    if (partial)
        text += "；局部辐射供暖 JGJ 142-2012 §3.3";
    return text;
}

} // namespace

HeatLoadResult computeGb50736(const RoomEnvelope& room, const Gb50736Options& options) {
    HeatLoadResult r;
    r.method = Method::Gb50736;
    r.allowance = options.allowance;
    r.outdoorTemp = options.outdoorTemp;
    r.faults = checkRoom(room, Method::Gb50736, options.outdoorTemp);
    for (const Issue& issue : checkOptions(room, options))
        r.faults.push_back(issue);
    const bool floorHeating = options.allowance != FloorAllowance::None;
    const bool partial = floorHeating && room.heatedShare && *room.heatedShare < 0.75;
    r.clauses = clausesOf(options.allowance, partial);
    if (!r.faults.empty())
        return r;

    if (options.windRate != 0 && (options.windRate < 0.05 - 1e-9 || options.windRate > 0.10 + 1e-9))
        r.warnings.push_back({-1, Warning::WindRateOutsideRange});
    if (options.allowance == FloorAllowance::ShareOfLoad &&
        (options.allowanceShare < 0.90 - 1e-9 || options.allowanceShare > 0.95 + 1e-9))
        r.warnings.push_back({-1, Warning::ShareOutsideRange});
    if (options.outdoorTemp < -50 || options.outdoorTemp > 25)
        r.warnings.push_back({-1, Warning::OutdoorOutsideTable});

    r.heightRate = heightRate(room.height, room.system, room.stairwell);
    r.airDensity = airDensity(options.outdoorTemp);
    r.airFlow = roomAirFlow(room);

    const Terms convective = termsAt(room, options, room.indoorTemp, r.heightRate);
    r.convectiveLoad = convective.transmission + convective.infiltration;

    // Option A recomputes every term, the partitions at t_c included.
    const bool lower = options.allowance == FloorAllowance::LowerIndoorTemp;
    r.indoorTemp = lower ? room.indoorTemp - 2 : room.indoorTemp;
    r.deltaT = std::max(r.indoorTemp - options.outdoorTemp, 0.0);
    Terms design = lower ? termsAt(room, options, r.indoorTemp, r.heightRate) : convective;
    r.elements = std::move(design.rows);
    r.warnings.insert(r.warnings.end(), design.notices.begin(), design.notices.end());

    double scale = 1;
    if (options.allowance == FloorAllowance::ShareOfLoad) {
        r.allowanceShare = options.allowanceShare;
        scale *= options.allowanceShare;
    }
    if (floorHeating && room.heatedShare) {
        r.partialFactor = partialHeatingFactor(*room.heatedShare);
        scale *= r.partialFactor;
    }
    r.transmission = design.basic * scale;
    r.additions = (design.transmission - design.basic) * scale;
    r.infiltration = design.infiltration * scale;
    r.heatLoad = r.transmission + r.additions + r.infiltration;
    r.perArea = r.heatLoad / room.floorArea;

    if (options.interDwelling) {
        double allowance = 0;
        for (const EnvelopeElement& e : room.elements)
            if (e.otherDwelling && !e.heatedFloor)
                allowance += e.u * e.area * options.interDwellingDelta;
        const double cap = options.interDwellingCap * r.heatLoad;
        if (allowance > cap) {
            allowance = cap;
            r.warnings.push_back({-1, Warning::InterDwellingCapped});
        }
        r.interDwelling = allowance;
    }
    r.loadForLoops = r.heatLoad + r.interDwelling;
    refuseOverflow(r);
    return r;
}

} // namespace zorva::heatload
