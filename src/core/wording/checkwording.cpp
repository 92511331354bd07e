#include "core/wording/checkwording.h"

#include "core/engine/numtext.h"
#include "core/wording/fieldtext.h"

#include <cmath>

namespace zorva {

QString ruleName(Rule rule) {
    switch (rule) {
    case Rule::HeatOutput:
        return QStringLiteral("单位面积散热量");
    case Rule::FloorTemp:
        return QStringLiteral("地面平均温度");
    case Rule::Velocity:
        return QStringLiteral("盘管水流速");
    case Rule::Resistance:
        return QStringLiteral("环路水阻力");
    case Rule::SupplyTemp:
        return QStringLiteral("供水温度");
    case Rule::TempDiff:
        return QStringLiteral("供回水温差");
    case Rule::LoopLength:
        return QStringLiteral("单管长度");
    }
    return {};
}

QString ruleUnit(Rule rule) {
    switch (rule) {
    case Rule::HeatOutput:
        return QStringLiteral("W/m²");
    case Rule::Velocity:
        return QStringLiteral("m/s");
    case Rule::Resistance:
        return QStringLiteral("kPa");
    case Rule::LoopLength:
        return QStringLiteral("m");
    case Rule::FloorTemp:
    case Rule::SupplyTemp:
    case Rule::TempDiff:
        break;
    }
    return QStringLiteral("℃");
}

QString numberText(double value, int decimals) {
    if (!std::isfinite(value))
        return QStringLiteral("—");
    return toQString(decimals < 0 ? generalText(value) : patternText(value, decimals));
}

QString ruleValueText(Rule rule, double value) {
    return numberText(value, ruleDecimals(rule));
}

QString ruleLimitText(const RuleCheck& check, bool loadEntered) {
    const QString unit = QStringLiteral(" ") + ruleUnit(check.rule);
    const QString limit = numberText(check.limit, -1) + unit;
    if (check.rule == Rule::HeatOutput) {
        if (!loadEntered)
            return QStringLiteral("未输入热负荷");
        return QStringLiteral("≥ %1（> %2 为偏大）").arg(limit, numberText(check.highLimit, -1));
    }
    switch (ruleComparison(check.rule)) {
    case Comparison::AtLeast:
        return QStringLiteral("≥ ") + limit;
    case Comparison::AtMost:
        return QStringLiteral("≤ ") + limit;
    case Comparison::AboveZeroAtMost:
        return QStringLiteral("> 0 且 ≤ ") + limit;
    }
    return limit;
}

QString verdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return QStringLiteral("合格");
    case Verdict::Fail:
        return QStringLiteral("不合格");
    case Verdict::High:
        return QStringLiteral("偏大");
    case Verdict::NotChecked:
        break;
    }
    return QStringLiteral("未校核");
}

QString categoryName(RoomCategory category) {
    switch (category) {
    case RoomCategory::LongStay:
        return QStringLiteral("人员长期停留");
    case RoomCategory::ShortStay:
        return QStringLiteral("人员短期停留");
    case RoomCategory::Unoccupied:
        return QStringLiteral("无人停留");
    case RoomCategory::Residential:
        return QStringLiteral("居住区");
    case RoomCategory::Bathroom:
        return QStringLiteral("浴室");
    case RoomCategory::Peripheral:
        return QStringLiteral("边缘区");
    }
    return {};
}

QString categoryText(RoomCategory category) {
    const QString limit = numberText(floorTempLimit(category), -1) + QStringLiteral(" ℃");
    switch (category) {
    case RoomCategory::LongStay:
        return QStringLiteral("%1 %2（宜 24–26 ℃）JGJ 142").arg(categoryName(category), limit);
    case RoomCategory::ShortStay:
    case RoomCategory::Unoccupied:
        return QStringLiteral("%1 %2 JGJ 142").arg(categoryName(category), limit);
    case RoomCategory::Residential:
    case RoomCategory::Bathroom:
    case RoomCategory::Peripheral:
        break;
    }
    return QStringLiteral("%1 %2 EN 1264").arg(categoryName(category), limit);
}

} // namespace zorva
