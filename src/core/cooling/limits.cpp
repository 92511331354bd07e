// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cooling/limits.h"

namespace zorva::cooling {

std::optional<double> lowestFloorTemp(Occupancy occupancy) {
    switch (occupancy) {
    case Occupancy::Standing:
        return 19.0;
    case Occupancy::Seated:
        return 20.0;
    case Occupancy::Transit:
        break;
    }
    return std::nullopt;
}

std::string_view floorTempClause(Occupancy occupancy) {
    switch (occupancy) {
    case Occupancy::Standing:
        return clause::kFloorStanding;
    case Occupancy::Seated:
    case Occupancy::Transit:
        break;
    }
    return clause::kFloorSeated;
}

} // namespace zorva::cooling
