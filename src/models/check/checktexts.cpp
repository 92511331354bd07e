#include "models/check/checktexts.h"

#include "core/wording/infotexts.h"

#include <cmath>

namespace zorva::models {

QString fixedText(double value, int decimals) {
    if (!std::isfinite(value))
        return QStringLiteral("—");
    return QString::number(value, 'f', decimals);
}

QString signedText(double value, int decimals) {
    const QString text = fixedText(value, decimals);
    return value >= 0 && std::isfinite(value) ? QStringLiteral("+") + text : text;
}

QString ruleBasis(Rule rule, RoomCategory category) {
    switch (rule) {
    case Rule::HeatOutput:
        return QStringLiteral("说明 第1条");
    case Rule::FloorTemp: {
        const bool european = category == RoomCategory::Residential ||
                              category == RoomCategory::Bathroom ||
                              category == RoomCategory::Peripheral;
        return european ? QStringLiteral("说明 第2条；EN 1264")
                        : QStringLiteral("说明 第2条；JGJ 142");
    }
    case Rule::Velocity:
        return QStringLiteral("说明 第3条");
    case Rule::Resistance:
        return QStringLiteral("说明 第4条；特性 第4条");
    case Rule::SupplyTemp:
    case Rule::TempDiff:
    case Rule::LoopLength:
        break;
    }
    return QStringLiteral("JGJ 142");
}

QString ruleBasisDetail(Rule rule) {
    switch (rule) {
    case Rule::HeatOutput:
        return infoLine(InfoText::Guidance, 1);
    case Rule::FloorTemp:
        return infoLine(InfoText::Guidance, 2);
    case Rule::Velocity:
        return infoLine(InfoText::Guidance, 3);
    case Rule::Resistance:
        return infoLine(InfoText::Guidance, 4) + QStringLiteral("\n") +
               infoLine(InfoText::Characteristics, 4);
    case Rule::SupplyTemp:
    case Rule::TempDiff:
    case Rule::LoopLength:
        break;
    }
    return QStringLiteral("JGJ 142《辐射供暖供冷技术规程》");
}

QString enApplicabilityText(En1264Applicability applicability) {
    switch (applicability) {
    case En1264Applicability::Applicable:
        return {};
    case En1264Applicability::NoScreedAbovePipe:
        return QStringLiteral("EN 1264-2 A 型不适用：管顶以上没有找平层（s_u ≤ 0），"
                              "该方法只适用于埋在找平层内的盘管。");
    case En1264Applicability::TemperatureOrder:
        return QStringLiteral("EN 1264-2 不适用：要求 供水温度 ≥ 回水温度 > 室温，"
                              "当前温度不满足。");
    case En1264Applicability::InvalidConstruction:
        return QStringLiteral("EN 1264-2 无法计算：构造数据无效（管间距、管外径、导热系数须为正数，"
                              "管壁须薄于管半径，面层热阻不得为负）。");
    case En1264Applicability::OutsideMethodNumbers:
        return QStringLiteral("EN 1264-2 无法计算：管外径须大于参考管的两倍壁厚（4 mm），"
                              "且特性系数 K_H 须为正数。");
    }
    return {};
}

QStringList enFlagTexts(unsigned flags) {
    QStringList lines;
    if (flags & SpacingBelowTables)
        lines << QStringLiteral("管间距小于 50 mm：表值按 50 mm 取。");
    if (flags & SpacingWide)
        lines << QStringLiteral("管间距大于 375 mm：按 375 mm 计算后按间距折算。");
    if (flags & DiameterOutsideRange)
        lines << QStringLiteral("管外径不在 8–30 mm 之间。");
    if (flags & ScreedThin)
        lines << QStringLiteral("管顶以上找平层薄于 10 mm。");
    if (flags & CoveringOutsideTables)
        lines << QStringLiteral("面层热阻 R_λ,B 大于 0.15 m²·K/W：表值按 0.15 取。");
    if (flags & ScreedRatioBelowTables)
        lines << QStringLiteral("s_u/λ_E 小于 0.010 m²·K/W：极限曲线表值按 0.010 取。");
    return lines;
}

} // namespace zorva::models
