// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the design check window beyond the check's shared wording
// (checkwording.h: rule names, units, limits and their sources, verdicts,
// room categories; advicewording.h: what to change and the EN 1264-2
// cross-check): the detail behind a rule for its tooltip and the cross-check's
// number texts.

#include "core/engine/designcheck.h"
#include "core/engine/en1264.h"
#include "core/wording/advicewording.h"
#include "core/wording/checkwording.h"

#include <QString>
#include <QStringList>

namespace zorva::models {

// The guidance or characteristics line behind the rule, or the full title
// of the standard, for a tooltip.
QString ruleBasisDetail(const RuleCheck& check);

// A number with a fixed count of decimals for the cross-check's quantities,
// some of which are far below one.
QString fixedText(double value, int decimals);
// "+10.3", "-1.2", with the sign always written.
QString signedText(double value, int decimals);

} // namespace zorva::models
