#pragma once
// The words and number texts of the design check window: rule names, units,
// limits, verdicts, the room categories, and why the EN 1264-2 cross-check
// gives no numbers or flags them. Numbers are written as the result fields
// write them.

#include "designcheck.h"
#include "en1264.h"

#include <QString>
#include <QStringList>

namespace zorva::ui {

QString ruleName(Rule rule);
QString ruleUnit(Rule rule);

// The value in the format of the result field that shows it ("92.6",
// "0.26"), or as general decimal text for the rules on inputs ("50").
QString ruleValueText(Rule rule, double value);

// "≥ 0.25 m/s", "≤ 30 kPa", "> 0 且 ≤ 10 ℃"; the heat output adds its
// 偏大 threshold, and says when no load is entered.
QString ruleLimitText(const RuleCheck& check, bool loadEntered);

// Where the rule comes from: the guidance line, JGJ 142 or EN 1264.
QString ruleBasis(Rule rule, RoomCategory category);
// The guidance or characteristics line behind the rule, for a tooltip.
QString ruleBasisDetail(Rule rule);

QString verdictText(Verdict verdict);

// "人员长期停留", and with its limit and source for the category list.
QString categoryName(RoomCategory category);
QString categoryText(RoomCategory category);

// A number with `decimals` decimals (0, 1 or 2) or general decimal text
// (-1), as the engine writes field texts.
QString numberText(double value, int decimals);
// A number with a fixed count of decimals for the cross-check's quantities,
// some of which are far below one.
QString fixedText(double value, int decimals);
// "+10.3", "-1.2", with the sign always written.
QString signedText(double value, int decimals);

// Why EN 1264-2 gives no numbers for this construction.
QString enApplicabilityText(En1264Applicability applicability);
// One line for each En1264Flag set in `flags`, in the order of the bits.
QStringList enFlagTexts(unsigned flags);

} // namespace zorva::ui
