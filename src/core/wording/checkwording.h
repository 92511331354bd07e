#pragma once
// The words and number texts of the design check: rule names, units,
// limits, verdicts and the room categories. Numbers are written as the
// result fields write them.

#include "core/engine/designcheck.h"

#include <QString>

namespace zorva {

QString ruleName(Rule rule);
QString ruleUnit(Rule rule);

// The value in the format of the result field that shows it ("92.6",
// "0.26"), or as general decimal text for the rules on inputs ("50").
QString ruleValueText(Rule rule, double value);

// "≥ 0.25 m/s", "≤ 30 kPa", "> 0 且 ≤ 10 ℃"; the heat output adds its
// 偏大 threshold, and says when no load is entered.
QString ruleLimitText(const RuleCheck& check, bool loadEntered);

QString verdictText(Verdict verdict);

// "人员长期停留", and with its limit and source for the category list.
QString categoryName(RoomCategory category);
QString categoryText(RoomCategory category);

// A number with `decimals` decimals (0, 1 or 2) or general decimal text
// (-1), as the engine writes field texts; "—" when it is not finite.
QString numberText(double value, int decimals);

} // namespace zorva
