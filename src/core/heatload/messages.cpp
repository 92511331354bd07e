// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/messages.h"

namespace zorva::heatload {

const char* faultText(Fault fault) {
    switch (fault) {
    case Fault::NotFinite:
        return "数值无效（不是有限的数）";
    case Fault::IndoorNotAboveOutdoor:
        return "室内计算温度必须高于室外计算温度";
    case Fault::OutdoorImpossible:
        return "室外计算温度不能低于绝对零度";
    case Fault::FloorAreaNotPositive:
        return "房间面积必须大于 0";
    case Fault::HeightNotPositive:
        return "按换气次数计算风量需要大于 0 的房间高度（或直接填写体积、风量）";
    case Fault::VolumeNegative:
        return "房间体积不能为负";
    case Fault::AreaNegative:
        return "面积不能为负";
    case Fault::UNotPositive:
        return "传热系数 K 必须大于 0";
    case Fault::AlphaOutsideRange:
        return "温差修正系数 α 应在 0～1 之间";
    case Fault::FxNegative:
        return "温度修正系数 f_x 不能为负";
    case Fault::AirChangesNegative:
        return "换气次数不能为负";
    case Fault::AirFlowNegative:
        return "风量不能为负";
    case Fault::RateNegative:
        return "附加率不能为负";
    case Fault::StoreysNotPositive:
        return "外门附加需要建筑层数（至少 1 层）";
    case Fault::ShareOutsideRange:
        return "比例应大于 0 且不大于 1";
    case Fault::ThermalBridgeNegative:
        return "热桥附加 ΔU_TB 不能为负";
    case Fault::HeatingUpNegative:
        return "间歇升温附加不能为负";
    }
    return "输入无效";
}

const char* warningText(Warning warning) {
    switch (warning) {
    case Warning::OrientationRateOutsideRange:
        return "朝向修正率超出 GB 50736-2012 §5.2.6 的范围";
    case Warning::OrientationMissing:
        return "未填朝向，朝向修正率按 0 计";
    case Warning::WindRateOutsideRange:
        return "风力附加率不在 5%～10% 之间（GB 50736-2012 §5.2.6）";
    case Warning::ShareOutsideRange:
        return "负荷折减比例不在 0.90～0.95 之间（JGJ 142-2012 §3.3）";
    case Warning::OutdoorOutsideTable:
        return "室外计算温度超出 -50～25 ℃，请核对";
    case Warning::NeighbourWarmer:
        return "相邻空间温度高于本房间，不计得热";
    case Warning::InterDwellingCapped:
        return "户间传热附加已按上限取值";
    }
    return "";
}

namespace {

std::string prefix(const RoomEnvelope& room, int element) {
    if (element < 0 || std::size_t(element) >= room.elements.size())
        return {};
    const std::string& name = room.elements[std::size_t(element)].name;
    return (name.empty() ? "第 " + std::to_string(element + 1) + " 项围护结构" : name) + "：";
}

} // namespace

std::string describe(const RoomEnvelope& room, const Issue& issue) {
    return prefix(room, issue.element) + faultText(issue.fault);
}

std::string describe(const RoomEnvelope& room, const Notice& notice) {
    return prefix(room, notice.element) + warningText(notice.warning);
}

} // namespace zorva::heatload
