// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wording/advicewording.h"

#include "core/wording/checkwording.h"

#include <algorithm>
#include <cmath>

namespace zorva {

namespace {

QString general(double value) {
    return numberText(value, -1);
}

QString signedText(double value, int decimals) {
    const QString text = numberText(value, decimals);
    return value >= 0 && std::isfinite(value) ? QStringLiteral("+") + text : text;
}

// The decimals of the floor's largest output: one, or as many as tell it
// apart from the load beside it.
int maxOutputDecimals(const DesignReview& review, const CheckLimits& limits) {
    return limits.loadPerArea ? separatingDecimals(review.maxOutput, *limits.loadPerArea, 1) : 1;
}

} // namespace

QString maxOutputAdvice(const DesignReview& review, const CheckLimits& limits) {
    const QString floorLimit = general(review.floorLimit);
    const QString category = categoryName(limits.category);
    const QString output = numberText(review.maxOutput, maxOutputDecimals(review, limits));
    switch (review.maxOutputBasis) {
    case FloorOutputLimit::Basis::MeanTemp: {
        const QString room = general(review.run.roomTemp);
        if (!(review.maxOutput > 0))
            return QStringLiteral("0 W/m²：地面温度限值 %1 ℃ 不高于室温 %2 ℃")
                .arg(floorLimit, room);
        return QStringLiteral(
                   "%1 W/m²（%2：地面平均温度 ≤ %3 ℃，室温 %4 ℃，JGJ 142-2012 表 3.1.3）")
            .arg(output, category, floorLimit, room);
    }
    case FloorOutputLimit::Basis::LimitCurve: {
        const bool byMax = review.en.limitFluxMax < review.en.limitFlux;
        return QStringLiteral("%1 W/m²（%2：EN 1264-2 极限曲线 %3，地面最高温度 θ_F,max %4 ℃）")
            .arg(output, category, byMax ? QStringLiteral("q_G,max") : QStringLiteral("q_G"),
                 floorLimit);
    }
    case FloorOutputLimit::Basis::NotAvailable:
        break;
    }
    return QStringLiteral("无法给出：%1 按 EN 1264-2 极限曲线校核，而该方法不适用于此构造")
        .arg(category);
}

QString supplyAdvice(const DesignReview& review, const CheckLimits& limits) {
    if (!limits.loadPerArea || !review.supply)
        return QStringLiteral("未输入热负荷");
    const double load = *limits.loadPerArea;
    const SupplySearch& s = *review.supply;
    switch (s.result) {
    case SupplySearch::Result::Found: {
        QString text = QStringLiteral("%1 ℃（回水 %2 ℃，保持供回水温差 %3 ℃，散热量 %4 W/m² ≥ "
                                      "热负荷 %5 W/m²）")
                           .arg(numberText(s.supplyTemp, 1), numberText(s.returnTemp, 1),
                                general(s.supplyTemp - s.returnTemp),
                                numberText(s.heatOutput, separatingDecimals(s.heatOutput, load, 1)),
                                general(load));
        if (s.supplyTemp > limits.maxSupplyTemp)
            text += QStringLiteral("；高于供水温度限值 %1 ℃（GB 50736-2012 第 5.4.1 条）")
                        .arg(general(limits.maxSupplyTemp));
        else if (s.supplyTemp > kRecommendedSupplyTemp.high ||
                 s.supplyTemp < kRecommendedSupplyTemp.low)
            text +=
                QStringLiteral("；%1推荐范围 %2~%3 ℃")
                    .arg(s.supplyTemp > kRecommendedSupplyTemp.high ? QStringLiteral("高于")
                                                                    : QStringLiteral("低于"),
                         general(kRecommendedSupplyTemp.low), general(kRecommendedSupplyTemp.high));
        return text;
    }
    case SupplySearch::Result::NotReachable:
        return QStringLiteral("%1 ℃ 以下无法达到热负荷 %2 W/m²")
            .arg(general(kMaxSearchSupplyTemp), general(load));
    case SupplySearch::Result::NoRange:
        break;
    }
    return QStringLiteral("无法搜索：供回水温差须大于 0，且室温 + 温差 + 0.1 ℃ 不得高于 %1 ℃")
        .arg(general(kMaxSearchSupplyTemp));
}

QString shortfallAdvice(const DesignReview& review, const CheckLimits& limits) {
    if (!limits.loadPerArea)
        return QStringLiteral("未输入热负荷");
    const QString load = general(*limits.loadPerArea);
    if (review.maxOutputBasis == FloorOutputLimit::Basis::NotAvailable)
        return QStringLiteral("无法给出：地面温度限值下的最大散热量未知");
    if (review.shortfall)
        return QStringLiteral("%1 W/m²：热负荷 %2 W/m² 高于地面温度限值下的最大散热量，"
                              "耗热量的不足部分由其它采暖方式补充")
            .arg(numberText(*review.shortfall, separatingDecimals(*review.shortfall, 0, 1)), load);
    return QStringLiteral("无需：热负荷 %1 W/m² 不高于地面温度限值下的最大散热量").arg(load);
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

int enFluxDecimals(const En1264Result& en) {
    // q against q_G and against q_G,max, both computed and so both rounded.
    RuleCheck check = limitCurveCheck(en);
    int decimals = 1;
    for (const double limit : {en.limitFlux, en.limitFluxMax}) {
        check.limit = limit;
        check.verdict = judge(check, check.value);
        const int d = shownDecimals(check);
        if (d < 0)
            return -1;
        decimals = std::max(decimals, d);
    }
    return decimals;
}

QString enLimitVerdictText(const En1264Result& en) {
    if (en.withinLimit)
        return QStringLiteral("合格：q ≤ q_G");
    if (en.heatFlux > en.limitFlux)
        return QStringLiteral("超出极限曲线：q > q_G");
    return QStringLiteral("超出：q > q_G,max = %1 W/m²")
        .arg(numberText(en.limitFluxMax, enFluxDecimals(en)));
}

QStringList crossCheckLines(const DesignReview& review) {
    const En1264Result& en = review.en;
    if (!en.applicable())
        return {enApplicabilityText(en.applicability)};
    const int d = enFluxDecimals(en);
    QStringList lines;
    QString flux = QStringLiteral("单位面积散热量 q：%1 W/m²").arg(numberText(en.heatFlux, d));
    if (review.difference)
        flux += QStringLiteral("（本程序方法 %1 W/m²，相差 %2 W/m²，%3 %）")
                    .arg(numberText(review.run.heatOutput, 1),
                         signedText(review.difference->heatFlux, 1),
                         signedText(review.difference->percent, 1));
    lines << flux;
    QString floor =
        QStringLiteral("地面平均温度：%1 ℃（基本特性曲线）").arg(numberText(en.meanFloorTemp, 1));
    if (review.difference)
        floor += QStringLiteral("，本程序方法 %1 ℃").arg(numberText(review.run.surfaceTemp, 1));
    lines << floor;
    lines << QStringLiteral("极限曲线 q_G（θ_F,max %1 ℃）：%2 W/m²，ΔθH,G %3 K")
                 .arg(general(en.floorLimit), numberText(en.limitFlux, d),
                      numberText(en.limitExcess, 2));
    lines << QStringLiteral("校核 q ≤ q_G：") + enLimitVerdictText(en);
    const QStringList flags = enFlagTexts(en.flags);
    if (!flags.isEmpty())
        lines << QStringLiteral("以下 EN 1264-2 数值超出其适用范围，仅供参考：") +
                     flags.join(QString());
    return lines;
}

} // namespace zorva
