// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/roomload.h"

#include "core/heatload/en12831.h"
#include "core/heatload/gb50736.h"

namespace zorva::project {

ClimateValues climateValues(const Climate& climate, const heatload::CityTable* cities) {
    ClimateValues v;
    v.outdoorTemp = climate.outdoorTemp;
    v.winterSunshine = climate.winterSunshine;
    if (!climate.stationId.empty()) {
        const heatload::City* city =
            cities ? heatload::findStation(*cities, climate.stationId) : nullptr;
        if (city) {
            if (!v.outdoorTemp)
                v.outdoorTemp = city->heatingOutdoorTemp;
            if (!v.winterSunshine)
                v.winterSunshine = city->winterSunshine;
        } else if (!v.outdoorTemp) {
            v.problem = LoadProblem::UnknownStation;
        }
    }
    if (!v.outdoorTemp && v.problem == LoadProblem::None)
        v.problem = LoadProblem::NoOutdoorTemp;
    return v;
}

namespace {

heatload::RoomEnvelope envelopeOf(const Room& room) {
    heatload::RoomEnvelope e = *room.envelope;
    e.name = room.name;
    e.indoorTemp = room.indoorTemp;
    e.floorArea = room.floorArea;
    return e;
}

} // namespace

RoomLoad roomLoad(const Project& project, const Room& room, const ClimateValues& climate) {
    RoomLoad r;
    const HeatLoadSettings& s = project.settings.heatLoad;
    if (!loadComputed(project, room)) {
        r.source = rooms::LoadSource::Typed;
        if (!room.typedLoad) {
            r.problem = LoadProblem::NoTypedLoad;
            return r;
        }
        r.heatLoad = r.loadForLoops = *room.typedLoad;
        return r;
    }
    if (climate.problem != LoadProblem::None) {
        r.source = s.method == LoadMethod::Gb50736 ? rooms::LoadSource::Gb50736
                                                   : rooms::LoadSource::En12831;
        r.problem = climate.problem;
        return r;
    }
    if (s.method == LoadMethod::Gb50736) {
        r.source = rooms::LoadSource::Gb50736;
        heatload::Gb50736Options options = s.gb;
        options.outdoorTemp = *climate.outdoorTemp;
        options.winterSunshine = climate.winterSunshine;
        r.computed = heatload::computeGb50736(envelopeOf(room), options);
    } else {
        r.source = rooms::LoadSource::En12831;
        heatload::En12831Options options = s.en;
        options.outdoorTemp = *climate.outdoorTemp;
        r.computed = heatload::computeEn12831(envelopeOf(room), options);
    }
    if (!r.computed->ok()) {
        r.problem = LoadProblem::Refused;
        return r;
    }
    r.heatLoad = r.computed->heatLoad;
    r.loadForLoops = r.computed->loadForLoops;
    return r;
}

} // namespace zorva::project
