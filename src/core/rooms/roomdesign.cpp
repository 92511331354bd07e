// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rooms/roomdesign.h"

#include <cmath>
#include <cstdio>

namespace zorva::rooms {

namespace {

bool finite(double v) {
    return std::isfinite(v);
}

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

RoomFault checkInputs(const Room& room, const DesignConditions& conditions) {
    if (!finite(room.floorArea) || !finite(room.heatedArea) || !finite(room.heatLoad) ||
        !finite(room.leaderLength) || !finite(room.indoorTemp) || !finite(conditions.supplyTemp) ||
        !finite(conditions.maxLoopLength) || !finite(conditions.maxPressureDrop))
        return RoomFault::NotFinite;
    if (!(room.floorArea > 0))
        return RoomFault::FloorAreaNotPositive;
    if (!(room.heatedArea > 0))
        return RoomFault::HeatedAreaNotPositive;
    if (room.heatedArea > room.floorArea * (1 + 1e-12))
        return RoomFault::HeatedAreaAboveFloor;
    if (room.heatLoad < 0)
        return RoomFault::LoadNegative;
    if (room.leaderLength < 0)
        return RoomFault::LeaderNegative;
    const RoomOverrides& o = room.overrides;
    if (o.spacing && !(finite(*o.spacing) && *o.spacing > 0))
        return RoomFault::OverrideInvalid;
    if (o.loopCount && *o.loopCount < 1)
        return RoomFault::OverrideInvalid;
    if (o.loopCount && *o.loopCount > kMaxLoopsPerRoom)
        return RoomFault::TooManyLoops;
    for (const std::optional<double>& length : o.loopLengths)
        if (length && !(finite(*length) && *length > 0))
            return RoomFault::OverrideInvalid;
    return RoomFault::None;
}

std::string clausesOf(const DesignConditions& conditions) {
    return "间距：EN 1264-3 设计热流密度不超过 EN 1264-2 界限热流密度（地表面温度上限）；"
           "环路长度不大于 " +
           number(conditions.maxLoopLength) + " m（JGJ 142-2012 §3.5）；环路阻力不大于 " +
           number(conditions.maxPressureDrop) + " kPa（本程序推荐值）";
}

} // namespace

RoomDesign designRoom(const Room& room, const DesignConditions& conditions,
                      const ThermalMethod& thermal, const PressureMethod& pressure) {
    RoomDesign d;
    d.name = room.name;
    d.heatLoad = room.heatLoad;
    d.heatedArea = room.heatedArea;
    d.clauses = clausesOf(conditions);
    d.fault = checkInputs(room, conditions);
    if (d.fault != RoomFault::None)
        return d;
    if (room.overrides.spacing)
        d.marks |= SpacingOverridden;

    SpacingChoice choice = chooseSpacing(room, conditions, thermal);
    d.trials = std::move(choice.trials);
    d.requiredFlux = choice.requiredFlux;
    if (choice.fault != RoomFault::None) {
        d.fault = choice.fault;
        return d;
    }
    const SpacingTrial& trial = d.trials[std::size_t(choice.chosen)];
    d.spacing = trial.spacing;
    d.output = trial.output;
    d.peripheralArea = choice.peripheralArea;
    d.peripheralHeat = choice.peripheralHeat;
    if (room.peripheral)
        d.peripheralSpacing = room.peripheral->spacing;
    const double occupied = room.heatedArea - d.peripheralArea;
    // Where the load is met the loops are run down to it; where it is not,
    // the floor gives what its limit allows and no more.
    d.deliveredFlux = choice.meets ? d.requiredFlux : trial.deliverable;
    d.deliveredHeat =
        choice.meets ? room.heatLoad : d.peripheralHeat + trial.deliverable * occupied;
    d.supplementaryHeat = choice.meets ? 0 : room.heatLoad - d.deliveredHeat;
    d.pipeInArea =
        occupied / d.spacing + (room.peripheral ? d.peripheralArea / room.peripheral->spacing : 0);

    int count = 0;
    if (room.overrides.loopCount) {
        count = *room.overrides.loopCount;
        d.marks |= LoopCountOverridden;
    } else {
        const LoopCount split =
            fewestLoops(room, d.pipeInArea, d.deliveredHeat, d.spacing, conditions, pressure);
        if (split.fault != RoomFault::None) {
            d.fault = split.fault;
            return d;
        }
        count = split.count;
    }

    const double leaders = 2 * room.leaderLength;
    for (int i = 0; i < count; ++i) {
        RoomLoop loop;
        loop.name = loopName(room.name, i);
        loop.pipeInArea = d.pipeInArea / count;
        loop.leaders = leaders;
        loop.length = loop.pipeInArea + leaders;
        const auto& lengths = room.overrides.loopLengths;
        if (std::size_t(i) < lengths.size() && lengths[std::size_t(i)]) {
            loop.length = *lengths[std::size_t(i)];
            loop.lengthOverridden = true;
            d.marks |= LengthOverridden;
        }
        loop.area = room.heatedArea / count;
        loop.heat = d.deliveredHeat / count;
        loop.overLength = lengthOverLimit(loop.length, conditions.maxLoopLength);
        if (pressure) {
            const PressureOutput drop = pressure({&room, loop.length, loop.heat, d.spacing});
            if (drop.valid && finite(drop.pressureDrop)) {
                loop.pressureDrop = drop.pressureDrop;
                loop.overPressure = drop.pressureDrop > conditions.maxPressureDrop;
            }
        }
        if (loop.overLength || loop.overPressure)
            d.marks |= BreaksLimits;
        d.loops.push_back(std::move(loop));
    }
    d.status = choice.meets ? RoomStatus::Designed : RoomStatus::Shortfall;
    return d;
}

const char* roomFaultText(RoomFault fault) {
    switch (fault) {
    case RoomFault::None:
        return "";
    case RoomFault::NotFinite:
        return "数值无效（不是有限的数）";
    case RoomFault::FloorAreaNotPositive:
        return "房间面积必须大于 0";
    case RoomFault::HeatedAreaNotPositive:
        return "敷设面积必须大于 0";
    case RoomFault::HeatedAreaAboveFloor:
        return "敷设面积不能大于房间面积";
    case RoomFault::LoadNegative:
        return "热负荷不能为负";
    case RoomFault::LeaderNegative:
        return "连接管长度不能为负";
    case RoomFault::NoSpacing:
        return "没有可选的管间距";
    case RoomFault::NoValidSpacing:
        return "所有可选管间距都超出计算方法的适用范围";
    case RoomFault::PeripheralInvalid:
        return "边缘区的宽度、长度或间距无效，或边缘区不小于敷设面积";
    case RoomFault::LeadersTooLong:
        return "连接管往返长度已达到环路长度上限，请缩短连接管或移近分水器";
    case RoomFault::PressureUnreachable:
        return "增加环路数也不能使环路阻力满足上限";
    case RoomFault::PressureInvalid:
        return "无法计算环路阻力";
    case RoomFault::TooManyLoops:
        return "所需环路数过多，请核对面积和间距";
    case RoomFault::OverrideInvalid:
        return "指定的间距、环路数或环路长度无效";
    }
    return "";
}

} // namespace zorva::rooms
