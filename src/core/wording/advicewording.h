// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of what to change when a rule fails (调整建议) and of the
// EN 1264-2 cross-check, written the same way by the design check window,
// the report and zorva-calc.

#include "core/engine/designreview.h"

#include <QString>
#include <QStringList>

namespace zorva {

// The most heat the floor may give in the category, with its basis: the
// mean temperature's upper limit (JGJ 142-2012) or the EN 1264-2 limit curve.
QString maxOutputAdvice(const DesignReview& review, const CheckLimits& limits);
// The lowest supply temperature at which the loop gives the load.
QString supplyAdvice(const DesignReview& review, const CheckLimits& limits);
// The part of the load other heating must give.
QString shortfallAdvice(const DesignReview& review, const CheckLimits& limits);

// Why EN 1264-2 gives no numbers for this construction.
QString enApplicabilityText(En1264Applicability applicability);
// One line for each En1264Flag set in `flags`, in the order of the bits.
QStringList enFlagTexts(unsigned flags);
// "合格：q ≤ q_G", "超出极限曲线：q > q_G", "超出：q > q_G,max = 100.0 W/m²".
QString enLimitVerdictText(const En1264Result& en);
// The decimals that show q, q_G and q_G,max of the cross-check so that the
// verdict reads from them.
int enFluxDecimals(const En1264Result& en);

// The cross-check as lines of plain text (zorva-calc): q, the mean floor
// temperature, q_G and its verdict beside this program's numbers, or why the
// method does not apply.
QStringList crossCheckLines(const DesignReview& review);

} // namespace zorva
