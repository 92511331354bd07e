#pragma once
// The texts of the design check window beyond the check's shared wording
// (checkwording.h: rule names, units, limits, verdicts, room categories):
// where each rule comes from, the cross-check's number texts, and why the
// EN 1264-2 cross-check gives no numbers or flags them.

#include "core/engine/designcheck.h"
#include "core/engine/en1264.h"
#include "core/wording/checkwording.h"

#include <QString>
#include <QStringList>

namespace zorva::models {

// Where the rule comes from: the guidance line, JGJ 142 or EN 1264.
QString ruleBasis(Rule rule, RoomCategory category);
// The guidance or characteristics line behind the rule, for a tooltip.
QString ruleBasisDetail(Rule rule);

// A number with a fixed count of decimals for the cross-check's quantities,
// some of which are far below one.
QString fixedText(double value, int decimals);
// "+10.3", "-1.2", with the sign always written.
QString signedText(double value, int decimals);

// Why EN 1264-2 gives no numbers for this construction.
QString enApplicabilityText(En1264Applicability applicability);
// One line for each En1264Flag set in `flags`, in the order of the bits.
QStringList enFlagTexts(unsigned flags);

} // namespace zorva::models
