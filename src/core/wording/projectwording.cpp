// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wording/projectwording.h"

#include "core/heatload/messages.h"
#include "core/rooms/roomdesign.h"

namespace zorva {

const char* loopProblemKey(method::LoopProblem problem) {
    using P = method::LoopProblem;
    switch (problem) {
    case P::None:
        return "";
    case P::Faulted:
        return "faulted";
    case P::NotConverged:
        return "notConverged";
    case P::MethodNotApplicable:
        return "notApplicable";
    case P::NoTempDrop:
        return "noTempDrop";
    case P::HeatFromBelow:
        return "heatFromBelow";
    case P::InvalidLength:
        return "invalidLength";
    case P::InvalidPipe:
        break;
    }
    return "invalidPipe";
}

QString loopProblemText(method::LoopProblem problem) {
    using P = method::LoopProblem;
    switch (problem) {
    case P::None:
        return {};
    case P::Faulted:
        return QStringLiteral("运算错误");
    case P::NotConverged:
        return QStringLiteral("未收敛");
    case P::MethodNotApplicable:
        return QStringLiteral("超出 EN 1264-2 的适用范围");
    case P::NoTempDrop:
        return QStringLiteral("供水温度不高于回水温度");
    case P::HeatFromBelow:
        return QStringLiteral("下方空间向房间供热");
    case P::InvalidLength:
        return QStringLiteral("环路长度无效");
    case P::InvalidPipe:
        break;
    }
    return QStringLiteral("管道或水温无效");
}

QStringList validityKeys(unsigned flags) {
    static const std::pair<unsigned, const char*> kFlags[] = {
        {SpacingBelowTables, "spacingBelowTables"},
        {SpacingWide, "spacingWide"},
        {DiameterOutsideRange, "diameterOutsideRange"},
        {ScreedThin, "screedThin"},
        {CoveringOutsideTables, "coveringOutsideTables"},
        {ScreedRatioBelowTables, "screedRatioBelowTables"}};
    QStringList keys;
    for (const auto& [bit, key] : kFlags)
        if (flags & bit)
            keys << QLatin1String(key);
    return keys;
}

QStringList loopNoteKeys(unsigned notes) {
    static const std::pair<unsigned, const char*> kNotes[] = {
        {method::DownwardLossLeftOut, "downwardLossLeftOut"},
        {method::WaterOutsideRange, "waterOutsideRange"},
        {method::LaminarFlow, "laminar"},
        {method::TransitionFlow, "transition"}};
    QStringList keys;
    for (const auto& [bit, key] : kNotes)
        if (notes & bit)
            keys << QLatin1String(key);
    return keys;
}

namespace {

struct NoteWords {
    en1264::NoteCode code;
    const char* key;
    const char* text;
};

constexpr NoteWords kNotes[] = {
    {en1264::NoteCode::SupplyMax, "supplyMax", "供水温度超过60℃"},
    {en1264::NoteCode::SupplyRange, "supplyRange", "供水温度不在35~45℃推荐范围"},
    {en1264::NoteCode::SystemDrop, "systemDrop", "系统供回水温差不在5~10K"},
    {en1264::NoteCode::LoopsMax, "loopsMax", "分集水器环路数超过8路"},
    {en1264::NoteCode::DesignDropHigh, "designDropHigh", "设计温降大于5K"},
    {en1264::NoteCode::DesignPick, "designPick", "按EN选取的房间与决定供水温度的房间不同"},
    {en1264::NoteCode::Limit, "limit", "地面散热量不足，需辅助散热"},
    {en1264::NoteCode::NotCovered, "notCovered", "该房间在此供水温度下无法满足"},
    {en1264::NoteCode::DropHigh, "dropHigh", "该房间温降大于10K，可加大管间距"},
    {en1264::NoteCode::MeanFloorTemp, "meanFloorTemp", "地表面平均温度超过上限值"},
    {en1264::NoteCode::Insulation, "insulation", "绝热层热阻低于EN 1264-4最小值"},
    {en1264::NoteCode::InsulationTable, "insulationTable", "室外设计温度超出EN 1264-4表格"},
    {en1264::NoteCode::OutsideValidity, "outsideValidity", "超出EN 1264-2表格适用范围"},
    {en1264::NoteCode::VelocityLow, "velocityLow", "加热管内流速低于0.25m/s"},
    {en1264::NoteCode::VelocityHigh, "velocityHigh", "流速高于0.5m/s，注意噪声"},
    {en1264::NoteCode::LengthMax, "lengthMax", "环路长度超过120m"},
    {en1264::NoteCode::PressureDrop, "pressureDrop", "环路水阻力超过30kPa"},
    {en1264::NoteCode::Laminar, "laminar", "层流"},
    {en1264::NoteCode::Transition, "transition", "过渡区，阻力估算误差较大"},
    {en1264::NoteCode::WaterTemp, "waterTemp", "水温超出物性公式范围"},
    {en1264::NoteCode::LeaderShare, "leaderShare", "连接管散热较大，建议保温"},
    {en1264::NoteCode::LeaderRoom, "leaderRoom", "连接管向该房间散热超过其热负荷"},
    {en1264::NoteCode::RoomNotDesigned, "roomNotDesigned", "该房间无法设计"},
    {en1264::NoteCode::LoopNotDesigned, "loopNotDesigned", "该环路无法计算"},
};

const NoteWords& noteWords(en1264::NoteCode code) {
    for (const NoteWords& w : kNotes)
        if (w.code == code)
            return w;
    return kNotes[0];
}

} // namespace

const char* noteCodeKey(en1264::NoteCode code) {
    return noteWords(code).key;
}

QString noteText(en1264::NoteCode code) {
    return QString::fromUtf8(noteWords(code).text);
}

const char* noteLevelKey(en1264::NoteLevel level) {
    switch (level) {
    case en1264::NoteLevel::Info:
        return "info";
    case en1264::NoteLevel::Warning:
        return "warning";
    case en1264::NoteLevel::Error:
        break;
    }
    return "error";
}

const char* designProblemKey(en1264::DesignProblem problem) {
    switch (problem) {
    case en1264::DesignProblem::None:
        return "";
    case en1264::DesignProblem::NoRoom:
        return "noRoom";
    case en1264::DesignProblem::InvalidSettings:
        break;
    }
    return "invalidSettings";
}

const char* designRoomProblemKey(en1264::RoomProblem problem) {
    using P = en1264::RoomProblem;
    switch (problem) {
    case P::None:
        return "";
    case P::NotServed:
        return "notServed";
    case P::InvalidInput:
        return "invalidInput";
    case P::FloorNotApplicable:
        return "floorNotApplicable";
    case P::NoHeatLoad:
        return "noHeatLoad";
    case P::BelowUnknown:
        return "belowUnknown";
    case P::LimitNotAboveRoom:
        return "limitNotAboveRoom";
    case P::TooColdSupply:
        return "tooColdSupply";
    case P::HeatFromBelow:
        return "heatFromBelow";
    case P::NoCandidate:
        return "noCandidate";
    case P::ReturnNotAboveRoom:
        break;
    }
    return "returnNotAboveRoom";
}

QString designRoomProblemText(en1264::RoomProblem problem) {
    using P = en1264::RoomProblem;
    switch (problem) {
    case P::None:
        return {};
    case P::NotServed:
        return QStringLiteral("没有环路");
    case P::InvalidInput:
        return QStringLiteral("输入值无效");
    case P::FloorNotApplicable:
        return QStringLiteral("地面构造超出 EN 1264-2 的适用范围");
    case P::NoHeatLoad:
        return QStringLiteral("没有热负荷");
    case P::BelowUnknown:
        return QStringLiteral("下方空间的温度或热阻未知");
    case P::LimitNotAboveRoom:
        return QStringLiteral("地表面温度上限不高于室内温度");
    case P::TooColdSupply:
        return QStringLiteral("供水温度太低，无法供暖");
    case P::HeatFromBelow:
        return QStringLiteral("下方空间向房间供热");
    case P::NoCandidate:
        return QStringLiteral("没有适用的管间距");
    case P::ReturnNotAboveRoom:
        break;
    }
    return QStringLiteral("回水温度不高于室内温度");
}

const char* designLoopProblemKey(en1264::LoopProblem problem) {
    switch (problem) {
    case en1264::LoopProblem::None:
        return "";
    case en1264::LoopProblem::NoRoom:
        return "noRoom";
    case en1264::LoopProblem::RoomProblem:
        return "roomProblem";
    case en1264::LoopProblem::InvalidInput:
        break;
    }
    return "invalidInput";
}

const char* dropRuleKey(en1264::DropRule rule) {
    switch (rule) {
    case en1264::DropRule::DesignRoom:
        return "designRoom";
    case en1264::DropRule::Linear:
        return "linear";
    case en1264::DropRule::Quadratic:
        return "quadratic";
    case en1264::DropRule::Minimum:
        return "minimum";
    case en1264::DropRule::FixedPair:
        break;
    }
    return "fixedPair";
}

const char* designModeKey(en1264::DesignMode mode) {
    return mode == en1264::DesignMode::DesignRoom ? "designRoom" : "fixedPair";
}

const char* roomCategoryKey(RoomCategory category) {
    switch (category) {
    case RoomCategory::LongStay:
        return "longStay";
    case RoomCategory::ShortStay:
        return "shortStay";
    case RoomCategory::Unoccupied:
        return "unoccupied";
    case RoomCategory::Residential:
        return "residential";
    case RoomCategory::Bathroom:
        return "bathroom";
    case RoomCategory::Peripheral:
        break;
    }
    return "peripheral";
}

const char* loadSourceKey(rooms::LoadSource source) {
    switch (source) {
    case rooms::LoadSource::Typed:
        return "typed";
    case rooms::LoadSource::Gb50736:
        return "gb50736";
    case rooms::LoadSource::En12831:
        break;
    }
    return "en12831";
}

const char* roomStatusKey(rooms::RoomStatus status) {
    switch (status) {
    case rooms::RoomStatus::Designed:
        return "designed";
    case rooms::RoomStatus::Shortfall:
        return "shortfall";
    case rooms::RoomStatus::NotDesigned:
        break;
    }
    return "notDesigned";
}

const char* allowanceKey(heatload::FloorAllowance allowance) {
    switch (allowance) {
    case heatload::FloorAllowance::None:
        return "none";
    case heatload::FloorAllowance::LowerIndoorTemp:
        return "lowerIndoorTemp";
    case heatload::FloorAllowance::ShareOfLoad:
        break;
    }
    return "shareOfLoad";
}

const char* elementKindKey(heatload::ElementKind kind) {
    using K = heatload::ElementKind;
    switch (kind) {
    case K::OuterWall:
        return "outerWall";
    case K::Window:
        return "window";
    case K::Door:
        return "door";
    case K::Roof:
        return "roof";
    case K::Floor:
        return "floor";
    case K::Partition:
        break;
    }
    return "partition";
}

QString loadProblemText(project::LoadProblem problem) {
    using P = project::LoadProblem;
    switch (problem) {
    case P::None:
        return {};
    case P::NoTypedLoad:
        return QStringLiteral("没有输入热负荷");
    case P::NoOutdoorTemp:
        return QStringLiteral("没有室外计算温度：请选择城市或输入温度");
    case P::UnknownStation:
        return QStringLiteral("城市表中没有所选的气象台站，请重新选择城市或输入室外计算温度");
    case P::Refused:
        break;
    }
    return QStringLiteral("热负荷无法计算");
}

QString roomProblemText(const project::Room& room, const project::RoomResult& r) {
    switch (r.problem) {
    case project::RoomProblem::None:
        return {};
    case project::RoomProblem::Load: {
        QString text = loadProblemText(r.load.problem);
        if (r.load.problem == project::LoadProblem::Refused && r.load.computed &&
            !r.load.computed->faults.empty() && room.envelope) {
            heatload::RoomEnvelope envelope = *room.envelope;
            envelope.name = room.name;
            text += QStringLiteral("：") + QString::fromStdString(heatload::describe(
                                               envelope, r.load.computed->faults.front()));
        }
        return text;
    }
    case project::RoomProblem::NoManifold:
        return QStringLiteral("第 %1 个分集水器不存在").arg(room.manifold + 1);
    case project::RoomProblem::Design:
        break;
    }
    return QString::fromUtf8(rooms::roomFaultText(r.design.fault));
}

const char* loopVerdictKey(const project::LoopFigures& f) {
    if (!f.withinLimit)
        return "fail";
    return f.supplementaryHeat > 0 ? "supplementary" : "pass";
}

QString loopVerdictText(const project::LoopFigures& f) {
    if (!f.withinLimit)
        return QStringLiteral("不合格");
    return f.supplementaryHeat > 0 ? QStringLiteral("需辅助散热") : QStringLiteral("合格");
}

const char* coolingShortfallText(cooling::Shortfall reason) {
    switch (reason) {
    case cooling::Shortfall::None:
        return "";
    case cooling::Shortfall::SupplyTooWarm:
        return "供水温度偏高";
    case cooling::Shortfall::DewPoint:
        return "露点限制";
    case cooling::Shortfall::FloorTemp:
        return "地面温度下限";
    case cooling::Shortfall::LowestWater:
        break;
    }
    return "最低供水温度限制";
}

} // namespace zorva
