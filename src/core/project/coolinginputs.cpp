// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/coolinginputs.h"

namespace zorva::project {

bool coolsIn(Season season) {
    return season != Season::Heating;
}

bool heatsIn(Season season) {
    return season != Season::Cooling;
}

const char* seasonKey(Season season) {
    switch (season) {
    case Season::Heating:
        return "heating";
    case Season::Cooling:
        return "cooling";
    case Season::Both:
        break;
    }
    return "both";
}

bool seasonFromKey(const std::string& key, Season& out) {
    for (Season s : {Season::Heating, Season::Cooling, Season::Both})
        if (key == seasonKey(s)) {
            out = s;
            return true;
        }
    return false;
}

const char* seasonName(Season season) {
    switch (season) {
    case Season::Heating:
        return "供暖";
    case Season::Cooling:
        return "供冷";
    case Season::Both:
        break;
    }
    return "供暖和供冷";
}

bool isDefault(const CoolingSettings& s) {
    const CoolingSettings d;
    return s.season == d.season && s.dewMargin == d.dewMargin && s.extraKeys.empty();
}

bool isDefault(const ManifoldCooling& m) {
    const ManifoldCooling d;
    return m.supplyTemp == d.supplyTemp && m.returnTemp == d.returnTemp && m.extraKeys.empty();
}

bool isDefault(const RoomCooling& r) {
    const RoomCooling d;
    return r.roomTemp == d.roomTemp && r.humidity == d.humidity && !r.sensibleLoad &&
           r.occupancy == d.occupancy && r.extraKeys.empty();
}

const char* occupancyKey(cooling::Occupancy occupancy) {
    switch (occupancy) {
    case cooling::Occupancy::Standing:
        return "standing";
    case cooling::Occupancy::Seated:
        return "seated";
    case cooling::Occupancy::Transit:
        break;
    }
    return "transit";
}

bool occupancyFromKey(const std::string& key, cooling::Occupancy& out) {
    using cooling::Occupancy;
    for (Occupancy o : {Occupancy::Standing, Occupancy::Seated, Occupancy::Transit})
        if (key == occupancyKey(o)) {
            out = o;
            return true;
        }
    return false;
}

const char* occupancyName(cooling::Occupancy occupancy) {
    switch (occupancy) {
    case cooling::Occupancy::Standing:
        return "站立或行走";
    case cooling::Occupancy::Seated:
        return "以坐姿为主";
    case cooling::Occupancy::Transit:
        break;
    }
    return "门厅、走廊";
}

} // namespace zorva::project
