// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/loopcheck.h"

namespace zorva {

std::array<RuleCheck, kRuleCount> checkLoop(const ManifoldInput& manifold, const LoopInput& loop,
                                            const LoopResult& result, const CheckLimits& limits) {
    CheckLimits own = limits;
    own.loadPerArea.reset();
    if (loop.loadW && result.converged() && result.area > 0)
        own.loadPerArea = *loop.loadW / result.area;
    if (!limitCurveCategory(limits.category))
        return checkDesign(result.run, own);
    try {
        const En1264Result en = en1264TypeA(
            en1264Inputs(loopFields(manifold, loop, manifold.supplyTemp, result.tempDiff),
                         floorTempLimit(limits.category)));
        return checkDesign(result.run, own, &en);
    } catch (const ArithmeticError&) {
        return checkDesign(result.run, own);
    }
}

} // namespace zorva
