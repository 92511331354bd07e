// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words and number texts of the design check: rule names, units,
// limits with the standard and edition they come from, verdicts, advice and
// the room categories. A value is written with the digits its verdict needs
// (docs/checks.md, "Verdicts and the numbers beside them").

#include "core/engine/designcheck.h"

#include <QString>

#include <array>

namespace zorva {

QString ruleName(Rule rule);
// The name of the check's rule: the floor of an EN category reads as the
// limit curve it is judged by.
QString ruleName(const RuleCheck& check);
QString ruleUnit(Rule rule);
QString ruleUnit(const RuleCheck& check);

// The value with the decimals of shownDecimals: the result field's format
// ("92.6", "0.26"), more where the value lies at a limit ("0.2498"), or
// general decimal text for the rules on inputs ("50").
QString ruleValueText(const RuleCheck& check);

// "≥ 0.25 m/s", "≤ 29 ℃", "5 ~ 10 ℃"; the heat output adds its 偏大
// threshold, the difference its 偏小 one; the limit curve names q_G (or
// q_G,max) and θ_F,max. "未输入热负荷" for the heat output without a load.
QString ruleLimitText(const RuleCheck& check, bool loadEntered);

// Where the limit comes from, with the edition: "JGJ 142-2012 表 3.1.3",
// "EN 1264-2 极限曲线", "说明 第3条；JGJ 142-2004 第 3.5.6 条", …
QString ruleSource(const RuleCheck& check);

// The recommended range when the check has one: "宜 25~27 ℃".
QString recommendedText(const RuleCheck& check);
// Where the value lies against it, as advice: "低于推荐范围 25~27 ℃",
// "高于推荐范围 35~45 ℃"; empty within it or without one.
QString adviceText(const RuleCheck& check);

QString verdictText(Verdict verdict);
// The verdict with the advice after it: "合格（低于推荐范围 25~27 ℃）".
QString verdictWithAdvice(const RuleCheck& check);

// "盘管水流速 0.2498 m/s（要求 ≥ 0.25 m/s）": one rule in a line of text.
QString checkClause(const RuleCheck& check, bool loadEntered);
// "合格" when the worst verdict of the checks is 合格, "未校核" when no rule
// was checked; otherwise each rule that is not 合格, 不合格 first:
// "不合格：盘管水流速 0.2498 m/s（要求 ≥ 0.25 m/s）；偏大：…".
QString verdictSummary(const std::array<RuleCheck, kRuleCount>& checks, bool loadEntered);

// "人员经常停留"; its limits with their source ("地面平均温度 ≤ 29 ℃，宜
// 25~27 ℃，JGJ 142-2012 表 3.1.3"); both in short, for the category list
// ("人员经常停留 ≤ 29 ℃（宜 25~27 ℃）JGJ 142-2012").
QString categoryName(RoomCategory category);
QString categoryLimitText(RoomCategory category);
QString categoryText(RoomCategory category);

// What changed when the stored limits moved to the JGJ 142-2012 /
// GB 50736-2012 defaults, said once to the user.
QString limitsMigrationText();

// A number with `decimals` decimals or general decimal text (-1), as the
// engine writes field texts; "—" when it is not finite.
QString numberText(double value, int decimals);

} // namespace zorva
