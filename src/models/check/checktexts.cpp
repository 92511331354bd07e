// SPDX-License-Identifier: GPL-3.0-or-later
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

QString ruleBasisDetail(const RuleCheck& check) {
    switch (check.rule) {
    case Rule::HeatOutput:
        return infoLine(InfoText::Guidance, 1);
    case Rule::FloorTemp:
        if (check.limitCurve)
            return QStringLiteral("EN 1264-2:2008 地面辐射供暖的散热量计算：地面最高温度 θ_F,max "
                                  "出现在盘管正上方，其极限曲线给出该温度下的最大散热量 q_G。");
        return infoLine(InfoText::Guidance, 2) +
               QStringLiteral("\nJGJ 142-2012《辐射供暖供冷技术规程》表 3.1.3");
    case Rule::Velocity:
        return infoLine(InfoText::Guidance, 3) +
               QStringLiteral("\nJGJ 142-2004《地面辐射供暖技术规程》第 3.5.6 条");
    case Rule::Resistance:
        return infoLine(InfoText::Guidance, 4) + QStringLiteral("\n") +
               infoLine(InfoText::Characteristics, 4);
    case Rule::SupplyTemp:
    case Rule::TempDiff:
        return QStringLiteral("GB 50736-2012《民用建筑供暖通风与空气调节设计规范》第 5.4.1 条");
    case Rule::LoopLength:
        break;
    }
    return QStringLiteral("JGJ 142-2004《地面辐射供暖技术规程》第 3.5.2 条");
}

} // namespace zorva::models
