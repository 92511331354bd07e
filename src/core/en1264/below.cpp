// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/en1264/below.h"

#include <cmath>

namespace zorva::en1264 {

double undersideResistance(BelowKind kind) {
    switch (kind) {
    case BelowKind::HeatedRoom:
    case BelowKind::UnheatedRoom:
        return 0.17; // 1/5.8824 W/(m²·K) at a ceiling
    case BelowKind::Ground:
        return 0;
    case BelowKind::OutdoorAir:
        return 0.04;
    }
    return 0;
}

double downwardResistance(const Below& below) {
    return below.insulation + below.slab + below.plaster + undersideResistance(below.kind);
}

std::optional<double> belowTemp(const Below& below, double roomTemp) {
    if (below.temp)
        return below.temp;
    if (below.kind == BelowKind::HeatedRoom)
        return roomTemp;
    return std::nullopt;
}

double downwardLoss(double upwardResistance, double heatFlux, double roomTemp, double belowTemp,
                    double downwardResistance) {
    return (upwardResistance * heatFlux + roomTemp - belowTemp) / downwardResistance;
}

InsulationCheck checkInsulation(const Below& below) {
    InsulationCheck c;
    switch (below.kind) {
    case BelowKind::HeatedRoom:
        c.minimum = 0.75;
        break;
    case BelowKind::UnheatedRoom:
    case BelowKind::Ground:
        c.minimum = 1.25;
        break;
    case BelowKind::OutdoorAir: {
        if (!below.temp || !std::isfinite(*below.temp))
            return c;
        const double outdoor = *below.temp;
        if (outdoor >= 0)
            c.minimum = 1.25;
        else if (outdoor >= -5)
            c.minimum = 1.50;
        else if (outdoor >= -15)
            c.minimum = 2.00;
        else
            return c;
        break;
    }
    }
    c.inTable = true;
    c.meets = below.insulation >= c.minimum;
    return c;
}

} // namespace zorva::en1264
