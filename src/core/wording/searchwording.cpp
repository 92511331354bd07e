// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wording/searchwording.h"

#include "core/wording/checkwording.h"

#include <algorithm>

namespace zorva {

namespace {

QString general(double value) {
    return numberText(value, -1);
}

QString floorLimitText(const CheckLimits& limits) {
    if (limitCurveCategory(limits.category))
        return QStringLiteral("%1 地面最高温度 %2 ℃（EN 1264-2 极限曲线）")
            .arg(categoryName(limits.category), general(floorTempLimit(limits.category)));
    return QStringLiteral("%1 地面平均温度 ≤ %2 ℃")
        .arg(categoryName(limits.category), general(floorTempLimit(limits.category)));
}

} // namespace

QString searchLimitsText(const CheckLimits& limits) {
    return QStringLiteral("温差 %1~%2 ℃，流速 ≥ %3 m/s，%4，供水温度 ≤ %5 ℃")
        .arg(general(limits.minTempDiff), general(limits.maxTempDiff), general(limits.minVelocity),
             floorLimitText(limits), general(limits.maxSupplyTemp));
}

QString diffAnswerText(const DiffSearch& s, const CheckLimits& limits, double supplyTemp) {
    const QString lowest = general(std::max(limits.minTempDiff, kMinTempDiff));
    if (s.result == DiffSearch::Result::Found) {
        QString why;
        switch (s.bound) {
        case SearchBound::MaxTempDiff:
            why = QStringLiteral("最大温差，散热量仍有富余");
            break;
        case SearchBound::RoomTemp:
            why = QStringLiteral("回水温度须高于室温");
            break;
        case SearchBound::Velocity:
            why = QStringLiteral("流速须 ≥ %1 m/s").arg(general(limits.minVelocity));
            break;
        default:
            why = QStringLiteral("由热负荷决定");
            break;
        }
        return QStringLiteral("%1 ℃（%2）").arg(general(s.tempDiff), why);
    }
    switch (s.bound) {
    case SearchBound::SupplyLimit:
        return QStringLiteral("供水温度 %1 ℃ 高于限值 %2 ℃")
            .arg(general(supplyTemp), general(limits.maxSupplyTemp));
    case SearchBound::RoomTemp:
    case SearchBound::MinTempDiff:
        return QStringLiteral("供水温度与室温之差小于最小温差 %1 ℃").arg(lowest);
    case SearchBound::Velocity:
        return QStringLiteral("温差为最小的 %1 ℃ 时流速仍低于 %2 m/s")
            .arg(lowest, general(limits.minVelocity));
    case SearchBound::FloorLimit:
        return QStringLiteral("达到热负荷时地面温度超过限值（%1）").arg(floorLimitText(limits));
    default:
        break;
    }
    return QStringLiteral("温差为最小的 %1 ℃ 时也达不到热负荷").arg(lowest);
}

QString supplyNeedText(const SupplyNeed& need, const CheckLimits& limits, double tempDiff) {
    const QString supply = numberText(need.supplyTemp, 1);
    switch (need.result == SupplyNeed::Result::Found ? need.breaks : need.bound) {
    case SearchBound::MinTempDiff:
    case SearchBound::MaxTempDiff:
        return QStringLiteral("达到热负荷（%1 ℃），但供回水温差 %2 ℃ 不在 %3~%4 ℃ 之内")
            .arg(supply, general(tempDiff), general(limits.minTempDiff),
                 general(limits.maxTempDiff));
    case SearchBound::Velocity:
        return QStringLiteral("达到热负荷（%1 ℃），但流速低于 %2 m/s")
            .arg(supply, general(limits.minVelocity));
    case SearchBound::FloorLimit:
        return QStringLiteral("达到热负荷需供水 %1 ℃，这时地面温度超过限值（%2）")
            .arg(supply, floorLimitText(limits));
    case SearchBound::SupplyLimit:
        return QStringLiteral("供水温度限值 %1 ℃ 以下达不到热负荷")
            .arg(general(std::min(limits.maxSupplyTemp, kMaxSupplyTemp)));
    default:
        break;
    }
    return {};
}

} // namespace zorva
