// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wording/checkwording.h"

#include "core/engine/numtext.h"
#include "core/wording/fieldtext.h"

#include <QStringList>

#include <cmath>

namespace zorva {

namespace {

QString general(double value) {
    return numberText(value, -1);
}

QString rangeText(const TempRange& range) {
    return QStringLiteral("%1~%2 ℃").arg(general(range.low), general(range.high));
}

// The limit as written beside the value: a computed limit (the limit
// curve's) with the value's decimals, a typed one as general text.
QString limitNumber(const RuleCheck& check, double limit) {
    return numberText(limit, check.limitCurve ? shownDecimals(check) : -1);
}

} // namespace

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

QString ruleName(const RuleCheck& check) {
    if (check.limitCurve)
        return QStringLiteral("地面最高温度（EN 1264-2 极限曲线，q ≤ q_G）");
    return ruleName(check.rule);
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

QString ruleUnit(const RuleCheck& check) {
    return check.limitCurve ? QStringLiteral("W/m²") : ruleUnit(check.rule);
}

QString numberText(double value, int decimals) {
    if (!std::isfinite(value))
        return QStringLiteral("—");
    return toQString(decimals < 0 ? generalText(value) : patternText(value, decimals));
}

QString ruleValueText(const RuleCheck& check) {
    return numberText(check.value, shownDecimals(check));
}

QString ruleLimitText(const RuleCheck& check, bool loadEntered) {
    const QString unit = QStringLiteral(" ") + ruleUnit(check);
    if (check.rule == Rule::HeatOutput) {
        if (!loadEntered)
            return QStringLiteral("未输入热负荷");
        return QStringLiteral("≥ %1%2（> %3 为偏大）")
            .arg(general(check.limit), unit, general(check.highLimit));
    }
    if (check.limitCurve) {
        const QString floor = QStringLiteral("θ_F,max %1 ℃").arg(general(check.floorLimit));
        if (check.verdict == Verdict::NotChecked)
            return QStringLiteral("q ≤ q_G（%1）").arg(floor);
        return QStringLiteral("≤ q_G %1%2（%3）").arg(limitNumber(check, check.limit), unit, floor);
    }
    QString text;
    switch (ruleComparison(check.rule)) {
    case Comparison::AtLeast:
        text = QStringLiteral("≥ ") + general(check.limit) + unit;
        break;
    case Comparison::AtMost:
        text = QStringLiteral("≤ ") + general(check.limit) + unit;
        break;
    case Comparison::Within:
        text = QStringLiteral("%1 ~ %2%3（< %1 为偏小）")
                   .arg(general(check.lowLimit), general(check.limit), unit);
        break;
    }
    if (check.recommended)
        text += QStringLiteral("，") + recommendedText(check);
    return text;
}

QString ruleSource(const RuleCheck& check) {
    switch (check.rule) {
    case Rule::HeatOutput:
        return QStringLiteral("说明 第1条");
    case Rule::FloorTemp:
        return check.limitCurve ? QStringLiteral("EN 1264-2:2008 极限曲线")
                                : QStringLiteral("说明 第2条；JGJ 142-2012 表 3.1.3");
    case Rule::Velocity:
        return QStringLiteral("说明 第3条；JGJ 142-2004 第 3.5.6 条");
    case Rule::Resistance:
        return QStringLiteral("说明 第4条；特性 第4条");
    case Rule::SupplyTemp:
    case Rule::TempDiff:
        return QStringLiteral("GB 50736-2012 第 5.4.1 条");
    case Rule::LoopLength:
        return QStringLiteral("JGJ 142-2004 第 3.5.2 条");
    }
    return {};
}

QString recommendedText(const RuleCheck& check) {
    return check.recommended ? QStringLiteral("宜 ") + rangeText(*check.recommended) : QString();
}

QString adviceText(const RuleCheck& check) {
    // Advice beside a pass; a failure says enough by itself.
    if (check.verdict != Verdict::Pass || !check.recommended)
        return {};
    switch (adviceOf(check)) {
    case Advice::Below:
        return QStringLiteral("低于推荐范围 ") + rangeText(*check.recommended);
    case Advice::Above:
        return QStringLiteral("高于推荐范围 ") + rangeText(*check.recommended);
    case Advice::None:
    case Advice::Within:
        break;
    }
    return {};
}

QString verdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return QStringLiteral("合格");
    case Verdict::Fail:
        return QStringLiteral("不合格");
    case Verdict::High:
        return QStringLiteral("偏大");
    case Verdict::Low:
        return QStringLiteral("偏小");
    case Verdict::NotChecked:
        break;
    }
    return QStringLiteral("未校核");
}

