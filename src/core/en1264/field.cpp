// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/en1264/field.h"

#include <algorithm>
#include <cmath>

namespace zorva::en1264 {

namespace {

constexpr double kWidestTableSpacing = 0.375;
constexpr int kMaxIntervals = 1000;

FieldGrid heldGrid(FieldGrid g) {
    g.intervals = std::clamp(g.intervals, 1, kMaxIntervals);
    if (!std::isfinite(g.maxExcess) || !(g.maxExcess > 0))
        g.maxExcess = FieldGrid{}.maxExcess;
    return g;
}

double gridExcess(const FieldGrid& g, int i) {
    return i == g.intervals ? g.maxExcess : g.maxExcess * i / g.intervals;
}

// The family's values, with the design's own appended when it is new.
template <std::size_t N>
std::vector<double> familyWith(const std::array<double, N>& family, double own) {
    std::vector<double> values(family.begin(), family.end());
    if (std::isfinite(own) && std::find(values.begin(), values.end(), own) == values.end())
        values.push_back(own);
    return values;
}

FieldLine lineOf(const Floor& floor, double roomTemp, double floorLimit, const FieldGrid& grid,
                 bool current, En1264Result* full = nullptr) {
    FieldLine line;
    line.spacing = floor.spacing;
    line.coveringResistance = floor.coveringResistance;
    line.current = current;
    const En1264Result r = floorCharacteristic(floor, roomTemp, floorLimit);
    if (full)
        *full = r;
    line.applicability = r.applicability;
    if (!r.applicable())
        return line;
    line.flags = r.flags;
    line.characteristic = r.characteristic;
    line.limitExcess = r.limitExcess;
    line.limitFlux = r.limitFlux;
    line.points.reserve(std::size_t(grid.intervals) + 1);
    for (int i = 0; i <= grid.intervals; ++i) {
        const double x = gridExcess(grid, i);
        line.points.push_back({x, r.characteristic * x});
    }
    return line;
}

LimitCurve limitCurveOf(const FieldLine& line, const En1264Result& r, const FieldGrid& grid) {
    LimitCurve c;
    c.spacing = line.spacing;
    if (!r.applicable())
        return c;
    c.b = r.limitB;
    c.n = r.limitN;
    c.phi = r.limitPhi;
    if (line.spacing > kWidestTableSpacing || !(c.phi > 0))
        return c;
    c.points.reserve(std::size_t(grid.intervals) + 1);
    for (int i = 0; i <= grid.intervals; ++i) {
        const double x = gridExcess(grid, i);
        c.points.push_back({x, c.phi * c.b * std::pow(x / c.phi, c.n)});
    }
    return c;
}

} // namespace

CharacteristicField characteristicField(const Floor& design, double roomTemp, double floorLimit,
                                        std::optional<FieldWater> water, FieldGrid grid) {
    CharacteristicField f;
    f.roomTemp = roomTemp;
    f.floorLimit = floorLimit;
    f.grid = heldGrid(grid);
    const double excess = floorLimit - roomTemp;
    f.limitFluxMax = excess > 0 ? 8.92 * std::pow(excess, 1.1) : 0;

    for (const double t : familyWith(kFieldSpacings, design.spacing)) {
        Floor floor = design;
        floor.spacing = t;
        En1264Result full;
        f.spacingLines.push_back(
            lineOf(floor, roomTemp, floorLimit, f.grid, t == design.spacing, &full));
        f.limitCurves.push_back(limitCurveOf(f.spacingLines.back(), full, f.grid));
    }
    for (const double r : familyWith(kFieldCoverings, design.coveringResistance)) {
        Floor floor = design;
        floor.coveringResistance = r;
        f.coveringLines.push_back(
            lineOf(floor, roomTemp, floorLimit, f.grid, r == design.coveringResistance));
    }
    if (water) {
        const En1264Result r = en1264TypeA(
            methodInputs(design, water->supplyTemp, water->returnTemp, roomTemp, floorLimit));
        if (r.applicable())
            f.designPoint = FieldPoint{r.logMeanExcess, r.heatFlux};
    }
    return f;
}

} // namespace zorva::en1264
