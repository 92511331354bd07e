// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/method/methodreview.h"

#include "core/engine/manifold.h"

namespace zorva::method {

LoopSetup setupFromFields(const FieldRecord& fields, const CheckLimits& limits) {
    LoopSetup setup = loopSetup(manifoldFromFields(fields), loopFromFields(fields));
    setup.category = limits.category;
    return setup;
}

std::optional<MethodLoopResult> reviewByMethod(DesignReview& review, const FieldRecord& fields,
                                               const CheckLimits& limits, Method method) {
    if (method == Method::Program)
        return std::nullopt;
    const MethodLoopResult loop = loopByMethod(method, setupFromFields(fields, limits));
    for (RuleCheck& c : review.checks) {
        double value = 0;
        switch (c.rule) {
        case Rule::HeatOutput:
            value = loop.heatOutput;
            break;
        case Rule::FloorTemp:
            // An EN category is judged by the limit curve already.
            if (c.limitCurve)
                continue;
            value = loop.floorTempMean;
            break;
        case Rule::Velocity:
            value = loop.velocity;
            break;
        case Rule::Resistance:
            value = loop.pressureDrop;
            break;
        default:
            continue;
        }
        c.value = value;
        if (!loop.computed() || (c.rule == Rule::HeatOutput && !limits.loadPerArea))
            c.verdict = Verdict::NotChecked;
        else
            c.verdict = judge(c, value);
    }
    review.overall = worstVerdict(review.checks);
    return loop;
}

} // namespace zorva::method