QString verdictWithAdvice(const RuleCheck& check) {
    const QString advice = adviceText(check);
    const QString verdict = verdictText(check.verdict);
    return advice.isEmpty() ? verdict : verdict + QStringLiteral("（") + advice + u'）';
}

QString checkClause(const RuleCheck& check, bool loadEntered) {
    return QStringLiteral("%1 %2 %3（要求 %4）")
        .arg(ruleName(check), ruleValueText(check), ruleUnit(check),
             ruleLimitText(check, loadEntered));
}

QString verdictSummary(const std::array<RuleCheck, kRuleCount>& checks, bool loadEntered) {
    const Verdict worst = worstVerdict(checks);
    if (worst == Verdict::Pass || worst == Verdict::NotChecked)
        return verdictText(worst);
    // 不合格 first, then 偏大 and 偏小, each in the order of the rules.
    QStringList clauses;
    for (const bool failures : {true, false})
        for (const RuleCheck& c : checks)
            if ((c.verdict == Verdict::Fail) == failures && c.verdict != Verdict::Pass &&
                c.verdict != Verdict::NotChecked)
                clauses << verdictText(c.verdict) + QStringLiteral("：") +
                               checkClause(c, loadEntered);
    return clauses.join(QStringLiteral("；"));
}

QString categoryName(RoomCategory category) {
    switch (category) {
    case RoomCategory::LongStay:
        return QStringLiteral("人员经常停留");
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

QString limitsMigrationText() {
    return QStringLiteral(
        "校核限值已按 JGJ 142-2012《辐射供暖供冷技术规程》和 GB 50736-2012 更新："
        "人员经常停留的地面平均温度上限由 28 ℃ 改为 29 ℃（宜 25~27 ℃），人员短期停留宜 "
        "28~30 ℃，无人停留宜 35~40 ℃；居住区、浴室、边缘区的 29 / 33 / 35 ℃ 是 EN 1264 的"
        "地面最高温度，改按 EN 1264-2 极限曲线校核；供回水温差增加下限 5 ℃（低于为偏小）；"
        "供水温度宜 35~45 ℃。推荐范围只作提示，不判为不合格。您改过的限值保持不变。");
}

QString categoryLimitText(RoomCategory category) {
    const QString limit = general(floorTempLimit(category)) + QStringLiteral(" ℃");
    if (const std::optional<TempRange> range = recommendedFloorTemp(category))
        return QStringLiteral("地面平均温度 ≤ %1，宜 %2，JGJ 142-2012 表 3.1.3")
            .arg(limit, rangeText(*range));
    return QStringLiteral("地面最高温度 %1，EN 1264-2 极限曲线").arg(limit);
}

QString categoryText(RoomCategory category) {
    const QString limit = general(floorTempLimit(category)) + QStringLiteral(" ℃");
    if (const std::optional<TempRange> range = recommendedFloorTemp(category))
        return QStringLiteral("%1 ≤ %2（宜 %3）JGJ 142-2012")
            .arg(categoryName(category), limit, rangeText(*range));
    return QStringLiteral("%1 最高 %2 EN 1264-2").arg(categoryName(category), limit);
}

} // namespace zorva
