// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/en1264/design.h"

#include "core/en1264/designsteps.h"
#include "core/hydraulics/water.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace zorva::en1264 {

namespace steps {

namespace {

bool allFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace

bool prepareRoom(const DesignRoom& room, std::size_t loops, RoomDesign& r) {
    r.loops = loops;
    if (loops == 0) {
        r.problem = RoomProblem::NotServed;
        return false;
    }
    if (!allFinite({room.roomTemp, room.heatLoad, room.otherHeat, room.area}) || !(room.area > 0) ||
        room.otherHeat < 0) {
        r.problem = RoomProblem::InvalidInput;
        return false;
    }
    r.designFlux = (room.heatLoad - room.otherHeat) / room.area;
    r.surfaceLimit = room.surfaceLimit.value_or(surfaceLimit(room.category, room.roomTemp));
    r.meanFloorLimit = room.meanFloorLimit.value_or(floorTempLimit(room.category));
    if (!allFinite({r.designFlux, r.surfaceLimit, r.meanFloorLimit})) {
        r.problem = RoomProblem::InvalidInput;
        return false;
    }
    r.insulation = checkInsulation(room.below);
    r.downwardResistance = downwardResistance(room.below);
    const std::optional<double> below = belowTemp(room.below, room.roomTemp);
    if (!below || !std::isfinite(*below) || !std::isfinite(r.downwardResistance) ||
        !(r.downwardResistance > 0)) {
        r.problem = RoomProblem::BelowUnknown;
        return false;
    }
    r.belowTemp = *below;
    if (!(r.surfaceLimit > room.roomTemp)) {
        r.problem = RoomProblem::LimitNotAboveRoom;
        return false;
    }
    if (!(r.designFlux > 0)) {
        r.problem = RoomProblem::NoHeatLoad;
        return false;
    }
    return true;
}

bool applyFloor(const DesignRoom& room, double spacing, RoomDesign& r) {
    Floor floor = room.floor;
    floor.spacing = spacing;
    r.spacing = spacing;
    r.floor = floorCharacteristic(floor, room.roomTemp, r.surfaceLimit);
    if (!r.floor.applicable() || !(r.floor.limitFlux > 0)) {
        r.problem = RoomProblem::FloorNotApplicable;
        return false;
    }
    r.limitOutput = r.floor.limitFlux;
    r.limitOutputMax = r.floor.limitFluxMax;
    r.limitExcess = r.floor.limitExcess;
    r.usableLimit = std::min(r.limitOutput, r.limitOutputMax);
    r.upwardResistance = r.floor.upwardResistance;
    r.problem = RoomProblem::None;
    return true;
}

bool finishRoom(const DesignRoom& room, double supplyTemp, RoomDesign& r) {
    const double q = r.heatOutput;
    r.returnTemp = supplyTemp - r.drop;
    r.meanWaterTemp = supplyTemp - r.drop / 2;
    r.downwardOutput =
        downwardLoss(r.upwardResistance, q, room.roomTemp, r.belowTemp, r.downwardResistance);
    if (!(q + r.downwardOutput > 0)) {
        r.problem = RoomProblem::HeatFromBelow;
        return false;
    }
    // EN 1264-3's design flow: the water carries the room's heat and the
    // downward loss, ṁ·c_W·σ = A_F·(q + q_u).
    r.flowFactor = 1 + r.upwardResistance / r.downwardResistance +
                   (room.roomTemp - r.belowTemp) / (q * r.downwardResistance);
    r.massFlow = room.area * q / (r.drop * hydraulics::kHeatCapacity) * r.flowFactor;
    r.roomOutput = q * room.area;
    r.waterOutput = (q + r.downwardOutput) * room.area;
    r.floorTempMean = en1264FloorTemp(q, room.roomTemp);
    r.floorTempMeanJgj = jgjFloorTemp(q, room.roomTemp);
    return true;
}

} // namespace steps

namespace {

using steps::applyFloor;
using steps::finishRoom;
using steps::prepareRoom;

bool isBathroom(const DesignRoom& room) {
    return room.category == RoomCategory::Bathroom;
}

std::vector<std::size_t> loopCounts(const ManifoldDesignInput& in) {
    std::vector<std::size_t> counts(in.rooms.size(), 0);
    for (const DesignLoop& loop : in.loops)
        if (loop.room < counts.size())
            ++counts[loop.room];
    return counts;
}

// The rooms that may set the supply temperature: every designed room but
// the bathrooms, or every designed room when all of them are bathrooms.
void markCandidates(const ManifoldDesignInput& in, ManifoldDesign& out) {
    bool anyOther = false;
    for (std::size_t i = 0; i < out.rooms.size(); ++i)
        anyOther = anyOther || (out.rooms[i].designed() && !isBathroom(in.rooms[i]));
    for (std::size_t i = 0; i < out.rooms.size(); ++i)
        out.rooms[i].candidate = out.rooms[i].designed() && (!anyOther || !isBathroom(in.rooms[i]));
}

// The first of the candidates with the largest value of `key`.
template <typename Key>
std::optional<std::size_t> firstLargest(const ManifoldDesign& out, Key key) {
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < out.rooms.size(); ++i)
        if (out.rooms[i].candidate && (!best || key(out.rooms[i]) > key(out.rooms[*best])))
            best = i;
    return best;
}

// The σ of a room that is not the design room, with the σ_min rule: a room
// the supply cannot cover, or whose σ would fall below σ_min, runs at σ_min
// with a lower output, and the rest becomes supplementary heat.
void dropOfOtherRoom(const DesignRoom& room, const DesignSettings& s, double supplyTemp,
                     RoomDesign& r) {
    const double supplyExcessHere = supplyTemp - room.roomTemp;
    DropSolution solution;
    if (dropForSupply(supplyExcessHere, r.excess, solution) && solution.drop >= s.minimumDrop) {
        r.drop = solution.drop;
        r.dropRule = solution.rule;
        return;
    }
    r.drop = s.minimumDrop;
    r.dropRule = DropRule::Minimum;
    const double excess = supplyExcessHere - s.minimumDrop / 2;
    if (!(excess > 0) || s.minimumDrop / excess > 0.5) {
        r.problem = RoomProblem::TooColdSupply;
        return;
    }
    const double lowered = r.floor.characteristic * excess;
    r.supplementaryHeat += (r.heatOutput - lowered) * room.area;
    r.heatOutput = lowered;
    r.excess = excess;
}

void designBySupplyRoom(const ManifoldDesignInput& in, ManifoldDesign& out) {
    const DesignSettings& s = in.settings;
    for (std::size_t i = 0; i < in.rooms.size(); ++i) {
        const DesignRoom& room = in.rooms[i];
        RoomDesign& r = out.rooms[i];
        if (!prepareRoom(room, r.loops, r) || !applyFloor(room, room.floor.spacing, r))
            continue;
        r.limited = r.designFlux > r.usableLimit;
        r.heatOutput = r.limited ? r.usableLimit : r.designFlux;
        r.supplementaryHeat = (r.designFlux - r.heatOutput) * room.area;
        r.excess = r.heatOutput / r.floor.characteristic;
        r.requiredSupply = room.roomTemp + supplyExcess(r.excess, s.designDrop);
    }
    markCandidates(in, out);
    out.designRoom = firstLargest(out, [](const RoomDesign& r) { return r.requiredSupply; });
    out.highestFluxRoom = firstLargest(out, [](const RoomDesign& r) { return r.heatOutput; });
    if (!out.designRoom)
        return;
    const RoomDesign& decisive = out.rooms[*out.designRoom];
    out.supplyForm = supplyForm(decisive.excess, s.designDrop);
    out.designSupplyExcess = supplyExcess(decisive.excess, s.designDrop);
    out.designSupplyTemp = in.rooms[*out.designRoom].roomTemp + out.designSupplyExcess;

    for (std::size_t i = 0; i < in.rooms.size(); ++i) {
        RoomDesign& r = out.rooms[i];
        if (!r.designed())
            continue;
        if (i == *out.designRoom) {
            r.drop = s.designDrop;
            r.dropRule = DropRule::DesignRoom;
        } else {
            dropOfOtherRoom(in.rooms[i], s, out.designSupplyTemp, r);
            if (!r.designed())
                continue;
        }
        finishRoom(in.rooms[i], out.designSupplyTemp, r);
    }
}

double logMeanExcess(double supply, double ret, double room) {
    return (supply - ret) / std::log((supply - room) / (ret - room));
}

// FixedPair: the widest candidate whose output at the pair reaches the load
// within the limit; failing that the narrowest, with what it can give.
void designRoomAtPair(const DesignRoom& room, const DesignSettings& s,
                      const std::vector<double>& spacings, RoomDesign& r) {
    if (!(s.returnTemp > room.roomTemp)) {
        r.problem = RoomProblem::ReturnNotAboveRoom;
        return;
    }
    r.excess = logMeanExcess(s.supplyTemp, s.returnTemp, room.roomTemp);
    std::optional<double> narrowest;
    for (auto t = spacings.rbegin(); t != spacings.rend(); ++t) {
        RoomDesign trial = r;
        if (!applyFloor(room, *t, trial))
            continue;
        trial.availableOutput = trial.floor.characteristic * r.excess;
        if (trial.availableOutput >= r.designFlux && r.designFlux <= trial.usableLimit) {
            r = trial;
            r.heatOutput = r.designFlux;
            r.supplementaryHeat = 0;
            return;
        }
        narrowest = *t;
    }
    if (!narrowest) {
        r.problem = RoomProblem::NoCandidate;
        return;
    }
    applyFloor(room, *narrowest, r);
    r.availableOutput = r.floor.characteristic * r.excess;
    r.limited = r.designFlux > r.usableLimit;
    r.heatOutput = std::min({r.designFlux, r.availableOutput, r.usableLimit});
    r.supplementaryHeat = (r.designFlux - r.heatOutput) * room.area;
}

void designAtFixedPair(const ManifoldDesignInput& in, ManifoldDesign& out) {
    const DesignSettings& s = in.settings;
    std::vector<double> spacings = s.candidateSpacings;
    std::sort(spacings.begin(), spacings.end());
    out.designSupplyTemp = s.supplyTemp;
    for (std::size_t i = 0; i < in.rooms.size(); ++i) {
        const DesignRoom& room = in.rooms[i];
        RoomDesign& r = out.rooms[i];
        if (!prepareRoom(room, r.loops, r))
            continue;
        designRoomAtPair(room, s, spacings, r);
        if (!r.designed())
            continue;
        r.drop = s.supplyTemp - s.returnTemp;
        r.dropRule = DropRule::FixedPair;
        finishRoom(room, s.supplyTemp, r);
    }
}

bool validSettings(const DesignSettings& s) {
    const auto positive = [](double v) { return std::isfinite(v) && v > 0; };
    const auto nonNegative = [](double v) { return std::isfinite(v) && v >= 0; };
    if (!nonNegative(s.roughness) || !nonNegative(s.connectionLoss) || !nonNegative(s.bendLoss))
        return false;
    if (s.mode == DesignMode::DesignRoom)
        return positive(s.designDrop) && positive(s.minimumDrop);
    return std::isfinite(s.supplyTemp) && std::isfinite(s.returnTemp) &&
           s.supplyTemp > s.returnTemp && !s.candidateSpacings.empty() &&
           std::all_of(s.candidateSpacings.begin(), s.candidateSpacings.end(), positive);
}

ManifoldDesign designOnce(const ManifoldDesignInput& in) {
    ManifoldDesign out;
    out.mode = in.settings.mode;
    out.clause = in.settings.mode == DesignMode::DesignRoom
                     ? "EN 1264-3（设计供水温度、各环路温降与设计流量），EN 1264-2 附录 A（A 型）"
                     : "固定供回水温度（JGJ 142 做法），EN 1264-2 附录 A（A 型）";
    out.rooms.resize(in.rooms.size());
    const std::vector<std::size_t> counts = loopCounts(in);
    for (std::size_t i = 0; i < in.rooms.size(); ++i)
        out.rooms[i].loops = counts[i];
    if (!validSettings(in.settings)) {
        out.problem = DesignProblem::InvalidSettings;
        for (RoomDesign& r : out.rooms)
            r.problem = r.loops ? RoomProblem::InvalidInput : RoomProblem::NotServed;
        out.loops.resize(in.loops.size());
        for (std::size_t i = 0; i < in.loops.size(); ++i) {
            out.loops[i].room = in.loops[i].room;
            if (in.loops[i].room < in.rooms.size())
                out.loops[i].problem = LoopProblem::RoomProblem;
        }
        return out;
    }
    if (in.settings.mode == DesignMode::DesignRoom)
        designBySupplyRoom(in, out);
    else
        designAtFixedPair(in, out);
    const bool any = std::any_of(out.rooms.begin(), out.rooms.end(),
                                 [](const RoomDesign& r) { return r.designed(); });
    out.problem = any ? DesignProblem::None : DesignProblem::NoRoom;
    steps::designLoops(in, out);
    out.totals = steps::totalsOf(out);
    return out;
}

} // namespace

ManifoldDesign designManifold(const ManifoldDesignInput& input) {
    ManifoldDesign design = designOnce(input);
    if (input.settings.creditLeaderHeat && design.designed()) {
        ManifoldDesignInput second = input;
        std::vector<double> credited(input.rooms.size(), 0);
        bool any = false;
        for (std::size_t i = 0; i < input.rooms.size(); ++i) {
            const RoomDesign& r = design.rooms[i];
            if (r.loops > 0 && r.leaderHeatIn != 0) {
                credited[i] = r.leaderHeatIn;
                second.rooms[i].heatLoad -= r.leaderHeatIn;
                any = true;
            }
        }
        if (any) {
            design = designOnce(second);
            for (std::size_t i = 0; i < credited.size(); ++i)
                design.rooms[i].creditedLeaderHeat = credited[i];
        }
    }
    steps::addNotes(input, design);
    return design;
}

} // namespace zorva::en1264
