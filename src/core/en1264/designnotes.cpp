// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/en1264/designsteps.h"

namespace zorva::en1264 {

NoteLevel noteLevel(NoteCode code) {
    switch (code) {
    case NoteCode::SupplyMax:
    case NoteCode::RoomNotDesigned:
    case NoteCode::LoopNotDesigned:
        return NoteLevel::Error;
    case NoteCode::SupplyRange:
    case NoteCode::DesignPick:
    case NoteCode::DropHigh:
    case NoteCode::VelocityHigh:
    case NoteCode::Laminar:
    case NoteCode::Transition:
    case NoteCode::LeaderShare:
        return NoteLevel::Info;
    default:
        return NoteLevel::Warning;
    }
}

namespace steps {

namespace {

// Limits of the design rules (JGJ 142, GB 50736 and the program's guidance).
constexpr double kSupplyMax = 60;        // ℃
constexpr double kSupplyLow = 35;        // ℃, recommended range
constexpr double kSupplyHigh = 45;       // ℃
constexpr double kSystemDropLow = 5;     // K
constexpr double kSystemDropHigh = 10;   // K
constexpr std::size_t kLoopsMax = 8;     // loops per manifold
constexpr double kDesignDropMax = 5;     // K, σ_des
constexpr double kDropHigh = 10;         // K
constexpr double kVelocityLow = 0.25;    // m/s
constexpr double kVelocityHigh = 0.5;    // m/s
constexpr double kLengthMax = 120;       // m
constexpr double kPressureDropMax = 30;  // kPa
constexpr double kLeaderShareMax = 0.10; // of the loop's water heat

struct NoteSink {
    std::vector<Note>& notes;
    void add(NoteCode code, double value = 0, double limit = 0,
             std::optional<std::size_t> room = std::nullopt,
             std::optional<std::size_t> loop = std::nullopt) {
        notes.push_back(Note{code, room, loop, value, limit});
    }
};

void manifoldNotes(const ManifoldDesignInput& in, const ManifoldDesign& out, NoteSink& sink) {
    if (in.loops.size() > kLoopsMax)
        sink.add(NoteCode::LoopsMax, double(in.loops.size()), double(kLoopsMax));
    if (!out.designed())
        return;
    const double supply = out.designSupplyTemp;
    if (supply > kSupplyMax)
        sink.add(NoteCode::SupplyMax, supply, kSupplyMax);
    else if (supply < kSupplyLow || supply > kSupplyHigh)
        sink.add(NoteCode::SupplyRange, supply, supply < kSupplyLow ? kSupplyLow : kSupplyHigh);
    const double drop = out.totals.systemDrop;
    if (out.totals.massFlow > 0 && (drop < kSystemDropLow || drop > kSystemDropHigh))
        sink.add(NoteCode::SystemDrop, drop,
                 drop < kSystemDropLow ? kSystemDropLow : kSystemDropHigh);
    if (out.mode == DesignMode::DesignRoom) {
        if (in.settings.designDrop > kDesignDropMax)
            sink.add(NoteCode::DesignDropHigh, in.settings.designDrop, kDesignDropMax);
        if (out.designRoom && out.highestFluxRoom && *out.designRoom != *out.highestFluxRoom)
            sink.add(NoteCode::DesignPick, double(*out.highestFluxRoom), 0, out.designRoom);
    }
}

void roomNotes(const DesignRoom& room, const RoomDesign& r, std::size_t i, NoteSink& sink) {
    if (r.problem == RoomProblem::NotServed) {
        if (r.leaderHeatIn > room.heatLoad)
            sink.add(NoteCode::LeaderRoom, r.leaderHeatIn, room.heatLoad, i);
        return;
    }
    if (!r.designed()) {
        sink.add(NoteCode::RoomNotDesigned, double(static_cast<int>(r.problem)), 0, i);
        return;
    }
    if (r.floor.flags != 0)
        sink.add(NoteCode::OutsideValidity, double(r.floor.flags), 0, i);
    if (r.limited)
        sink.add(NoteCode::Limit, r.supplementaryHeat, r.usableLimit, i);
    if (r.dropRule == DropRule::Minimum)
        sink.add(NoteCode::NotCovered, r.drop, r.drop, i);
    if (r.drop > kDropHigh)
        sink.add(NoteCode::DropHigh, r.drop, kDropHigh, i);
    if (r.floorTempMeanJgj > r.meanFloorLimit)
        sink.add(NoteCode::MeanFloorTemp, r.floorTempMeanJgj, r.meanFloorLimit, i);
    if (!r.insulation.inTable)
        sink.add(NoteCode::InsulationTable, room.below.temp.value_or(0), -15, i);
    else if (!r.insulation.meets)
        sink.add(NoteCode::Insulation, room.below.insulation, r.insulation.minimum, i);
}

void loopNotes(const LoopDesign& l, std::size_t i, NoteSink& sink) {
    if (!l.designed()) {
        sink.add(NoteCode::LoopNotDesigned, double(static_cast<int>(l.problem)), 0, std::nullopt,
                 i);
        return;
    }
    const hydraulics::PipeFlow& h = l.hydraulics;
    const std::optional<std::size_t> room = l.room;
    if (h.velocity < kVelocityLow)
        sink.add(NoteCode::VelocityLow, h.velocity, kVelocityLow, room, i);
    else if (h.velocity > kVelocityHigh)
        sink.add(NoteCode::VelocityHigh, h.velocity, kVelocityHigh, room, i);
    if (l.length > kLengthMax)
        sink.add(NoteCode::LengthMax, l.length, kLengthMax, room, i);
    if (l.pressureDrop > kPressureDropMax)
        sink.add(NoteCode::PressureDrop, l.pressureDrop, kPressureDropMax, room, i);
    if (h.regime == hydraulics::FlowRegime::Laminar)
        sink.add(NoteCode::Laminar, h.reynolds, hydraulics::kLaminarBelow, room, i);
    else if (h.regime == hydraulics::FlowRegime::Transition)
        sink.add(NoteCode::Transition, h.reynolds, hydraulics::kTurbulentFrom, room, i);
    if (!h.water.inRange)
        sink.add(NoteCode::WaterTemp, h.water.temp, 0, room, i);
    if (l.leader && l.leader->share > kLeaderShareMax)
        sink.add(NoteCode::LeaderShare, l.leader->share, kLeaderShareMax, room, i);
}

} // namespace

void addNotes(const ManifoldDesignInput& in, ManifoldDesign& out) {
    NoteSink sink{out.notes};
    manifoldNotes(in, out, sink);
    for (std::size_t i = 0; i < out.rooms.size(); ++i)
        roomNotes(in.rooms[i], out.rooms[i], i, sink);
    for (std::size_t i = 0; i < out.loops.size(); ++i)
        loopNotes(out.loops[i], i, sink);
}

} // namespace steps

} // namespace zorva::en1264
