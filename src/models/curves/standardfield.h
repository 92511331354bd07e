// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The characteristic fields of the standards for the curve window, as plain
// series of points: the EN 1264-2 field of a heated floor (q against Δθ_H
// for the spacing and covering families, the limit curves at the room's
// θ_F,max and the design point of the main window's water), and the
// EN 1264-5 field of the same floor cooled (q_C against Δθ_C, with the dew
// point and floor temperature limits). Each carries its method and clause in
// the titles (docs/curves.md).

#include "core/engine/designcheck.h"
#include "core/engine/inputs.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

namespace zorva::models {

// Which field: the heated floor (供暖) or the cooled one (供冷).
enum class FieldSeason { Heating, Cooling };

struct PlotSeries {
    enum class Kind {
        Line,        // a characteristic line of the family
        LimitCurve,  // q_G against Δθ_H,G of one spacing
        LimitPoints, // where each line meets its limit
        Limit,       // a straight limit: q_G,max, the dew point, the floor
        DesignPoint, // the design's own water
    };
    Kind kind = Kind::Line;
    QString name;
    double parameter = 0; // the family's value: T in m or R_λ,B in m²·K/W
    bool current = false; // the design's own floor
    std::vector<QPointF> points;
};

struct FieldPlot {
    QString family; // "管间距" or "面层热阻"
    QString title;  // with the method and clause
    QString xTitle;
    QString yTitle;
    std::vector<PlotSeries> series;

    const PlotSeries* find(PlotSeries::Kind kind, double parameter) const;
};

struct StandardField {
    FieldSeason season = FieldSeason::Heating;
    bool valid = false; // false: nothing is drawn; the status says why
    QString clause;     // the method and clause of every number
    QString status;     // what is drawn, and what is left out
    FieldPlot spacing;
    FieldPlot covering;

    // The values the field was drawn for.
    double roomTemp = 0;             // θ_i, ℃
    double floorLimit = 0;           // heating: θ_F,max, ℃
    std::optional<double> dewPoint;  // cooling: θ_d, ℃
    std::optional<double> minSupply; // cooling: θ_d + Δθ_s, ℃
    double supplyTemp = 0;           // the water of the design point, ℃
    double returnTemp = 0;           // ℃
};

// The room air typed for the cooling field: temperature in ℃ and relative
// humidity in % (GB 50736-2012 §3.0.2 design state).
struct CoolingAir {
    double roomTemp = 26;
    double humidityPercent = 50;
};

// The EN 1264-2 field of the design in `fields`: the floor as the
// construction window gives it, θ_F,max of `category` at the room
// temperature (en1264::surfaceLimit), the design point at the main window's
// supply and return.
StandardField en1264FieldOf(const FieldRecord& fields, RoomCategory category);

// The EN 1264-5 cooling field of the same floor for the room air `air`, with
// the dew-point margin of JGJ 142-2012 §3.1 and the design water a new
// cooling loop would get there (cooling::designWater: 16 ℃ or the lowest
// supply the dew point allows, 3 K rise).
StandardField coolingFieldOf(const FieldRecord& fields, const CoolingAir& air);

} // namespace zorva::models
